// Layout of bands across pages, sub-detail data requests and the export call order.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "reports/ReportEngine.h"

namespace {

std::vector<const TQRPageItem*> texts(const TQRPreparedPage& page, const std::string& text = {}) {
    std::vector<const TQRPageItem*> out;
    for (const auto& it : page.Items)
        if (it.Kind == TQRItemKind::Text && (text.empty() || it.Text == text)) out.push_back(&it);
    return out;
}

// A report with header, footer and one sub-detail of n rows of height h.
struct RowsReport : TQuickRep {
    int rows = 0, row = 0;
    TQRBand* header;
    TQRBand* footer;
    TQRSubDetail* detail;
    TQRLabel* cell;
    TQRLabel* pageLabel;
    explicit RowsReport(int n, double h = 20) : rows(n) {
        header = AddBand(rbPageHeader);
        header->Height = 40;
        header->Add<TQRLabel>()->Caption = "HEAD";
        footer = AddBand(rbPageFooter);
        footer->Height = 30;
        pageLabel = footer->Add<TQRLabel>();
        OnStartPage = [this](TQuickRep*) { pageLabel->Caption = "Page " + std::to_string(PageNumber()); };
        detail = AddSubDetail();
        detail->Height = h;
        cell = detail->Add<TQRLabel>();
        detail->OnNeedData = [this](TQRSubDetail*, bool& more) {
            more = row < rows;
            if (more) cell->Caption = "row " + std::to_string(++row);
        };
        BeforePrint = [this](TQuickRep*, bool&) { row = 0; };
    }
};

TEST(ReportEngine, BandsFlowOverPagesWithHeaderAndFooterOnEach) {
    // Body per page: 1056 - 48 - 48 - 40 (header) - 30 (footer) = 890 -> 44 rows of 20.
    RowsReport r(100);
    ASSERT_TRUE(r.Prepare());
    const TQRPreparedReport& pages = *r.QRPrinter();
    ASSERT_EQ(pages.PageCount(), 3);
    int rowsSeen = 0;
    for (int p = 1; p <= 3; ++p) {
        const TQRPreparedPage& page = *pages.Page(p);
        auto head = texts(page, "HEAD");
        ASSERT_EQ(head.size(), 1u) << p;
        EXPECT_DOUBLE_EQ(head[0]->Top, 48);
        auto foot = texts(page, "Page " + std::to_string(p));
        ASSERT_EQ(foot.size(), 1u) << p;
        EXPECT_DOUBLE_EQ(foot[0]->Top, 1056 - 48 - 30);
        double lastBottom = 0;
        for (const auto* t : texts(page)) {
            if (t->Text.rfind("row ", 0) != 0) continue;
            ++rowsSeen;
            EXPECT_EQ(t->Text, "row " + std::to_string(rowsSeen));
            EXPECT_GE(t->Top, 88);
            EXPECT_LE(t->Top + 20, 1056 - 48 - 30);
            lastBottom = t->Top + 20;
        }
        if (p < 3) {
            EXPECT_GT(lastBottom, 1056 - 48 - 30 - 20) << "page " << p << " breaks early";
        }
    }
    EXPECT_EQ(rowsSeen, 100);
    EXPECT_EQ(pages.Page(4), nullptr);
    EXPECT_EQ(pages.Page(0), nullptr);

    // A second run starts over and gives the same pages.
    ASSERT_TRUE(r.Prepare());
    EXPECT_EQ(r.QRPrinter()->PageCount(), 3);
}

TEST(ReportEngine, HeaderAndFooterOptionsAndBeforePrintVeto) {
    RowsReport r(3);
    r.FirstPageHeader = false;
    r.LastPageFooter = false;
    ASSERT_TRUE(r.Prepare());
    ASSERT_EQ(r.QRPrinter()->PageCount(), 1);
    EXPECT_TRUE(texts(*r.QRPrinter()->Page(1), "HEAD").empty());
    EXPECT_TRUE(texts(*r.QRPrinter()->Page(1), "Page 1").empty());
    EXPECT_DOUBLE_EQ(texts(*r.QRPrinter()->Page(1), "row 1")[0]->Top, 48);

    // A band vetoed in BeforePrint takes no room; a disabled one neither.
    RowsReport v(4);
    v.detail->BeforePrint = [&](TQRBand*, bool& print) { print = v.row % 2 == 0; };
    ASSERT_TRUE(v.Prepare());
    auto rows = texts(*v.QRPrinter()->Page(1));
    std::vector<std::string> got;
    for (auto* t : rows)
        if (t->Text.rfind("row", 0) == 0) got.push_back(t->Text);
    EXPECT_EQ(got, (std::vector<std::string>{"row 2", "row 4"}));
    EXPECT_DOUBLE_EQ(texts(*v.QRPrinter()->Page(1), "row 4")[0]->Top, 88 + 20);

    RowsReport off(4);
    off.detail->Enabled = false;
    ASSERT_TRUE(off.Prepare());
    EXPECT_TRUE(texts(*off.QRPrinter()->Page(1), "row 1").empty());

    RowsReport veto(4);
    veto.BeforePrint = [](TQuickRep*, bool& go) { go = false; };
    EXPECT_FALSE(veto.Prepare());
    EXPECT_EQ(veto.QRPrinter()->PageCount(), 0);
}

TEST(ReportEngine, SubDetailHeaderFooterAndPrintIfEmpty) {
    TQuickRep r;
    TQRBand* gh = r.AddBand(rbGroupHeader);
    gh->Height = 10;
    gh->Add<TQRLabel>()->Caption = "GH";
    TQRBand* gf = r.AddBand(rbGroupFooter);
    gf->Height = 10;
    gf->Add<TQRLabel>()->Caption = "GF";
    TQRSubDetail* sd = r.AddSubDetail();
    sd->Header = gh;
    sd->Footer = gf;
    sd->Height = 10;
    sd->Add<TQRLabel>()->Caption = "D";
    int asked = 0;
    sd->OnNeedData = [&](TQRSubDetail*, bool& more) {
        ++asked;
        more = false;
    };
    ASSERT_TRUE(r.Prepare());
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(texts(*r.QRPrinter()->Page(1)).empty()) << "nothing without data";

    sd->PrintIfEmpty = true;
    asked = 0;
    ASSERT_TRUE(r.Prepare());
    EXPECT_EQ(asked, 1);
    auto t = texts(*r.QRPrinter()->Page(1));
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0]->Text, "GH");
    EXPECT_EQ(t[1]->Text, "D");
    EXPECT_EQ(t[2]->Text, "GF");
    EXPECT_DOUBLE_EQ(t[2]->Top, 48 + 20);
}

TEST(ReportEngine, MemoStretchesItsBandAndLabelsWrap) {
    TQuickRep r;
    TQRBand* b = r.AddBand(rbDetail);
    b->Height = 16;
    TQRMemo* m = b->Add<TQRMemo>();
    m->Top = 2;
    m->Width = 300;
    m->Height = 14;
    m->Add("one\rtwo\r\nthree");
    TQRBand* after = r.AddBand(rbDetail);
    after->Height = 10;
    after->Add<TQRLabel>()->Caption = "after";
    TQRLabel* wrap = after->Add<TQRLabel>();
    wrap->Left = 400;
    wrap->Width = 60;
    wrap->WordWrap = true;
    wrap->AutoStretch = true;
    wrap->Caption = "alpha beta gamma delta";
    ASSERT_TRUE(r.Prepare());
    const double lh = QRLineHeight(m->Font);
    auto page = *r.QRPrinter()->Page(1);
    ASSERT_EQ(texts(page, "three").size(), 1u);
    EXPECT_DOUBLE_EQ(texts(page, "three")[0]->Top, 48 + 2 + 2 * lh);
    EXPECT_DOUBLE_EQ(texts(page, "after")[0]->Top, 48 + 2 + 3 * lh);
    // Every wrapped line fits the label and no word is lost.
    std::string joined;
    int lines = 0;
    for (auto* t : texts(page))
        if (t->Left == 448) {
            EXPECT_LE(QRTextWidth(wrap->Font, t->Text), 60.0) << t->Text;
            joined += (joined.empty() ? "" : " ") + t->Text;
            ++lines;
        }
    EXPECT_GT(lines, 1);
    EXPECT_EQ(joined, wrap->Caption);
}

TEST(ReportEngine, TallBandStartsNewPageAndForceNewPage) {
    TQuickRep r;
    for (int i = 0; i < 3; ++i) {
        TQRBand* b = r.AddBand(rbDetail);
        b->Height = 400;
        b->Add<TQRLabel>()->Caption = "B" + std::to_string(i);
    }
    ASSERT_TRUE(r.Prepare());
    ASSERT_EQ(r.QRPrinter()->PageCount(), 2); // 960 of body: two bands fit
    EXPECT_EQ(texts(*r.QRPrinter()->Page(2))[0]->Text, "B2");
    EXPECT_DOUBLE_EQ(texts(*r.QRPrinter()->Page(2))[0]->Top, 48);

    r.Bands()[1]->ForceNewPage = true;
    ASSERT_TRUE(r.Prepare());
    ASSERT_EQ(r.QRPrinter()->PageCount(), 2);
    EXPECT_EQ(texts(*r.QRPrinter()->Page(2))[0]->Text, "B1");
    // A band taller than a page still prints, once.
    TQuickRep big;
    big.AddBand(rbDetail)->Height = 2000;
    ASSERT_TRUE(big.Prepare());
    EXPECT_EQ(big.QRPrinter()->PageCount(), 1);
}

TEST(ReportEngine, TextIsCutBetweenCharactersToItsBox) {
    QRResetMetrics();
    TQRFont f; // 10 pt: characters 6.67 wide
    // The cut falls on the boundary nearest the box's edge: 8 characters
    // reach 53.3, less than half of the ninth past 50.
    EXPECT_EQ(QRFitText("ABCDEFGHIJKL", 50, f), "ABCDEFGH");
    EXPECT_EQ(QRFitText("ABCDEFGHIJKL", 50, f, taRightJustify), "EFGHIJKL");
    EXPECT_EQ(QRFitText("ABCDEFGHIJKL", 50, f, taCenter), "CDEFGHIJ");
    EXPECT_EQ(QRFitText("ABC", 50, f), "ABC");
    EXPECT_EQ(QRFitText("ABC", 0, f), "");
    EXPECT_LE(QRTextWidth(f, "ABCDEFGH") - 50, QRClipSlack(f));

    TQuickRep r;
    TQRBand* b = r.AddBand(rbDetail);
    auto* l = b->Add<TQRLabel>();
    l->Width = 50;
    l->Caption = "ABCDEFGHIJKL";
    auto* wide = b->Add<TQRLabel>();
    wide->Top = 20;
    wide->AutoSize = true;
    wide->Caption = "ABCDEFGHIJKL";
    ASSERT_TRUE(r.Prepare());
    EXPECT_EQ(texts(*r.QRPrinter()->Page(1), "ABCDEFGH").size(), 1u);
    EXPECT_EQ(texts(*r.QRPrinter()->Page(1), "ABCDEFGHIJKL").size(), 1u); // its box follows the text
}

// Records the calls an export filter receives.
struct RecordingFilter : TQRExportFilter {
    std::vector<std::string> calls;
    bool document = false;
    int pagesAtEnd = -1;
    using TQRExportFilter::TQRExportFilter;
    void Start(double w, double h, const TQRFont& f) override {
        TQRExportFilter::Start(w, h, f);
        calls.push_back("Start " + std::to_string(int(w)) + "x" + std::to_string(int(h)) + " " + f.Name);
    }
    void NewPage() override { calls.push_back("NewPage"); }
    void EndPage() override {
        calls.push_back("EndPage");
        pagesAtEnd = PageSource->PageCount();
    }
    void Finish() override {
        calls.push_back("Finish");
        TQRExportFilter::Finish();
    }
    void TextOut(double x, double, const TQRFont&, plat::ColorRef, TQRAlignment a, const std::string& t) override {
        calls.push_back("Text " + t + " " + std::to_string(int(a)) + " " + std::to_string(int(x + 0.5)));
    }
    bool IsDocumentFilter() const override { return document; }
    void BeginControl(TQRPrintable* c, double, double) override {
        calls.push_back(std::string("Begin ") + (dynamic_cast<TQRMemo*>(c) ? "memo" : "label"));
    }
    void EndControl(TQRPrintable*, double, bool unfinished, double) override {
        calls.push_back(std::string("End") + (unfinished ? " unfinished" : ""));
    }
    void AddShape(TQRShape*, double, bool, double) override { calls.push_back("Shape"); }
};

TEST(ReportEngine, ExportCallOrderAndDocumentHooks) {
    TQuickRep r;
    TQRBand* b = r.AddBand(rbDetail);
    b->Height = 30;
    TPsQRLabel* l = b->Add<TPsQRLabel>();
    l->Left = 100;
    l->Width = 200;
    l->Alignment = taRightJustify;
    l->Caption = "right";
    TPsQRMemo* m = b->Add<TPsQRMemo>();
    m->Add("a\rb");
    b->Add<TPsQRShape>();
    TPsQRLabel* off = b->Add<TPsQRLabel>();
    off->Caption = "off";
    off->Enabled = false;
    TQRBand* b2 = r.AddBand(rbDetail);
    b2->Height = 100;
    b2->ForceNewPage = true;
    RecordingFilter plain("out.x");
    r.ExportToFilter(&plain);
    EXPECT_FALSE(plain.Active);
    EXPECT_FALSE(r.Exporting());
    const int rightEdge = int(PxToMM10(48 + 100 + 200) + 0.5);
    const std::vector<std::string> expectPlain = {"Start 2159x2794 Arial",
                                                  "NewPage",
                                                  "Text right 1 " + std::to_string(rightEdge),
                                                  "Text a 0 " + std::to_string(int(PxToMM10(48) + 0.5)),
                                                  "Text b 0 " + std::to_string(int(PxToMM10(48) + 0.5)),
                                                  "EndPage",
                                                  "NewPage",
                                                  "EndPage",
                                                  "Finish"};
    EXPECT_EQ(plain.calls, expectPlain);
    EXPECT_EQ(plain.pagesAtEnd, 2) << "EndPage sees the page just finished";

    RecordingFilter doc("out.y");
    doc.document = true;
    r.ExportToFilter(&doc);
    const std::vector<std::string> expectDoc = {"Start 2159x2794 Arial",
                                                "NewPage",
                                                "Begin label",
                                                "Text right 1 " + std::to_string(rightEdge),
                                                "End",
                                                "Begin memo",
                                                "Text a 0 " + std::to_string(int(PxToMM10(48) + 0.5)),
                                                "Text b 0 " + std::to_string(int(PxToMM10(48) + 0.5)),
                                                "End",
                                                "Shape",
                                                "EndPage",
                                                "NewPage",
                                                "EndPage",
                                                "Finish"};
    EXPECT_EQ(doc.calls, expectDoc);
}

TEST(ReportEngine, FilterRegistryAddsAndRemovesByName) {
    auto& lib = TQRExportFilterLibrary::Instance();
    const size_t before = lib.Filters().size();
    lib.AddFilter([](const std::string& f) { return std::make_unique<RecordingFilter>(f); }, "Test Filter", "tst");
    ASSERT_EQ(lib.Filters().size(), before + 1);
    auto made = lib.Filters().back().Create("x.tst");
    ASSERT_TRUE(made);
    EXPECT_EQ(made->FileName, "x.tst");
    EXPECT_EQ(made->GetSavedFileName(), "x.tst");
    lib.RemoveFilter("Test Filter");
    EXPECT_EQ(lib.Filters().size(), before);
}

} // namespace
