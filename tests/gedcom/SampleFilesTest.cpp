// The real files of the shared test data, and generated files.
#include "GedTestUtil.h"

#include "gedcom/FormatString.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

using gedtest::openShared;
using gedtest::sharedFile;

namespace {

// An independent reading of a GEDCOM text: records as lists of (level, tag, value) lines.
struct Line {
    int level = -1;
    std::string tag, value;
};
struct Record {
    std::string xref, tag;
    std::vector<Line> lines;
};

std::vector<Record> naiveRecords(const std::string& path) {
    const std::string all = tsupport::readFile(path);
    std::vector<Record> out;
    std::size_t i = 0;
    while (i < all.size()) {
        std::size_t j = all.find_first_of("\r\n", i);
        if (j == std::string::npos) j = all.size();
        std::string l = all.substr(i, j - i);
        i = j + 1;
        std::size_t k = l.find_first_not_of(" \t");
        if (k == std::string::npos) continue;
        l = l.substr(k);
        std::istringstream s(l);
        Line line;
        std::string level;
        s >> level >> line.tag;
        if (level.empty() || level.find_first_not_of("0123456789") != std::string::npos) continue;
        line.level = std::stoi(level);
        std::size_t v = l.find(line.tag) + line.tag.size();
        line.value = v < l.size() ? l.substr(v + 1) : "";
        while (!line.value.empty() && line.value.back() == ' ') line.value.pop_back();
        while (!line.value.empty() && line.value.front() == ' ') line.value.erase(0, 1);
        if (line.level == 0) {
            Record r;
            if (line.tag.size() > 2 && line.tag.front() == '@' && line.tag.back() == '@') {
                r.xref = line.tag.substr(1, line.tag.size() - 2);
                std::istringstream t(line.value);
                t >> r.tag;
            } else {
                r.tag = line.tag;
            }
            if (r.tag == "TRLR") break;
            out.push_back(r);
        } else if (!out.empty()) {
            out.back().lines.push_back(line);
        }
    }
    return out;
}

const Line* first(const Record& r, const std::string& tag, int level = 1) {
    for (const Line& l : r.lines)
        if (l.level == level && l.tag == tag) return &l;
    return nullptr;
}

// Individuals, families, notes and sources of the collection against the file's own text.
void checkAgainstText(const std::string& name) {
    auto c = openShared(name);
    auto recs = naiveRecords(sharedFile(name));
    int individuals = 0, families = 0, notes = 0, sources = 0;
    for (const Record& r : recs) {
        if (r.xref.empty()) continue;
        if (r.tag == "INDI") {
            ++individuals;
            std::int32_t n = c->FindIndividualByXref(r.xref);
            ASSERT_EQ(n, individuals) << name << " " << r.xref;
            auto ind = c->GetIndividual(n);
            EXPECT_EQ(ind->GetXRef(), r.xref.substr(1));
            const Line* nm = first(r, "NAME");
            auto gn = ind->GetName();
            ASSERT_EQ(gn != nullptr, nm != nullptr) << r.xref;
            if (nm && nm->value.find('/') != std::string::npos && nm->value[0] != '/') {
                std::string given = nm->value.substr(0, nm->value.find('/'));
                while (!given.empty() && given.back() == ' ') given.pop_back();
                EXPECT_EQ(gn->GetGiven(), c->ConvertText(given)) << r.xref;
                std::size_t a = nm->value.find('/'), b = nm->value.find('/', a + 1);
                EXPECT_EQ(gn->GetSurname(),
                          c->ConvertText(nm->value.substr(a + 1, b == std::string::npos ? b : b - a - 1)));
            }
            const Line* sex = first(r, "SEX");
            EXPECT_EQ(ind->GetSex(), sex && !sex->value.empty() ? sex->value[0] : 'U') << r.xref;
            int famc = 0, fams = 0;
            for (const Line& l : r.lines) {
                if (l.level == 1 && l.tag == "FAMC" && c->FindMarriageByXref(l.value.substr(1, l.value.size() - 2)))
                    ++famc;
                if (l.level == 1 && l.tag == "FAMS" && c->FindMarriageByXref(l.value.substr(1, l.value.size() - 2)))
                    ++fams;
            }
            EXPECT_GE(ind->GetParentFamilyCount(), famc > 0 ? 1 : 0) << r.xref;
            EXPECT_GE(ind->GetSpouseFamilyCount(), fams > 0 ? 1 : 0) << r.xref;
            // The last BIRT line's DATE.
            const Line* birthDate = nullptr;
            bool inBirth = false;
            for (const Line& l : r.lines) {
                if (l.level == 1) {
                    inBirth = l.tag == "BIRT";
                    if (inBirth) birthDate = nullptr;
                } else if (inBirth && l.level == 2 && l.tag == "DATE") {
                    birthDate = &l;
                }
            }
            auto birth = ind->GetEvent(1, 1);
            if (birthDate) {
                ASSERT_NE(birth, nullptr);
                ASSERT_NE(birth->GetDate(), nullptr);
                EXPECT_EQ(birth->GetDate()->GetOriginalText().empty(), birthDate->value.empty()) << r.xref;
            }
            std::string text = ind->GetRecordText();
            EXPECT_NE(text.find(c->ConvertText("@" + r.xref + "@")), std::string::npos);
        } else if (r.tag[0] == 'F') {
            ++families;
            std::int32_t f = c->FindMarriageByXref(r.xref);
            ASSERT_EQ(f, families) << r.xref;
            auto m = c->GetMarriage(f);
            for (const char* who : {"HUSB", "WIFE"}) {
                const Line* l = nullptr;
                for (const Line& x : r.lines)
                    if (x.level == 1 && x.tag == who) l = &x; // the last one wins
                std::int32_t expect = l ? c->FindIndividualByXref(l->value.substr(1, l->value.size() - 2)) : 0;
                EXPECT_EQ(std::string(who) == "HUSB" ? m->GetHusband() : m->GetWife(), expect) << r.xref << who;
            }
            int chil = 0;
            for (const Line& x : r.lines)
                if (x.level == 1 && x.tag == "CHIL" && c->FindIndividualByXref(x.value.substr(1, x.value.size() - 2)))
                    ++chil;
            EXPECT_GE(m->GetChildCount(), chil > 0 ? 1 : 0);
        } else if (r.tag == "NOTE") {
            ++notes;
            auto note = c->GetNote(c->FindNoteByXref(r.xref));
            ASSERT_NE(note, nullptr);
            std::string joined;
            for (const std::string& s : note->GetLines()) joined += s;
            // The record's words appear in the note in order.
            const Line* cont = r.lines.empty() ? nullptr : &r.lines.front();
            if (cont && (cont->tag == "CONT" || cont->tag == "CONC") && !cont->value.empty()) {
                EXPECT_NE(joined.find(c->ConvertText(cont->value)), std::string::npos) << r.xref;
            }
        } else if (r.tag == "SOUR") {
            ++sources;
            auto s = c->GetSource(c->FindSourceByXref(r.xref));
            const Line* titl = nullptr;
            for (const Line& x : r.lines)
                if (x.level == 1 && (x.tag == "TITL" || x.tag == "NAME")) titl = &x;
            if (titl && !titl->value.empty()) {
                EXPECT_EQ(s->GetTitle().substr(0, titl->value.size() / 2),
                          c->ConvertText(titl->value).substr(0, titl->value.size() / 2));
            }
        } else if (r.tag == "REPO") {
            auto repo = c->GetRepository(c->FindRepositoryByXref(r.xref));
            ASSERT_NE(repo, nullptr) << r.xref;
            const Line* nm = nullptr;
            for (const Line& x : r.lines)
                if (x.tag == "NAME") nm = &x; // at any level, the last one
            if (nm) {
                EXPECT_EQ(repo->GetName().substr(0, nm->value.size()), c->ConvertText(nm->value)) << r.xref;
            }
            EXPECT_EQ(repo->GetAddress() != nullptr, [&] {
                for (const Line& x : r.lines)
                    if (x.tag == "ADDR") return true;
                return false;
            }()) << r.xref;
        } else if (r.tag == "SUBM") {
            auto sub = c->GetSubmitter();
            const Line* nm = first(r, "NAME");
            if (sub && nm && c->FindXref(WGEDCollection::KindSubmitter, r.xref) == 1) {
                EXPECT_EQ(sub->GetName(), c->ConvertText(nm->value));
            }
        }
    }
    EXPECT_EQ(c->GetIndividualCount(), individuals);
    EXPECT_EQ(c->GetMarriageCount(), families);
    EXPECT_EQ(c->GetNoteCount(), notes);
    EXPECT_EQ(c->GetSourceCount(), sources);
}

} // namespace

TEST(SampleFiles, EveryFileOpens) {
    GEDTEST_NEED_SHARED("royal92.ged");
    for (const char* n :
         {"royal92.ged", "kennedy.ged", "TGC55C.ged", "TGC55CLF.ged", "ANSEL.GED", "allged.ged", "utf8.ged",
          "gramps-sample.ged", "TGC551LF.ged", "willis.ged", "willis-ansel.ged", "Queen.ged", "pres2020.ged",
          "washington.ged", "bourbon.ged", "EnglishTudorRoyalFamily.ged", "IvarKingOfDublin.ged"}) {
        std::string error;
        auto c = FormatString::OpenCollection(sharedFile(n), error);
        ASSERT_NE(c, nullptr) << n << ": " << error;
        ASSERT_TRUE(c->Open()) << n;
        c->AfterOpen();
        // Every record, as the views would read it.
        std::string all = gedtest::dumpAll(*c);
        EXPECT_FALSE(all.empty()) << n;
    }
    std::string error;
    EXPECT_EQ(FormatString::OpenCollection(sharedFile("utf16le.ged"), error), nullptr);
    EXPECT_EQ(error, "Error: Cannot read unicode GEDCOM file\r" + sharedFile("utf16le.ged"));
}

TEST(SampleFiles, KnownCounts) {
    GEDTEST_NEED_SHARED("royal92.ged");
    struct Expect {
        const char* file;
        int individuals, families, charSet;
    };
    for (const Expect& e : {Expect{"royal92.ged", 3010, 1422, 1}, Expect{"willis.ged", 761, 293, 2},
                            Expect{"willis-ansel.ged", 761, 293, 1}, Expect{"Queen.ged", 4683, 2863, 2},
                            Expect{"pres2020.ged", 2322, 1115, 2}, Expect{"washington.ged", 529, 114, 0},
                            Expect{"kennedy.ged", 208, 75, 2}}) {
        auto c = openShared(e.file);
        EXPECT_EQ(c->GetIndividualCount(), e.individuals) << e.file;
        EXPECT_EQ(c->GetMarriageCount(), e.families) << e.file;
        EXPECT_EQ(c->GetCharSet(), e.charSet) << e.file;
    }
}

TEST(SampleFiles, TortureTestLineEndsGiveTheSameRecords) {
    GEDTEST_NEED_SHARED("TGC55C.ged");
    auto cr = openShared("TGC55C.ged");
    auto crlf = openShared("TGC55CLF.ged");
    EXPECT_FALSE(cr->File().IsLFOnly());
    EXPECT_EQ(cr->GetIndividualCount(), 15);
    EXPECT_EQ(cr->GetMarriageCount(), 7);
    EXPECT_EQ(cr->GetNoteCount(), 35);
    EXPECT_EQ(cr->GetSourceCount(), 2);
    std::string a = gedtest::dumpAll(*cr), b = gedtest::dumpAll(*crlf);
    // The header names its own file; everything else is equal.
    auto strip = [](std::string s) {
        std::size_t p = s.find("H File name=");
        if (p != std::string::npos) s.erase(p, s.find('\n', p) - p);
        return s;
    };
    EXPECT_EQ(strip(a), strip(b));
    EXPECT_NE(a.find("given=Charlie Accented surname=ANSEL"), std::string::npos);
}

TEST(SampleFiles, RecordsAgreeWithTheFileText) {
    GEDTEST_NEED_SHARED("TGC55C.ged");
    for (const char* n :
         {"TGC55C.ged", "TGC55CLF.ged", "TGC551LF.ged", "allged.ged", "gramps-sample.ged", "royal92.ged"}) {
        SCOPED_TRACE(n);
        checkAgainstText(n);
    }
}

namespace {
// What the two exports of the same tree both say of an individual: names,
// sex, every event's kind, label, date and place, the families.
std::string coreOf(WABSCollection& c, std::int32_t i) {
    auto ind = c.GetIndividual(i);
    std::string r = ind->GetFullName(true) + "|" + ind->GetSex();
    for (int k = 1; k <= 4; ++k)
        if (auto e = ind->GetEvent(k, 1)) {
            r += "|" + std::to_string(k) + ":" + e->GetDateText() + "@" + e->GetPlaceText();
            // Inline sources of the citations; the exports wrap them differently, so blanks do not count.
            for (int n = 1; n <= e->GetCitationCount(); ++n)
                if (auto src = e->GetCitation(n)->GetSource())
                    if (src->GetRecordText().empty()) {
                        std::string t = src->GetTitle();
                        t.erase(std::remove(t.begin(), t.end(), ' '), t.end());
                        r += "[" + t + "]";
                    }
        }
    std::vector<std::string> others;
    for (int k = 1; k <= ind->GetEventCount(6); ++k) {
        auto e = ind->GetEvent(6, k);
        others.push_back(e->GetEventName() + ":" + e->GetDateText() + "@" + e->GetPlaceText());
    }
    std::sort(others.begin(), others.end());
    for (const auto& o : others) r += "|" + o;
    r += "|" + std::to_string(ind->GetParentFamilyCount()) + "/" + std::to_string(ind->GetSpouseFamilyCount());
    return r;
}
} // namespace

TEST(SampleFiles, AnselAndUtf8GiveTheSameTexts) {
    GEDTEST_NEED_SHARED("willis.ged");
    auto u = openShared("willis.ged");
    auto a = openShared("willis-ansel.ged");
    ASSERT_EQ(u->GetIndividualCount(), a->GetIndividualCount());
    int accented = 0;
    for (int i = 1; i <= u->GetIndividualCount(); ++i) {
        std::string xref = "I" + u->GetIndividual(i)->GetXRef();
        std::int32_t j = a->FindIndividualByXref(xref);
        ASSERT_GT(j, 0) << xref;
        std::string cu = coreOf(*u, i);
        EXPECT_EQ(cu, coreOf(*a, j)) << xref;
        for (char ch : cu) accented += static_cast<unsigned char>(ch) >= 0xC0;
    }
    // Source texts, by identifier; the exports wrap long texts at different
    // places, so blanks do not count.
    auto squeeze = [](std::string t) {
        t.erase(std::remove_if(t.begin(), t.end(), [](char ch) { return ch == ' ' || ch == '\r' || ch == '\n'; }),
                t.end());
        return t;
    };
    WXREFIndex* sources = u->XrefIndex(WGEDCollection::KindSource);
    ASSERT_EQ(u->GetSourceCount(), a->GetSourceCount());
    for (int s = 1; s <= u->GetSourceCount(); ++s) {
        std::string xref(sources->IdentifierAt(s));
        auto su = u->GetSource(sources->RecordAt(s));
        auto sa = a->GetSource(a->FindSourceByXref(xref));
        ASSERT_NE(sa, nullptr) << xref;
        std::string tu = squeeze(su->GetTitle() + "|" + su->GetAuthor() + "|" + su->GetPublication());
        EXPECT_EQ(tu, squeeze(sa->GetTitle() + "|" + sa->GetAuthor() + "|" + sa->GetPublication())) << xref;
        for (char ch : tu) accented += static_cast<unsigned char>(ch) >= 0xC0;
    }
    EXPECT_GT(accented, 0) << "no accented letters reached cp1252";
    auto ansel = openShared("ANSEL.GED");
    auto child6 = ansel->GetIndividual(ansel->FindIndividualByXref("CHILD6"));
    std::string place = child6->GetEventPlaceText(1, 1);
    ASSERT_EQ(place.size(), 26u);
    EXPECT_EQ(place[0], '\xC1');
    EXPECT_EQ(place[4], '\xC9');
}

TEST(SampleFiles, MalformedLinesAndDanglingPointers) {
    GEDTEST_NEED_SHARED("Queen.ged");
    auto c = openShared("Queen.ged");
    // Count the pointers that name no record, the way the link passes read them.
    auto recs = naiveRecords(sharedFile("Queen.ged"));
    int dangling = 0;
    for (const Record& r : recs)
        for (const Line& l : r.lines) {
            if (l.level != 1 || l.value.size() < 3 || l.value[0] != '@') continue;
            std::string x = l.value.substr(1, l.value.size() - 2);
            if ((l.tag == "FAMC" || l.tag == "FAMS") && !c->FindMarriageByXref(x)) ++dangling;
            if ((l.tag == "HUSB" || l.tag == "WIFE" || l.tag == "CHIL") && !c->FindIndividualByXref(x)) ++dangling;
        }
    EXPECT_EQ(dangling, 622);
    for (int f = 1; f <= c->GetMarriageCount(); ++f) {
        auto m = c->GetMarriage(f);
        for (int k = 1; k <= m->GetChildCount(); ++k) EXPECT_NE(c->GetIndividual(m->GetChild(k)), nullptr);
    }
}

TEST(SampleFiles, GeneratedPointersAllHaveTheirRecords) {
    const std::string gen = std::string(BRENTHAUL_BINARY_DIR) + "/gengedcom";
    ASSERT_TRUE(tsupport::fileExists(gen)) << "generator not built: " << gen;
    const tsupport::TempDir dir("brenthaul-gen");
    const std::string path = dir.file("gen_ptrs.ged");
    // Large enough that sources point to notes of their own.
    ASSERT_EQ(std::system((gen + " --quiet --individuals 10000 --out " + path).c_str()), 0);
    std::istringstream in(tsupport::readFile(path));
    std::set<std::string> records;
    std::vector<std::string> pointers;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto sp = line.find(' ');
        if (sp == std::string::npos) continue;
        if (line[0] == '0') {
            const auto end = line.find(' ', sp + 1);
            if (line[sp + 1] == '@') records.insert(line.substr(sp + 1, end - sp - 1));
            continue;
        }
        const auto val = line.find(' ', sp + 1);
        if (val != std::string::npos && line.size() > val + 2 && line[val + 1] == '@' && line.back() == '@' &&
            line.find('@', val + 2) == line.size() - 1)
            pointers.push_back(line.substr(val + 1));
    }
    ASSERT_GT(pointers.size(), 10000u);
    std::size_t notes = 0;
    for (const auto& p : pointers) {
        EXPECT_TRUE(records.count(p)) << p << " has no record";
        notes += p[1] == 'N';
    }
    EXPECT_GT(notes, 0u);
}

TEST(SampleFiles, GeneratedFilesInBothCharacterSets) {
    std::string gen = std::string(BRENTHAUL_BINARY_DIR) + "/gengedcom";
    ASSERT_TRUE(tsupport::fileExists(gen)) << "generator not built: " << gen;
    const tsupport::TempDir dir("brenthaul-gen");
    const std::string u = dir.file("gen_utf8.ged");
    const std::string a = dir.file("gen_ansel.ged");
    const std::string cr = dir.file("gen_cr.ged");
    ASSERT_EQ(std::system((gen + " --quiet --individuals 3000 --seed 7 --out " + u).c_str()), 0);
    const std::string first = tsupport::readFile(u);
    // The same arguments give the same bytes.
    ASSERT_EQ(std::system((gen + " --quiet --individuals 3000 --seed 7 --out " + u).c_str()), 0);
    EXPECT_EQ(tsupport::readFile(u), first);
    EXPECT_EQ(first.substr(first.size() - 8), "0 TRLR\r\n");
    ASSERT_EQ(std::system((gen + " --quiet --individuals 3000 --seed 7 --charset ANSEL --eol cr --out " + a).c_str()),
              0);
    ASSERT_EQ(std::system((gen + " --quiet --individuals 3000 --seed 7 --eol lf --bom --out " + cr).c_str()), 0);
    WGEDCollection cu(u), ca(a), cl(cr);
    ASSERT_TRUE(cu.Open() && ca.Open() && cl.Open());
    cu.AfterOpen();
    ca.AfterOpen();
    cl.AfterOpen();
    EXPECT_EQ(cu.GetIndividualCount(), 3000);
    EXPECT_EQ(cu.GetCharSet(), 2);
    EXPECT_EQ(ca.GetCharSet(), 1);
    auto body = [](WGEDCollection& c) {
        std::string s = gedtest::dumpAll(c);
        return s.substr(0, s.find("\nH "));
    };
    std::string du = body(cu);
    EXPECT_EQ(du, body(ca));
    EXPECT_EQ(du, body(cl));
    EXPECT_NE(du.find('\xE9'), std::string::npos);
    // Every family's spouses and children point back at it.
    for (int f = 1; f <= cu.GetMarriageCount(); ++f) {
        auto m = cu.GetMarriage(f);
        if (m->GetHusband()) {
            auto h = cu.GetIndividual(m->GetHusband());
            bool found = false;
            for (int k = 1; k <= h->GetSpouseFamilyCount(); ++k) found |= h->GetSpouseFamily(k) == f;
            EXPECT_TRUE(found) << f;
        }
        for (int k = 1; k <= m->GetChildCount(); ++k)
            EXPECT_EQ(cu.GetIndividual(m->GetChild(k))->GetParentFamily(1), f);
    }
}

TEST(SampleFiles, IndividualsReadInBulkReadAsOneByOne) {
    GEDTEST_NEED_SHARED("Queen.ged");
    for (const char* n : {"Queen.ged", "TGC55C.ged", "TGC55CLF.ged"}) {
        auto lazy = openShared(n);
        auto bulk = openShared(n);
        bulk->GetIndividual(2); // one already read: it keeps its lines
        bulk->PrepareAllIndividuals();
        EXPECT_TRUE(bulk->IndIndex()->GetEntry(bulk->GetIndividualCount()).flags & WGEDIndIndex::PositionsFilled);
        EXPECT_EQ(gedtest::dumpAll(*bulk), gedtest::dumpAll(*lazy)) << n;
    }
}
