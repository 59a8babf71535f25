#include <gtest/gtest.h>

#include "platform/Hooks.h"

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
