#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/PackedFile.h"
#include "support/ScopedTempDir.h"

using tsupport::readFile;
using tsupport::writeFile;

TEST(PackedFile, ProposesOnlyAPlainGedName) {
    EXPECT_EQ(ProposedExtractName("C:\\Users\\ann\\Smith family.ged"), "Smith family.ged");
    EXPECT_EQ(ProposedExtractName(".bash_aliases"), "bash_aliases.ged");
    EXPECT_EQ(ProposedExtractName("../../.profile"), "profile.ged");
    EXPECT_EQ(ProposedExtractName("run.sh"), "run.ged");
    EXPECT_EQ(ProposedExtractName("SMITH.GED"), "SMITH.ged");
    EXPECT_EQ(ProposedExtractName("-rf $(x);`y`|z.ged"), "rf (x)yz.ged");
    EXPECT_EQ(ProposedExtractName("M\xFCller.ged"), "M\xFCller.ged");
    EXPECT_EQ(ProposedExtractName("..."), "family.ged");
    EXPECT_EQ(ProposedExtractName(""), "family.ged");
}

TEST(PackedFile, ExtractCopiesThroughAFreshNameAndSparesPlantedFiles) {
    ScopedTempDir tmp;
    const std::string dir = tmp.dir();
    const std::string source = dir + "/unpacked", target = dir + "/copy.ged";
    writeFile(source, "0 HEAD\r\n0 TRLR\r\n");
    // What an earlier copy or someone else left under the names a fixed scheme would use.
    writeFile(target + ".part", "keep me");
    writeFile(dir + "/victim", "victim");
    ASSERT_EQ(::symlink((dir + "/victim").c_str(), (target + ".tmp").c_str()), 0);

    const ExtractOutcome done = ExtractGedcomCopy(source, target, {});
    EXPECT_TRUE(done.Done);
    EXPECT_EQ(done.Message, "\"" + target + "\" has been extracted.");
    EXPECT_EQ(readFile(target), "0 HEAD\r\n0 TRLR\r\n");
    EXPECT_EQ(readFile(target + ".part"), "keep me");
    EXPECT_EQ(readFile(dir + "/victim"), "victim");

    // A new copy gets an ordinary new file's mode (0666 less the umask); a
    // replaced one keeps its mode and group, so one kept owner-only stays so.
    struct stat st {};
    const mode_t mask = ::umask(022);
    ::unlink(target.c_str());
    EXPECT_TRUE(ExtractGedcomCopy(source, target, {}).Done);
    EXPECT_EQ(::stat(target.c_str(), &st) == 0 ? st.st_mode & 07777 : 0u, 0644u);
    ::umask(077);
    ::unlink(target.c_str());
    EXPECT_TRUE(ExtractGedcomCopy(source, target, {}).Done);
    EXPECT_EQ(::stat(target.c_str(), &st) == 0 ? st.st_mode & 07777 : 0u, 0600u);
    ::umask(022);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(target.c_str(), uid_t(-1), 4321), 0);
    }
    EXPECT_TRUE(ExtractGedcomCopy(source, target, {}).Done);
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    if (root) {
        EXPECT_EQ(st.st_gid, 4321u);
    }
    ::umask(mask);

    // Cancelled or failing copies leave the old target and no new file, and say which it was.
    writeFile(target, "old");
    const ExtractOutcome cancelled = ExtractGedcomCopy(source, target, [] { return true; });
    EXPECT_FALSE(cancelled.Done);
    EXPECT_EQ(cancelled.Message, "Cancelled");
    const ExtractOutcome missing = ExtractGedcomCopy(dir + "/missing", target, {});
    EXPECT_FALSE(missing.Done);
    EXPECT_EQ(missing.Message, "\"" + target + "\" was not written.  No such file or directory");
    const std::string noFolder = dir + "/gone/copy.ged";
    EXPECT_EQ(ExtractGedcomCopy(source, noFolder, {}).Message,
              "Cannot create file \"" + noFolder + "\". No such file or directory");
    EXPECT_EQ(readFile(target), "old");
    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) files += e.is_regular_file() || e.is_symlink();
    EXPECT_EQ(files, 5u); // source, target, target.part, victim, the link

    // Where the folder takes no new file, a file the user may write is written in place.
    ASSERT_EQ(::chmod(target.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.c_str(), 0555), 0);
    const std::string out = tsupport::asOrdinaryUser([&] { return ExtractGedcomCopy(source, target, {}).Message; });
    ::chmod(dir.c_str(), 0755);
    EXPECT_EQ(out, "\"" + target + "\" has been extracted.");
    EXPECT_EQ(readFile(target), "0 HEAD\r\n0 TRLR\r\n");
}
