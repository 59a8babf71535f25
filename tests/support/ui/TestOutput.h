#pragma once
// Where tests leave pictures and files for a person to look at: a folder in
// the system's temporary folder, never the build folder.
#include <filesystem>

#include <QString>

inline QString testOutputPath(const char* name) {
    const auto dir = std::filesystem::temp_directory_path() / "brenthaul-test-output";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return QString::fromStdString((dir / name).string());
}
