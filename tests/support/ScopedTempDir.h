#pragma once
// A private TMPDIR for one test, so the "qel" files a store makes can be counted.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/TestFiles.h"

class ScopedTempDir {
public:
    ScopedTempDir() {
        const char* old = std::getenv("TMPDIR");
        if (old) {
            m_hadOld = true;
            m_old = old;
        }
        setenv("TMPDIR", m_dir.c_str(), 1);
    }
    ~ScopedTempDir() {
        if (m_hadOld)
            setenv("TMPDIR", m_old.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }
    const std::string& dir() const { return m_dir; }
    // The program's own folder inside it, where its temp files go.
    std::string privateDir() const { return m_dir + "/brenthaul-" + std::to_string(geteuid()); }
    // The files of privateDir().
    std::vector<std::string> files() const {
        std::vector<std::string> out;
        if (DIR* dp = opendir(privateDir().c_str())) {
            while (dirent* e = readdir(dp)) {
                std::string n = e->d_name;
                if (n != "." && n != "..") out.push_back(n);
            }
            closedir(dp);
        }
        return out;
    }
    std::vector<std::string> qelFiles() const {
        std::vector<std::string> out;
        for (const auto& n : files())
            if (n.size() > 7 && n.compare(0, 3, "qel") == 0 && n.compare(n.size() - 4, 4, ".tmp") == 0)
                out.push_back(n);
        return out;
    }

private:
    tsupport::TempDir m_tmp{"brenthaul-tmpdir"};
    std::string m_dir = m_tmp.path().string();
    std::string m_old;
    bool m_hadOld = false;
};

inline long long fileLength(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return -1;
    return static_cast<long long>(st.st_size);
}

inline bool fileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}
