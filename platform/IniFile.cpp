#include "platform/IniFile.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>
#include <unordered_map>

#include "platform/TempFiles.h"

namespace plat {
namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Views into the line: the lookups below run for every key of every read.
std::string_view trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

// "[name]" -> name, or false when the line is no section header.
bool sectionName(std::string_view line, std::string_view& name) {
    std::string_view t = trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    size_t close = t.find(']');
    if (close == std::string_view::npos) return false;
    name = trim(t.substr(1, close - 1));
    return true;
}

bool keyOf(std::string_view line, std::string_view& key, std::string_view& value) {
    std::string_view t = trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#' || t[0] == '[') return false;
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) return false;
    key = trim(t.substr(0, eq));
    value = trim(t.substr(eq + 1));
    return !key.empty();
}

} // namespace

bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

IniFile::IniFile(std::string path) : m_path(std::move(path)) { reload(); }

void IniFile::reload() {
    m_lines.clear();
    std::string all;
    const int fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    char buf[65536];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) != 0;) {
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        all.append(buf, size_t(n));
    }
    close(fd);
    size_t pos = 0;
    while (pos < all.size()) {
        size_t nl = all.find('\n', pos);
        std::string line = all.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        m_lines.push_back(line);
        if (nl == std::string::npos) break;
        pos = nl + 1;
    }
    index();
}

namespace {
std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = lowerAscii(c);
    return out;
}
std::string keyName(int sectionLine, std::string_view key) { return std::to_string(sectionLine) + '\n' + lowered(key); }
} // namespace

// Every lookup goes through these maps, so reading all settings stays linear
// in the file's length however many lines a (damaged) file holds.
void IniFile::index() {
    m_sections.clear();
    m_keys.clear();
    int current = -1;
    std::string_view name, k, v;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (sectionName(m_lines[i], name)) {
            current = int(i);
            m_sections.emplace(lowered(name), current);
        } else if (current >= 0 && keyOf(m_lines[i], k, v)) {
            m_keys.emplace(keyName(current, k), int(i));
        }
    }
}

int IniFile::findSection(const std::string& section) const {
    const auto it = m_sections.find(lowered(section));
    return it == m_sections.end() ? -1 : it->second;
}

int IniFile::sectionEnd(int sectionLine) const {
    std::string_view name;
    size_t i = size_t(sectionLine) + 1;
    while (i < m_lines.size() && !sectionName(m_lines[i], name)) ++i;
    return int(i);
}

int IniFile::findKey(int sectionLine, const std::string& key) const {
    if (sectionLine < 0) return -1;
    const auto it = m_keys.find(keyName(sectionLine, key));
    return it == m_keys.end() ? -1 : it->second;
}

std::string IniFile::readString(const std::string& section, const std::string& key, const std::string& def) const {
    int line = findKey(findSection(section), key);
    if (line < 0) return def;
    std::string_view k, v;
    keyOf(m_lines[size_t(line)], k, v);
    // The profile services strip one pair of surrounding quotes.
    if (v.size() >= 2 && ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\'')))
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

bool IniFile::hasKey(const std::string& section, const std::string& key) const {
    return findKey(findSection(section), key) >= 0;
}

long IniFile::readInteger(const std::string& section, const std::string& key, long def) const {
    if (!hasKey(section, key)) return def;
    std::string v = readString(section, key, "");
    long out = 0;
    const char* b = v.data();
    const char* e = v.data() + v.size();
    if (b != e && *b == '+') ++b;
    auto r = std::from_chars(b, e, out);
    if (r.ec != std::errc() || r.ptr != e || b == e) return def;
    return out;
}

std::vector<std::string> IniFile::keys(const std::string& section) const {
    std::vector<std::string> out;
    int s = findSection(section);
    if (s < 0) return out;
    std::string_view k, v;
    for (int i = s + 1, end = sectionEnd(s); i < end; ++i)
        if (keyOf(m_lines[size_t(i)], k, v)) out.emplace_back(k);
    return out;
}

bool IniFile::writeString(const std::string& section, const std::string& key, const std::string& value) {
    int s = findSection(section);
    if (s < 0) {
        if (!m_lines.empty() && !trim(m_lines.back()).empty()) m_lines.push_back("");
        m_lines.push_back("[" + section + "]");
        m_lines.push_back(key + "=" + value);
        index();
        return flush();
    }
    int line = findKey(s, key);
    if (line >= 0) {
        std::string_view k, v;
        keyOf(m_lines[size_t(line)], k, v);
        m_lines[size_t(line)] = std::string(k) + "=" + value;
    } else {
        // New keys go after the section's last key, before trailing blank lines.
        int end = sectionEnd(s);
        int at = end;
        while (at - 1 > s && trim(m_lines[size_t(at - 1)]).empty()) --at;
        m_lines.insert(m_lines.begin() + at, key + "=" + value);
        index();
    }
    return flush();
}

bool IniFile::writeInteger(const std::string& section, const std::string& key, long value) {
    return writeString(section, key, std::to_string(value));
}

bool IniFile::flush() const {
    std::string text;
    for (const auto& l : m_lines) {
        text += l;
        text += "\r\n";
    }
    // A fresh name of our own: a file or link planted under a fixed name is never written through.
    std::string tmp = m_path + ".XXXXXX";
    int fd = createUniqueFile(tmp, 0);
    if (fd < 0) return false;
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) {
            close(fd);
            unlink(tmp.c_str());
            return false;
        }
        done += size_t(n);
    }
    if (close(fd) != 0 || std::rename(tmp.c_str(), m_path.c_str()) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    return true;
}

} // namespace plat
