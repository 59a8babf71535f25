#pragma once
// The generator's file of n individuals, made once and kept in the build folder;
// with surnames, its outsiders take that many different surnames, and with
// givenNames each sex takes that many different given names.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

inline std::string generatedFile(long n, long surnames = 0, long givenNames = 0) {
    const std::string many = (surnames ? "_surnames_" + std::to_string(surnames) : "") +
                             (givenNames ? "_given_" + std::to_string(givenNames) : "");
    const std::string file = std::string(BRENTHAUL_BINARY_DIR) + "/bench/columns_" + std::to_string(n) + many + ".ged";
    struct stat st {};
    if (stat(file.c_str(), &st) != 0) {
        const std::string cmd = std::string(BRENTHAUL_BINARY_DIR) + "/gengedcom --individuals " + std::to_string(n) +
                                " --seed 7" + (surnames ? " --surnames " + std::to_string(surnames) : "") +
                                (givenNames ? " --given-names " + std::to_string(givenNames) : "") + " --out '" + file +
                                "' > /dev/null";
        if (std::system(cmd.c_str()) != 0) {
            std::fprintf(stderr, "could not generate %s (build the gengedcom tool first)\n", file.c_str());
            std::exit(1);
        }
    }
    return file;
}

// Takes "--individuals N[,N...]" (or "--individuals=...") out of the command
// line: returns its sizes (empty when absent) and leaves the rest in `rest`
// for the benchmark library.
inline std::vector<long> individualsOption(int argc, char** argv, std::vector<char*>& rest) {
    std::vector<long> sizes;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--individuals", 13) != 0) {
            rest.push_back(argv[i]);
            continue;
        }
        const char* v = argv[i][13] == '=' ? argv[i] + 14 : (i + 1 < argc ? argv[++i] : "");
        for (const char* p = v; *p;) {
            sizes.push_back(std::strtol(p, const_cast<char**>(&p), 10));
            if (*p != ',') break;
            ++p;
        }
    }
    return sizes;
}
