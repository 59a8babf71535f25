// Fuzz target of the INI reader: the input is a settings file. The whole
// option table is loaded from it, some keys are read and written back, and
// the file must still read as written.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "model/Ini2.h"
#include "model/Options.h"
#include "platform/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = fuzz::ScratchName("zelt.ini");
    if (!fuzz::WriteFile(path, data, size)) return 0;
    ini2::Open(path);
    WOptions::Load(0);
    for (int i = 1; i <= 140; ++i) {
        WOptions::GetInt(i);
        WOptions::GetBool(i);
    }
    ini2::ReadInteger("General", "ShowCmd", 3);
    ini2::Close();

    plat::IniFile ini(path);
    for (const auto& key : ini.keys("General")) ini.readString("General", key, "");
    const std::string value = "v=1;[x]";
    if (ini.writeString("General", "FuzzKey", value) &&
        plat::IniFile(path).readString("general", "fuzzkey", "") != value)
        __builtin_trap(); // a written key must read back, whatever the file held before
    WOptions::Clear();
    std::remove(path.c_str());
    return 0;
}
