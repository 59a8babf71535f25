#pragma once
// INI file in the desktop's private-profile form: cp1252 text, CR LF line ends,
// "[Section]" headers and "Key=Value" lines. Sections and keys are found
// case-insensitively; keys keep the spelling they were first written with.
// Lines we do not understand (comments, blanks) are kept in order.
// Every write reaches the file at once, through a temp file and rename.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace plat {

class IniFile {
public:
    explicit IniFile(std::string path);

    const std::string& path() const { return m_path; }

    // Value of the key, or def when the section or key is absent.
    std::string readString(const std::string& section, const std::string& key, const std::string& def) const;
    bool hasKey(const std::string& section, const std::string& key) const;
    // Decimal integer value; def when absent or not a whole decimal number.
    long readInteger(const std::string& section, const std::string& key, long def) const;

    // Sets the value and rewrites the file. Returns false when the file could
    // not be written (the in-memory value is kept).
    bool writeString(const std::string& section, const std::string& key, const std::string& value);
    bool writeInteger(const std::string& section, const std::string& key, long value);

    // Keys of a section in file order.
    std::vector<std::string> keys(const std::string& section) const;

    // Re-reads the file from disk.
    void reload();

private:
    bool flush() const;
    int findSection(const std::string& section) const;          // header line index or -1
    int findKey(int sectionLine, const std::string& key) const; // line index or -1
    int sectionEnd(int sectionLine) const;
    void index();

    std::string m_path;
    std::vector<std::string> m_lines;
    // First header line of each section and first line of each key within
    // a section block, by lower-case name (key: "<header line>\n<key>").
    std::unordered_map<std::string, int> m_sections, m_keys;
};

// ASCII case-insensitive equality, as the profile services compare names.
bool iequals(std::string_view a, std::string_view b);

} // namespace plat
