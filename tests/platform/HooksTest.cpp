#include <algorithm>
#include <gtest/gtest.h>
#include <sched.h>
#include <vector>

#include "platform/Hooks.h"
#include "platform/WorkerThreads.h"
#include "support/TestFiles.h"

TEST(Hooks, RecordingFakeReceivesMessagesAndResetRestoresDefault) {
    std::string seen;
    plat::hooks().messageBox = [&](const std::string& t, const std::string& c, unsigned) {
        seen = c + "|" + t;
        return int(plat::IDYES);
    };
    EXPECT_EQ(plat::messageBox("hello", "Cap", plat::MB_YESNO), plat::IDYES);
    EXPECT_EQ(seen, "Cap|hello");
    plat::resetHooks();
    EXPECT_EQ(plat::messageBox("x", "y", plat::MB_YESNO), plat::IDNO);
    EXPECT_EQ(seen, "Cap|hello");
}

// Pools follow the CPUs the process may run on and the cgroup's CPU quota,
// not the machine's core count.
TEST(WorkerThreads, FollowTheAffinityMaskAndTheCgroupQuota) {
    cpu_set_t all;
    ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
    struct Restore {
        cpu_set_t& mask;
        ~Restore() { sched_setaffinity(0, sizeof mask, &mask); }
    } restore{all};
    std::vector<int> cpus;
    for (int c = 0; c < CPU_SETSIZE; ++c)
        if (CPU_ISSET(c, &all)) cpus.push_back(c);
    for (std::size_t allowed = 1; allowed <= std::min<std::size_t>(cpus.size(), 2); ++allowed) {
        cpu_set_t some;
        CPU_ZERO(&some);
        for (std::size_t k = 0; k < allowed; ++k) CPU_SET(cpus[k], &some);
        ASSERT_EQ(sched_setaffinity(0, sizeof some, &some), 0);
        EXPECT_EQ(plat::WorkerThreads(), allowed);
        EXPECT_EQ(plat::WorkerThreads(1), 1u);
    }

    tsupport::TempDir root;
    std::filesystem::create_directories(root.path() / "a/b");
    tsupport::writeFile(root.path() / "a/cpu.max", "150000 100000\n");
    tsupport::writeFile(root.path() / "a/b/cpu.max", "max 100000\n");
    EXPECT_EQ(plat::CgroupCpuQuota("1:cpu:/\n0::/a/b\n", root.path().string()), 2u);
    tsupport::writeFile(root.path() / "cpu.max", "50000 100000\n");
    EXPECT_EQ(plat::CgroupCpuQuota("0::/a/b\n", root.path().string()), 1u);
    EXPECT_EQ(plat::CgroupCpuQuota("0::/\n", (root.path() / "a/b").string()), 0u);
    EXPECT_EQ(plat::CgroupCpuQuota("4:cpu:/a\n", root.path().string()), 0u);
}
