#pragma once
// A private TMPDIR for one test, so the "qel" files a store makes can be counted.
#include <dirent.h>
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
    // The "qel" files of privateDir(): the program's temp files and anything
    // left of making one.
    std::vector<std::string> qelFiles() const {
        std::vector<std::string> out;
        if (DIR* dp = opendir(privateDir().c_str())) {
            while (dirent* e = readdir(dp))
                if (std::string(e->d_name).rfind("qel", 0) == 0) out.push_back(e->d_name);
            closedir(dp);
        }
        return out;
    }

private:
    tsupport::TempDir m_tmp{"brenthaul-tmpdir"};
    std::string m_dir = m_tmp.path().string();
    std::string m_old;
    bool m_hadOld = false;
};
