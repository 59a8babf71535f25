#pragma once
// The real GEDCOM files of the shared test data (BRENTHAUL_SHARED_DATA). A test
// that needs one skips where the folder is missing, but fails when the build
// requires the data (BRENTHAUL_REQUIRE_SHARED_DATA, which the test script sets
// in CI), so a moved folder cannot quietly turn those tests off.
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#ifndef BRENTHAUL_REQUIRE_SHARED_DATA
#define BRENTHAUL_REQUIRE_SHARED_DATA 0
#endif

namespace tsupport {

inline std::string sharedFile(const std::string& name) { return std::string(BRENTHAUL_SHARED_DATA) + "/" + name; }

inline bool haveShared(const std::string& name) {
    std::error_code ec;
    return std::filesystem::exists(sharedFile(name), ec);
}

} // namespace tsupport

// Leaves the test (skip, or failure when the data is required) unless the shared
// file or folder `name` ("" for the folder itself) is there.
#define BRENTHAUL_NEED_SHARED(name) \
    do { \
        if (!tsupport::haveShared(name)) { \
            if (BRENTHAUL_REQUIRE_SHARED_DATA) \
                FAIL() << "shared test data absent: " << tsupport::sharedFile(name); \
            else \
                GTEST_SKIP() << "shared test data absent: " << tsupport::sharedFile(name); \
        } \
    } while (0)
