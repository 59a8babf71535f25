#pragma once
// The program's one settings file object. Other units read and write their
// own keys through it as well as through WOptions.
#include <string>

namespace plat {
class IniFile;
}

namespace ini2 {

// Opens the settings file; an empty name means the program's own file name
// with the extension ".ini", in the program's folder. Replaces an open file.
void Open(const std::string& fileName);
// Frees the settings file object (every write has reached the file already).
void Close();
bool IsOpen();
// The open file object, or nullptr.
plat::IniFile* File();

// Value of the key or def when absent; empty text when no file is open.
std::string ReadString(const std::string& section, const std::string& key, const std::string& def);
// The integer, or def when absent or not a number; 0 when no file is open.
long ReadInteger(const std::string& section, const std::string& key, long def);
// Writes go straight to the file; they do nothing when no file is open.
void WriteString(const std::string& section, const std::string& key, const std::string& value);
void WriteInteger(const std::string& section, const std::string& key, long value);

// The own program file name with its extension replaced by ".ini".
std::string DefaultFileName();

} // namespace ini2
