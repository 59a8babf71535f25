#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>

#include "app/GenealogyOpener.h"
#include "platform/Hooks.h"
#include "platform/TempFiles.h"
#include "support/MemCollection.h"

namespace {

// A collection whose open can be refused or cancelled.
class FakeCollection : public WMemCollection {
public:
    explicit FakeCollection(int outcome) : m_outcome(outcome) {}
    bool Open() override {
        ++opens;
        return m_outcome == 0;
    }
    void AfterOpen() override { ++afterOpens; }
    int opens = 0;
    int afterOpens = 0;

private:
    int m_outcome;
};

struct OpenerTest : ::testing::Test {
    std::string fileA, fileB;
    std::vector<std::string> messages;
    std::vector<std::string> events;
    // 0 opens, 1 refused by Open, 2 factory gives nothing.
    int outcome = 0;
    int factoryCalls = 0;
    std::unique_ptr<WGenealogyOpener> opener;

    void SetUp() override {
        fileA = plat::createTempFile();
        fileB = plat::createTempFile();
        plat::hooks().showMessage = [this](const std::string& t) {
            messages.push_back(t);
            events.push_back("message");
        };
        WGenealogyOpener::Callbacks cb;
        cb.discardPrevious = [this] { events.push_back("discard"); };
        cb.beginReading = [this] { events.push_back("begin"); };
        cb.endReading = [this] { events.push_back("end"); };
        cb.refreshStatus = [this] { events.push_back("status"); };
        cb.restoreCaption = [this] { events.push_back("caption"); };
        cb.opened = [this](double s) {
            EXPECT_GE(s, 0.0);
            events.push_back("opened");
        };
        cb.cleared = [this] { events.push_back("cleared"); };
        opener = std::make_unique<WGenealogyOpener>(
            [this](const std::string&, std::string& err, std::uint8_t) -> std::unique_ptr<WABSCollection> {
                ++factoryCalls;
                if (outcome == 2) {
                    err = "Unknown file format";
                    return nullptr;
                }
                auto c = std::make_unique<FakeCollection>(outcome);
                c->AddPerson("A /B/", 'M');
                return c;
            },
            cb);
    }
    void TearDown() override {
        plat::deleteTempFile(fileA);
        plat::deleteTempFile(fileB);
        plat::resetHooks();
    }
};

TEST_F(OpenerTest, OpensOnceAndTreatsTheSameNameAsDone) {
    EXPECT_TRUE(opener->OpenGenealogyFile(fileA, 0));
    ASSERT_NE(opener->GetCollection(), nullptr);
    EXPECT_EQ(static_cast<FakeCollection*>(opener->GetCollection())->afterOpens, 1);
    EXPECT_EQ(opener->GetFileName(), fileA);
    EXPECT_FALSE(opener->IsReading());
    EXPECT_EQ(events, (std::vector<std::string>{"discard", "begin", "status", "opened", "end"}));
    events.clear();
    EXPECT_TRUE(opener->OpenGenealogyFile(fileA, 0));
    EXPECT_TRUE(opener->OpenGenealogyFile("", 0));
    EXPECT_EQ(factoryCalls, 1);
    EXPECT_TRUE(events.empty());
}

TEST_F(OpenerTest, MissingFileKeepsThePreviousOne) {
    ASSERT_TRUE(opener->OpenGenealogyFile(fileA, 0));
    EXPECT_FALSE(opener->OpenGenealogyFile(fileA + ".gone", 0));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "The file: " + fileA + ".gone\rdoes not exist.  Please select another file.");
    EXPECT_NE(opener->GetCollection(), nullptr);
    EXPECT_EQ(opener->GetFileName(), fileA);
}

TEST_F(OpenerTest, RefusedFileCanBeRetried) {
    outcome = 2;
    EXPECT_FALSE(opener->OpenGenealogyFile(fileA, 0));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Unknown file format");
    EXPECT_EQ(opener->GetCollection(), nullptr);
    EXPECT_TRUE(opener->GetFileName().empty());
    // The reading ends, wait dialog and all, before the message shows.
    EXPECT_EQ(events, (std::vector<std::string>{"discard", "begin", "caption", "cleared", "end", "message"}));
    // Asking again for the same name really tries again.
    outcome = 0;
    EXPECT_TRUE(opener->OpenGenealogyFile(fileA, 0));
    EXPECT_EQ(factoryCalls, 2);
    EXPECT_NE(opener->GetCollection(), nullptr);
}

TEST_F(OpenerTest, CancelledOpenLeavesTheWindowEmptyWithoutMessage) {
    ASSERT_TRUE(opener->OpenGenealogyFile(fileA, 0));
    outcome = 1;
    events.clear();
    EXPECT_FALSE(opener->OpenGenealogyFile(fileB, 0));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(opener->GetCollection(), nullptr);
    EXPECT_TRUE(opener->GetFileName().empty());
    EXPECT_EQ(events, (std::vector<std::string>{"discard", "begin", "caption", "cleared", "end"}));
}

TEST_F(OpenerTest, RequestDuringReadOnlyRefreshesStatus) {
    // A second request arrives from inside the first open (a pumped message).
    bool inner = true;
    opener = std::make_unique<WGenealogyOpener>(
        [&](const std::string&, std::string&, std::uint8_t) -> std::unique_ptr<WABSCollection> {
            ++factoryCalls;
            if (inner) {
                inner = false;
                events.clear();
                EXPECT_TRUE(opener->OpenGenealogyFile(fileB, 0));
                EXPECT_TRUE(opener->IsReading());
                EXPECT_EQ(events, std::vector<std::string>{"status"});
            }
            return std::make_unique<FakeCollection>(0);
        },
        WGenealogyOpener::Callbacks{[] {}, [] {}, [] {}, [this] { events.push_back("status"); }, [] {}, [](double) {},
                                    [] {}});
    EXPECT_TRUE(opener->OpenGenealogyFile(fileA, 0));
    EXPECT_EQ(factoryCalls, 1);
    EXPECT_EQ(opener->GetFileName(), fileA);
}

TEST_F(OpenerTest, FileWithoutIndividualsStillOpens) {
    opener = std::make_unique<WGenealogyOpener>(
        [](const std::string&, std::string&, std::uint8_t) -> std::unique_ptr<WABSCollection> {
            return std::make_unique<FakeCollection>(0);
        },
        WGenealogyOpener::Callbacks{});
    EXPECT_TRUE(opener->OpenGenealogyFile(fileA, 0));
    ASSERT_NE(opener->GetCollection(), nullptr);
    EXPECT_EQ(opener->GetCollection()->GetIndividualCount(), 0);
}

} // namespace
