#include <gtest/gtest.h>

#include "app/LinkText.h"

TEST(LinkText, MailLinkEncodesEveryPart) {
    const std::string link = SenderMailLink("ann@example.org", "Smith & Co?", "family", "Monday, Jan 2, 2006");
    EXPECT_EQ(link,
              "mailto:ann@example.org?subject=Smith%20%26%20Co%3F%3A%20family&body=File%3A%20family%20created%20on%20"
              "Monday%2C%20Jan%202%2C%202006");
    // A trailer address cannot smuggle in headers.
    EXPECT_EQ(SenderMailLink("a@b.c?bcc=x@y", "", "", "").rfind("mailto:a@b.c%3Fbcc%3Dx@y?", 0), 0u);
    EXPECT_EQ(PercentEncode("Zo\xEB"), "Zo%C3%AB");
    // The program's own name is the system's UTF-8, whatever its script.
    EXPECT_NE(
        SenderMailLink("a@b.c", "T", "\xC3\xBC \xE4\xB8\xAD.bin", "d").find("subject=T%3A%20%C3%BC%20%E4%B8%AD.bin"),
        std::string::npos);
}

TEST(LinkText, MailtoLinksInEitherFieldGiveTheAddressOnly) {
    // Every white-space and control character around it, any letter case.
    std::string around = "\x7F\xA0\x81\x8D\x8F\x90\x9D";
    for (char c = 1; c <= ' '; ++c) around += c;
    for (char c : around)
        for (const char* scheme : {"mailto:", "MAILTO:", "mAiLtO:"}) {
            const std::string field = c + (scheme + std::string("x@y.org?attach=/etc/passwd")) + c;
            SCOPED_TRACE(int(static_cast<unsigned char>(c)));
            EXPECT_EQ(LabelLink(SenderWebLink(field), field), "mailto:x@y.org");
            EXPECT_EQ(SenderMailLink(field, "T", "f", "d").rfind("mailto:x@y.org?subject=T", 0), 0u);
        }
    EXPECT_EQ(SenderWebLink(" MAILTO:a b&c@y.org?cc=z"), "mailto:a%20b%26c@y.org");
    // Percent-encoded forms: "%3F" stays text of the address (the client
    // decodes it once, to "%3F"); an encoded scheme is no scheme.
    EXPECT_EQ(SenderWebLink("mailto:x@y.org%3Fattach=/etc/passwd"), "mailto:x@y.org%253Fattach%3D%2Fetc%2Fpasswd");
    EXPECT_EQ(SenderWebLink("%6Dailto:x@y.org?attach=/etc/passwd"), "");
    EXPECT_EQ(SenderWebLink("mailto%3Ax@y.org?a=b"), "http://mailto%3Ax@y.org?a=b");
    EXPECT_EQ(SenderWebLink("www.example.org/?q=1"), "http://www.example.org/?q=1");
}

TEST(LinkText, OnlyWebAndMailLinksAreOpened) {
    EXPECT_EQ(VetLink("https://example.org/a"), "https://example.org/a");
    EXPECT_EQ(VetLink("HTTP://EXAMPLE.ORG"), "HTTP://EXAMPLE.ORG");
    EXPECT_EQ(VetLink("mailto:x@y.z"), "mailto:x@y.z");
    EXPECT_EQ(VetLink(" www.example.org/family "), "http://www.example.org/family");
    EXPECT_EQ(VetLink("file:///etc/passwd"), "");
    EXPECT_EQ(VetLink("javascript:alert(1)"), "");
    EXPECT_EQ(VetLink("/usr/bin/xterm"), "");
    EXPECT_EQ(VetLink("../x"), "");
    EXPECT_EQ(VetLink(""), "");
    EXPECT_EQ(VetLink("http://a\nb"), "");
    // Refused in the web-site field, and by the label's fallback to its caption.
    for (const std::string field : {"\vfile:///etc/passwd", "\x01javascript:alert(1)", "ht tp://x", "mail to:x?y"})
        EXPECT_EQ(LabelLink(SenderWebLink(field), field), "") << field;
}

TEST(LinkText, BareFileNameStripsFolders) {
    EXPECT_EQ(BareFileName("C:\\Users\\x\\family.ged"), "family.ged");
    EXPECT_EQ(BareFileName("../../etc/family.ged"), "family.ged");
    EXPECT_EQ(BareFileName("family.ged"), "family.ged");
    EXPECT_EQ(BareFileName(".."), "");
}
