#pragma once
// Shared helpers of the payload tests: a scratch folder, file access and
// recording message hooks.
#include "payload/ResCompress.h"
#include "platform/Hooks.h"
#include "support/TestFiles.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace ptest {

using tsupport::readFile;
using tsupport::writeFile;
using ScratchDir = tsupport::TempDir;

// Records what the expander shows and how often it lets messages through.
struct RecordingHooks {
    std::vector<std::string> messages;
    int pumps = 0;
    RecordingHooks() {
        plat::hooks().showMessage = [this](const std::string& t) { messages.push_back(t); };
        plat::hooks().messageBox = [this](const std::string& t, const std::string&, unsigned) {
            messages.push_back(t);
            return int(plat::IDOK);
        };
        plat::hooks().processMessages = [this] { ++pumps; };
    }
    ~RecordingHooks() { plat::resetHooks(); }
};

inline std::string randomBytes(std::size_t n, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (auto& c : s) c = char(rng() & 0xFF);
    return s;
}

inline std::vector<std::uint8_t> bytes(std::initializer_list<int> list) {
    std::vector<std::uint8_t> v;
    for (int b : list) v.push_back(std::uint8_t(b));
    return v;
}

inline void putU32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(std::uint8_t(x >> (8 * i)));
}
inline void setU32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + std::size_t(i)] = std::uint8_t(x >> (8 * i));
}

} // namespace ptest
