#pragma once
// The column-set file "ZELT.ini": keeps the List view's column set apart from
// the settings file, in the per-user configuration folder.
#include <string>

namespace ini {

// Makes the file object (closing an open one first); an empty name means
// "ZELT.ini" in the configuration folder.
void OpenIni(const std::string& fileName = "");
void CloseIni();
// Open the file on first use.
std::string ReadIniString(const std::string& section, const std::string& key, const std::string& def);
void WriteIniString(const std::string& section, const std::string& key, const std::string& value);

} // namespace ini
