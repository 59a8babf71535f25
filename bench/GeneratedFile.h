#pragma once
// The generator's file of n individuals, made once and kept in the build folder.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

inline std::string generatedFile(long n) {
    const std::string file = std::string(BRENTHAUL_BINARY_DIR) + "/bench/columns_" + std::to_string(n) + ".ged";
    struct stat st {};
    if (stat(file.c_str(), &st) != 0) {
        const std::string cmd = std::string(BRENTHAUL_BINARY_DIR) + "/gengedcom --individuals " + std::to_string(n) +
                                " --seed 7 --out '" + file + "' > /dev/null";
        if (std::system(cmd.c_str()) != 0) {
            std::fprintf(stderr, "could not generate %s (build the gengedcom tool first)\n", file.c_str());
            std::exit(1);
        }
    }
    return file;
}
