#include "app/ColumnSetFile.h"

#include <memory>

#include "platform/IniFile.h"
#include "platform/TempFiles.h"

namespace ini {
namespace {
std::unique_ptr<plat::IniFile>& file() {
    static std::unique_ptr<plat::IniFile> f;
    return f;
}
plat::IniFile& ensure() {
    if (!file()) OpenIni();
    return *file();
}
} // namespace

void OpenIni(const std::string& fileName) {
    file() = std::make_unique<plat::IniFile>(fileName.empty() ? plat::configDir() + "ZELT.ini" : fileName);
}

void CloseIni() { file().reset(); }

std::string ReadIniString(const std::string& section, const std::string& key, const std::string& def) {
    return ensure().readString(section, key, def);
}

void WriteIniString(const std::string& section, const std::string& key, const std::string& value) {
    ensure().writeString(section, key, value);
}

} // namespace ini
