#include "model/Ini2.h"

#include <memory>

#include "platform/IniFile.h"
#include "platform/TempFiles.h"

namespace ini2 {
namespace {

std::unique_ptr<plat::IniFile>& object() {
    static std::unique_ptr<plat::IniFile> f;
    return f;
}

} // namespace

std::string DefaultFileName() {
    std::string path = plat::ownProgramPath();
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1)) path.erase(dot);
    return path + ".ini";
}

void Open(const std::string& fileName) {
    object() = std::make_unique<plat::IniFile>(fileName.empty() ? DefaultFileName() : fileName);
}

void Close() { object().reset(); }

bool IsOpen() { return object() != nullptr; }

plat::IniFile* File() { return object().get(); }

std::string ReadString(const std::string& section, const std::string& key, const std::string& def) {
    if (!object()) return std::string();
    return object()->readString(section, key, def);
}

long ReadInteger(const std::string& section, const std::string& key, long def) {
    if (!object()) return 0;
    return object()->readInteger(section, key, def);
}

void WriteString(const std::string& section, const std::string& key, const std::string& value) {
    // Write failures are not reported: the value stays in memory.
    if (object()) object()->writeString(section, key, value);
}

void WriteInteger(const std::string& section, const std::string& key, long value) {
    if (object()) object()->writeInteger(section, key, value);
}

} // namespace ini2
