#include "gedcom/GEDCollection.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <ctime>
#include <exception>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <vector>

#include "gedcom/GEDIndividual.h"
#include "gedcom/GEDMarriage.h"
#include "gedcom/GEDNote.h"
#include "gedcom/GEDRepo.h"
#include "gedcom/GEDSource.h"
#include "gedcom/GEDSubmitter.h"
#include "model/ABSNote.h"
#include "model/CharSet.h"
#include "model/DateTimeText.h"
#include "model/Global.h"
#include "model/StrFunc.h"
#include "platform/Hooks.h"
#include "platform/WorkerThreads.h"

namespace {

// Index kind of each record type of GetRecordType.
int kindOfType(int type) {
    switch (type) {
    case GEDRecordType::Individual: return WGEDCollection::KindIndividual;
    case GEDRecordType::Family: return WGEDCollection::KindFamily;
    case GEDRecordType::Note: return WGEDCollection::KindNote;
    case GEDRecordType::Source: return WGEDCollection::KindSource;
    case GEDRecordType::Submission: return WGEDCollection::KindSubmission;
    case GEDRecordType::Repository: return WGEDCollection::KindRepository;
    case GEDRecordType::Object: return WGEDCollection::KindObject;
    default: return WGEDCollection::KindSubmitter;
    }
}

// Every line break (CR LF, LF, CR) as CR LF.
std::string adjustLineBreaks(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 16);
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// Days from 30 December 1899 to a calendar date (proleptic Gregorian).
long daysSince1899(int y, int m, int d) {
    auto civil = [](long yy, long mm, long dd) {
        yy -= mm <= 2;
        long era = (yy >= 0 ? yy : yy - 399) / 400;
        long yoe = yy - era * 400;
        long doy = (153 * (mm + (mm > 2 ? -3 : 9)) + 2) / 5 + dd - 1;
        long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        return era * 146097 + doe - 719468;
    };
    return civil(y, m, d) - civil(1899, 12, 30);
}

} // namespace

bool WGEDCollection::Open() {
    if (!m_file) return false;
    std::int64_t size = m_file->GetSize();
    std::int32_t indCapacity = std::int32_t(std::max<std::int64_t>(size / 150, 1024));
    std::int32_t famCapacity = std::int32_t(std::max<std::int64_t>(size / 400, 1024));
    m_indIndex = std::make_unique<WGEDIndIndex>(std::string(), indCapacity);
    m_xrefs[KindIndividual] = std::make_unique<WXREFIndex>(std::string(), indCapacity);
    m_offsets[KindFamily] = std::make_unique<WOffsetIndex>(std::string(), famCapacity);
    m_xrefs[KindFamily] = std::make_unique<WXREFIndex>(std::string(), famCapacity);
    for (int k = KindNote; k <= KindCount; ++k) {
        m_offsets[std::size_t(k)] = std::make_unique<WOffsetIndex>(std::string(), 0);
        m_xrefs[std::size_t(k)] = std::make_unique<WXREFIndex>(std::string(), 0);
    }
    if (plat::cancelRequested() || !indexPass()) return false;
    if (plat::cancelRequested() || !buildLinks()) return false;
    m_charSet = ReadCharSet();
    return !plat::cancelRequested();
}

unsigned WGEDCollection::s_threads = 0;
void (*WGEDCollection::s_readHook)() = nullptr;

namespace {
// 32-bit words kept in blocks mapped on their own. Drained, each block goes
// back to the system as soon as it has been read: the noted records give
// their memory back while the index fills.
class WordBlocks {
public:
    static constexpr std::size_t BlockWords = std::size_t(1) << 16;

    WordBlocks() = default;
    WordBlocks(WordBlocks&& o) noexcept { swap(o); }
    WordBlocks& operator=(WordBlocks&& o) noexcept {
        swap(o);
        return *this;
    }
    ~WordBlocks() { clear(); }

    void push_back(std::uint32_t w) {
        if (m_size % BlockWords == 0) {
            void* p = mmap(nullptr, BlockWords * sizeof w, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (p == MAP_FAILED) throw std::bad_alloc();
            m_blocks.push_back(static_cast<std::uint32_t*>(p));
        }
        m_blocks.back()[m_size++ % BlockWords] = w;
    }
    // fn on every word in order until it gives false.
    template <class Fn>
    bool forEach(Fn fn) {
        for (std::size_t i = 0; i < m_size; ++i)
            if (!fn(m_blocks[i / BlockWords][i % BlockWords])) return false;
        return true;
    }
    template <class Fn>
    bool forEach(Fn fn) const {
        for (std::size_t i = 0; i < m_size; ++i)
            if (!fn(std::uint32_t(m_blocks[i / BlockWords][i % BlockWords]))) return false;
        return true;
    }
    // fn on every word in order until it gives false; the words are gone after.
    template <class Fn>
    bool drain(Fn fn) {
        bool ok = true;
        for (std::size_t b = 0; b < m_blocks.size() && ok; ++b) {
            const std::size_t n = std::min(BlockWords, m_size - b * BlockWords);
            for (std::size_t i = 0; i < n && ok; ++i) ok = fn(m_blocks[b][i]);
            munmap(m_blocks[b], BlockWords * sizeof(std::uint32_t));
            m_blocks[b] = nullptr;
        }
        clear();
        return ok;
    }
    void clear() {
        for (std::uint32_t* b : m_blocks)
            if (b) munmap(b, BlockWords * sizeof(std::uint32_t));
        m_blocks.clear();
        m_size = 0;
    }

private:
    void swap(WordBlocks& o) noexcept {
        m_blocks.swap(o.m_blocks);
        std::swap(m_size, o.m_size);
    }
    std::vector<std::uint32_t*> m_blocks;
    std::size_t m_size = 0;
};

// A noted link line: its offset, or once resolved the record it names
// (0 for none) and its tag. Before the lines of each owner stands a word
// with OwnerMark set and the owner's number: first in its stretch, then in
// the file. Offsets stay below 2 GiB, where the files stop.
constexpr std::uint32_t OwnerMark = 0x80000000u;
constexpr std::uint32_t TargetMask = (1u << 29) - 1;
constexpr int TagShift = 29;
enum LinkTag : std::uint32_t { TagFamc = 0, TagFams = 1, TagChil = 0, TagHusb = 1, TagWife = 2 };
} // namespace

struct WGEDCollection::Stretch {
    // Each record as two words: its level-0 line's offset, then its kind (4
    // bits), where its identifier starts in the line (8 bits; NoSkip: look it
    // up again) and the identifier's length (20 bits).
    static constexpr std::uint32_t NoSkip = 255;
    static constexpr std::uint32_t MaxLength = (1u << 20) - 1;

    const char* from = nullptr;
    const char* to = nullptr;
    WordBlocks records;
    // Link lines of individuals and families in file order, with their owners.
    WordBlocks indLinks, famLinks;
    // Of each kind: records here, the first and last identifier, whether one
    // sorts before the one before it, and the records in earlier stretches.
    std::array<std::int32_t, KindCount + 1> found{};
    std::array<std::string_view, KindCount + 1> firstXref{}, lastXref{};
    std::array<bool, KindCount + 1> outOfOrder{};
    std::array<bool, KindCount + 1> unnumbered{}; // an identifier not ending in its record number
    std::array<std::int32_t, KindCount + 1> before{};
    // Identifiers too long for the index records, for one thread to add.
    struct LongXref {
        int kind;
        std::int32_t n;
        std::string_view xref;
    };
    std::vector<LongXref> longXrefs;
    bool ended = false; // the trailer is in this stretch
    std::exception_ptr error;
};

// The constructor and destructor make and free the stretch list, so they stand
// where Stretch is complete.
WGEDCollection::WGEDCollection(const std::string& fileName) {
    m_fileKind = 1;
    m_fileName = fileName;
    m_file = std::make_unique<WGEDTextMMF>(fileName);
}

WGEDCollection::~WGEDCollection() {
    // Link tables and indexes go before the mapping they were read from.
    m_famLinks.reset();
    m_indLinks.reset();
    for (auto& x : m_xrefs) x.reset();
    for (auto& o : m_offsets) o.reset();
    m_indIndex.reset();
    m_file.reset();
}

template <class Fn>
void WGEDCollection::onStretches(Fn fn) {
    if (m_stretches.empty()) return;
    auto run = [&](std::size_t i, bool here) {
        try {
            fn(m_stretches[i], here);
        } catch (...) {
            m_stretches[i].error = std::current_exception();
            m_stop = true;
        }
    };
    std::mutex lock;
    std::condition_variable ended;
    std::size_t running = 0;
    std::vector<std::thread> pool;
    pool.reserve(m_stretches.size());
    std::size_t started = 0;
    if (m_stretches.size() > 1) {
        try {
            for (; started < m_stretches.size(); ++started) {
                {
                    std::lock_guard<std::mutex> g(lock);
                    ++running;
                }
                pool.emplace_back([&, i = started] {
                    run(i, false);
                    std::lock_guard<std::mutex> g(lock);
                    --running;
                    ended.notify_one();
                });
            }
        } catch (const std::system_error&) {
            std::lock_guard<std::mutex> g(lock);
            --running;
        }
    }
    // No thread to be had (or one stretch only): this one walks the rest.
    for (std::size_t i = started; i < m_stretches.size(); ++i) run(i, true);
    // Meanwhile the window's messages go on being let in, so the wait dialog
    // shows and its Cancel stops every stretch.
    std::unique_lock<std::mutex> waiting(lock);
    while (running > 0 && !m_stop) {
        waiting.unlock();
        plat::processMessages();
        if (plat::cancelRequested()) m_stop = true;
        waiting.lock();
        ended.wait_for(waiting, PumpPeriod, [&] { return running == 0; });
    }
    waiting.unlock();
    for (auto& t : pool) t.join();
    for (auto& s : m_stretches)
        if (s.error) std::rethrow_exception(s.error);
}

bool WGEDCollection::goOn(bool here) const {
    if (here && plat::cancelRequested()) m_stop = true;
    return !m_stop.load(std::memory_order_relaxed);
}

void WGEDCollection::walkStretch(Stretch& s, bool here) const {
    // One walk over every line. A level-0 line is a record when its '0' is
    // the first byte after a line end; any line whose first non-blank byte is
    // '0' ends the lines that belong to the record before it. The link lines
    // of individuals and families are noted on the way, so the link passes
    // need not read the records again.
    const WGEDTextMMF& f = *m_file;
    const char* base = f.Begin();
    const char* end = s.to;
    std::int32_t count = 0;
    int ownerKind = 0;
    std::int32_t marked = 0; // the owner whose mark was written last
    const char* p = s.from;
    while (p < end) {
        bool indented = false;
        while (p < end) {
            char c = *p;
            if (c == '\r' || c == '\n')
                indented = false;
            else if (c == ' ' || c == '\t')
                indented = true;
            else
                break;
            ++p;
        }
        if (p >= end) break;
        const char* line = p;
        if (*line == '0') {
            ownerKind = 0;
            if (!indented) {
                marked = 0;
                if (auto xref = f.GetXREF(f.At(line, 2), false)) {
                    if (count++ % PumpInterval == 0) {
                        if (here) plat::processMessages();
                        if (s_readHook) s_readHook();
                    }
                    if (!goOn(here)) return;
                    int kind = kindOfType(f.GetRecordType(line));
                    std::size_t skip = std::size_t(xref->data() - line);
                    bool fits = skip < Stretch::NoSkip && xref->size() <= Stretch::MaxLength;
                    s.records.push_back(std::uint32_t(line - base));
                    s.records.push_back(std::uint32_t(kind) | std::uint32_t(fits ? skip : Stretch::NoSkip) << 4 |
                                        std::uint32_t(fits ? xref->size() : 0) << 12);
                    if (s.found[kind]++ == 0)
                        s.firstXref[kind] = *xref;
                    else if (WXREFIndex::OutOfOrder(s.lastXref[kind], *xref))
                        s.outOfOrder[kind] = true;
                    s.lastXref[kind] = *xref;
                    ownerKind = kind;
                } else if (WGEDTextMMF::IsBlank(char(f.WordAt(line) >> 8)) &&
                           (f.TagWord(line) & 0xFFFF) == (GEDTags::TRLR & 0xFFFF)) {
                    // The trailer "0 TR...", which has no pointer; its tag may follow a run of blanks.
                    s.ended = true;
                    break;
                }
            }
        } else if (*line == '1' && ownerKind) {
            std::uint32_t tag = f.TagWord(line);
            WordBlocks* links = nullptr;
            if (ownerKind == KindIndividual && (tag == GEDTags::FAMC || tag == GEDTags::FAMS))
                links = &s.indLinks;
            else if (ownerKind == KindFamily && (tag == GEDTags::HUSB || tag == GEDTags::WIFE || tag == GEDTags::CHIL))
                links = &s.famLinks;
            if (links) {
                if (marked != s.found[ownerKind]) {
                    marked = s.found[ownerKind];
                    links->push_back(OwnerMark | std::uint32_t(marked));
                }
                links->push_back(std::uint32_t(line - base));
            }
        }
        p = f.LineEnd(line);
    }
}

bool WGEDCollection::indexPass() {
    const WGEDTextMMF& f = *m_file;
    const char* base = f.Begin();
    const char* end = f.End();
    m_header = static_cast<const char*>(std::memchr(base, '0', std::size_t(end - base)));
    m_stretches.clear();
    m_stop = false;
    if (!m_header) return true;
    const char* start = f.LineEnd(m_header);
    // Stretches start at a '0' right after a line end: a record line, where
    // a walk from the file's start is sure to have forgotten the record before.
    std::size_t want = s_threads;
    if (want == 0) want = plat::WorkerThreads(std::size_t(end - start) / (1 << 20) + 1);
    std::vector<const char*> cuts{start};
    for (std::size_t t = 1; t < want; ++t) {
        const char* q = std::max(start + (end - start) * std::ptrdiff_t(t) / std::ptrdiff_t(want), cuts.back() + 1);
        while (q < end) {
            q = static_cast<const char*>(std::memchr(q, '0', std::size_t(end - q)));
            if (!q || WTextMMF::IsLineEnd(q[-1])) break;
            ++q;
        }
        if (!q || q >= end) break;
        cuts.push_back(q);
    }
    m_stretches.resize(cuts.size());
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        m_stretches[i].from = cuts[i];
        m_stretches[i].to = i + 1 < cuts.size() ? cuts[i + 1] : end;
    }
    onStretches([&](Stretch& s, bool here) { walkStretch(s, here); });
    if (m_stop) return false;
    // The stretches up to the trailer, numbered in file order; then every
    // stretch writes its records into the indexes at once.
    std::array<std::int32_t, KindCount + 1> counts{};
    std::array<std::string_view, KindCount + 1> last{};
    std::array<bool, KindCount + 1> outOfOrder{};
    std::size_t used = 0;
    while (used < m_stretches.size()) {
        Stretch& s = m_stretches[used++];
        s.before = counts;
        for (int k = 1; k <= KindCount; ++k) {
            if (s.found[k] == 0) continue;
            if (s.outOfOrder[k] || (counts[k] > 0 && WXREFIndex::OutOfOrder(last[k], s.firstXref[k])))
                outOfOrder[k] = true;
            last[k] = s.lastXref[k];
            counts[k] += s.found[k];
        }
        if (s.ended) break;
    }
    m_stretches.erase(m_stretches.begin() + std::ptrdiff_t(used), m_stretches.end());
    m_indIndex->ExtendCount(counts[KindIndividual]);
    for (int k = 1; k <= KindCount; ++k) {
        if (k != KindIndividual) m_offsets[k]->ExtendCount(counts[k]);
        m_xrefs[k]->ExtendCount(counts[k]);
    }
    onStretches([&](Stretch& s, bool here) {
        std::array<std::int32_t, KindCount + 1> n = s.before;
        std::uint32_t offset = 0;
        std::size_t word = 0;
        s.records.drain([&](std::uint32_t w) {
            if (word++ % 2 == 0) {
                offset = w;
                return goOn(here);
            }
            const char* line = base + offset;
            const int kind = int(w & 15);
            const std::uint32_t skip = w >> 4 & 255;
            std::string_view xref =
                skip != Stretch::NoSkip ? std::string_view(line + skip, w >> 12) : *f.GetXREF(f.At(line, 2), false);
            std::int32_t at = ++n[kind];
            if (kind == KindIndividual)
                m_indIndex->Put(at, offset);
            else
                m_offsets[kind]->Put(at, offset);
            if (!m_xrefs[kind]->Put(at, xref)) s.longXrefs.push_back({kind, at, xref});
            if (!WXREFIndex::Numbered(xref, at)) s.unnumbered[kind] = true;
            return true;
        });
    });
    if (m_stop) return false;
    for (Stretch& s : m_stretches) {
        for (const auto& l : s.longXrefs) m_xrefs[std::size_t(l.kind)]->PutLong(l.n, l.xref);
        std::vector<Stretch::LongXref>().swap(s.longXrefs);
    }
    for (int k = 1; k <= KindCount; ++k) {
        bool numbered = true;
        for (const Stretch& s : m_stretches) numbered = numbered && !s.unnumbered[k];
        m_xrefs[k]->EndPuts(outOfOrder[k], numbered);
    }
    if (plat::cancelRequested()) return false;
    for (int k = 1; k <= KindCount; ++k) m_xrefs[std::size_t(k)]->Prepare();
    return !plat::cancelRequested();
}

void WGEDCollection::resolveLinks(Stretch& s, bool here) const {
    const WGEDTextMMF& f = *m_file;
    const char* base = f.Begin();
    auto resolve = [&](WordBlocks& links, int kind, int targetKind, auto tagOf) {
        return links.forEach([&](std::uint32_t& w) {
            if (w & OwnerMark) {
                w = OwnerMark | std::uint32_t(s.before[kind] + std::int32_t(w & ~OwnerMark));
                return goOn(here);
            }
            const char* line = base + w;
            auto xref = f.GetXREF(f.At(line, 6), false);
            std::int32_t target = xref ? FindXref(targetKind, *xref) : 0;
            w = std::uint32_t(std::max(target, 0)) | tagOf(f.TagWord(line)) << TagShift;
            return true;
        });
    };
    if (!resolve(s.indLinks, KindIndividual, KindFamily,
                 [](std::uint32_t tag) { return tag == GEDTags::FAMC ? TagFamc : TagFams; }))
        return;
    resolve(s.famLinks, KindFamily, KindIndividual, [](std::uint32_t tag) {
        return tag == GEDTags::CHIL ? TagChil : tag == GEDTags::HUSB ? TagHusb : TagWife;
    });
}

void WGEDCollection::fillLinks(Stretch& s, bool here, WIndLinks::Filler& people, WFamLinks::Filler& families,
                               std::vector<std::atomic<std::size_t>>& readers) {
    // The records of this stretch are filled here, and only here: first the
    // families, from the FAMC lines of every stretch that name them (in file
    // order, so their children stand in the order of the individuals) and
    // then from their own lines; then the individuals, from their own lines
    // and then from the family lines of every stretch that name them. So each
    // row gets its links in the order of the two passes over the whole file.
    const std::int32_t firstFamily = s.before[KindFamily] + 1, lastFamily = s.before[KindFamily] + s.found[KindFamily];
    const std::int32_t firstPerson = s.before[KindIndividual] + 1,
                       lastPerson = s.before[KindIndividual] + s.found[KindIndividual];
    // fn(owner, tag, target) on every resolved line; false when stopped. The
    // window's messages are let in every PumpInterval owners read here.
    std::int32_t count = 0;
    auto each = [&](const WordBlocks& lines, auto fn) {
        std::int32_t owner = 0;
        return lines.forEach([&](std::uint32_t w) {
            if (w & OwnerMark) {
                owner = std::int32_t(w & ~OwnerMark);
                if (here && count++ % PumpInterval == 0) plat::processMessages();
                return goOn(here);
            }
            const std::int32_t target = std::int32_t(w & TargetMask);
            if (owner > 0 && target > 0) fn(owner, w >> TagShift, target);
            return true;
        });
    };
    // The individuals' lines of a stretch are read here once, and once more
    // by its own filler; whoever reads them last lets them go.
    auto doneWith = [&](Stretch& other) {
        if (readers[std::size_t(&other - m_stretches.data())].fetch_sub(1) == 1) other.indLinks.clear();
    };
    m_famLinks->PrepareWrite(firstFamily, lastFamily);
    for (Stretch& other : m_stretches) {
        if (!each(other.indLinks, [&](std::int32_t ind, std::uint32_t tag, std::int32_t fam) {
                if (tag == TagFamc && fam >= firstFamily && fam <= lastFamily) families.AddChild(fam, ind);
            }))
            return;
        doneWith(other);
    }
    if (!each(s.famLinks, [&](std::int32_t fam, std::uint32_t tag, std::int32_t ind) {
            if (tag == TagChil)
                families.AddChild(fam, ind);
            else if (tag == TagHusb)
                families.SetHusband(fam, ind);
            else
                families.SetWife(fam, ind);
        }))
        return;
    m_indLinks->PrepareWrite(firstPerson, lastPerson);
    if (!each(s.indLinks, [&](std::int32_t ind, std::uint32_t tag, std::int32_t fam) {
            if (tag == TagFamc)
                people.AddParentFamily(ind, 7, 1, fam);
            else
                people.AddSpouseFamily(ind, fam);
        }))
        return;
    doneWith(s);
    for (const Stretch& other : m_stretches)
        if (!each(other.famLinks, [&](std::int32_t fam, std::uint32_t tag, std::int32_t ind) {
                if (ind < firstPerson || ind > lastPerson) return;
                if (tag == TagChil)
                    people.AddParentFamily(ind, 7, 1, fam);
                else
                    people.AddSpouseFamily(ind, fam);
            }))
            return;
}

bool WGEDCollection::buildLinks() {
    m_famLinks.reset();
    m_indLinks.reset();
    // The lookups run on every stretch at once, and so does the filling.
    onStretches([&](Stretch& s, bool here) { resolveLinks(s, here); });
    m_indLinks = std::make_unique<WIndLinks>(std::string(), GetIndividualCount());
    m_famLinks = std::make_unique<WFamLinks>(std::string(), GetMarriageCount());
    if (m_stop) {
        m_stretches.clear();
        return false;
    }
    std::vector<WIndLinks::Filler> people;
    std::vector<WFamLinks::Filler> families;
    for (std::size_t i = 0; i < m_stretches.size(); ++i) {
        people.emplace_back(*m_indLinks);
        families.emplace_back(*m_famLinks);
    }
    auto at = [&](const Stretch& s) { return std::size_t(&s - m_stretches.data()); };
    std::vector<std::atomic<std::size_t>> readers(m_stretches.size());
    for (auto& r : readers) r = m_stretches.size() + 1;
    onStretches([&](Stretch& s, bool here) { fillLinks(s, here, people[at(s)], families[at(s)], readers); });
    // The noted lines are not needed again.
    for (Stretch& s : m_stretches) {
        s.indLinks.clear();
        s.famLinks.clear();
    }
    bool ok = !m_stop;
    if (ok) {
        // The fillers' chain nodes go into the pools in stretch order, each
        // filler's copied in by its own thread and let go as it is copied.
        std::vector<std::array<std::int32_t, 3>> bases;
        for (std::size_t i = 0; i < people.size(); ++i)
            bases.push_back({m_famLinks->ReserveNodes(families[i].NodeCount()),
                             m_indLinks->ReserveParentNodes(people[i].ParentNodeCount()),
                             m_indLinks->ReserveSpouseNodes(people[i].SpouseNodeCount())});
        onStretches([&](Stretch& s, bool) {
            const std::size_t i = at(s);
            families[i].Place(bases[i][0]);
            people[i].Place(bases[i][1], bases[i][2]);
        });
        ok = !m_stop;
    }
    m_stretches.clear();
    return ok;
}

void WGEDCollection::AfterOpen() {
    // Families are read on many threads at once; individuals, whose index
    // entries fill on first use, only on this one.
    const std::int32_t n = GetIndividualCount();
    if (m_indLinks)
        m_indLinks->SortSpouseFamilies(*this, s_threads ? s_threads : plat::WorkerThreads(std::size_t(n) / 16384 + 1));
}

const char* WGEDCollection::headerLine(std::uint32_t tag) const {
    if (!m_header) return nullptr;
    for (const char* line = m_file->NextLine(m_header); line && *line != '0'; line = m_file->NextLine(line))
        if (*line == '1' && m_file->TagWord(line) == tag) return line;
    return nullptr;
}

std::uint8_t WGEDCollection::ReadCharSet() const {
    const char* line = headerLine(GEDTags::CHAR);
    if (!line) return 0;
    std::string v = Global::ToUpper(abs_text::Trim(m_file->GetValue(m_file->At(line, 6))));
    if (v == "ANSEL") return 1;
    if (v == "UTF-8") return 2;
    return 0;
}

std::string WGEDCollection::ConvertText(std::string_view text) const {
    // Plain ASCII reads the same in every character set.
    if (m_charSet == 1 || m_charSet == 2) {
        const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return u != 0 && u < 0x80;
        });
        if (plain) return std::string(text);
    }
    switch (m_charSet) {
    case 1: return StrFunc::AnselToAnsi(std::string(text));
    case 2: return StrFunc::Utf8ToAnsi(std::string(text));
    default: return std::string(text);
    }
}

std::unique_ptr<WDate> WGEDCollection::MakeDate(std::string_view value) const {
    return std::make_unique<WDate>(ConvertText(value));
}

std::int32_t WGEDCollection::FindXref(int kind, std::string_view xref) const {
    if (kind < 1 || kind > KindCount || !m_xrefs[std::size_t(kind)]) return 0;
    return m_xrefs[std::size_t(kind)]->Find(xref);
}

std::int32_t WGEDCollection::CountOf(int kind) const {
    if (kind < 1 || kind > KindCount || !m_xrefs[std::size_t(kind)]) return 0;
    return m_xrefs[std::size_t(kind)]->Count();
}

WOffsetIndex* WGEDCollection::OffsetIndex(int kind) const {
    return kind >= 2 && kind <= KindCount ? m_offsets[std::size_t(kind)].get() : nullptr;
}

WXREFIndex* WGEDCollection::XrefIndex(int kind) const {
    return kind >= 1 && kind <= KindCount ? m_xrefs[std::size_t(kind)].get() : nullptr;
}

const char* WGEDCollection::RecordPointer(int kind, std::int32_t n) const {
    std::uint32_t offset;
    if (kind == KindIndividual) {
        if (!m_indIndex) throw EIndexError(n);
        offset = m_indIndex->GetOffset(n);
    } else {
        WOffsetIndex* index = OffsetIndex(kind);
        if (!index) throw EIndexError(n);
        offset = index->GetOffset(n);
    }
    return m_file->Begin() + offset;
}

WGEDIndIndex::Entry& WGEDCollection::IndividualEntry(std::int32_t n) {
    if (!m_indIndex) throw EIndexError(n);
    WGEDIndIndex::Entry& e = m_indIndex->GetEntry(n);
    if (!(e.flags & WGEDIndIndex::PositionsFilled))
        WGEDIndividual::FillEntry(*m_file, m_file->Begin() + e.offset, e, m_indIndex->PositionsOf(e));
    return e;
}

void WGEDCollection::PrepareAllIndividuals() {
    if (!m_indIndex || !m_file) return;
    const std::int32_t n = m_indIndex->Count();
    // Side-table places first, here; then the reading of the records, which
    // touches nothing shared, is split among threads.
    std::vector<std::int32_t> todo;
    for (std::int32_t i = 1; i <= n; ++i) {
        WGEDIndIndex::Entry& e = m_indIndex->GetEntry(i);
        if (e.flags & WGEDIndIndex::PositionsFilled) continue;
        m_indIndex->PositionsOf(e);
        todo.push_back(i);
    }
    if (todo.empty()) return;
    m_file->IsLFOnly(); // worked out once, before the threads read it
    const std::size_t threads = plat::WorkerThreads(todo.size() / 4096 + 1);
    auto fill = [&](std::size_t part) {
        const std::size_t from = todo.size() * part / threads, to = todo.size() * (part + 1) / threads;
        for (std::size_t k = from; k < to; ++k) {
            WGEDIndIndex::Entry& e = m_indIndex->GetEntry(todo[k]);
            WGEDIndividual::FillEntry(*m_file, m_file->Begin() + e.offset, e, m_indIndex->PositionsOf(e));
        }
    };
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(fill, t);
    fill(0);
    for (auto& t : pool) t.join();
}

// --- records ---

std::unique_ptr<WABSIndividual> WGEDCollection::MakeIndividual(std::int32_t n) {
    return std::make_unique<WGEDIndividual>(*this, n);
}

std::unique_ptr<WABSMarriage> WGEDCollection::MakeMarriage(std::int32_t n) {
    return std::make_unique<WGEDMarriage>(*this, n);
}

std::unique_ptr<WABSNote> WGEDCollection::MakeNote(std::int32_t n) {
    return std::make_unique<WGEDNote>(*this, OffsetIndex(KindNote)->GetOffset(n), *m_file);
}

std::unique_ptr<WABSSource> WGEDCollection::MakeSource(std::int32_t n) {
    return std::make_unique<WGEDSource>(*this, OffsetIndex(KindSource)->GetOffset(n), *m_file);
}

std::unique_ptr<WABSRepo> WGEDCollection::MakeRepository(std::int32_t n) {
    // A file without repository records has none to give, whatever else it holds.
    if (GetRepositoryCount() == 0) return nullptr;
    return std::make_unique<WGEDRepo>(*this, OffsetIndex(KindRepository)->GetOffset(n), *m_file);
}

std::unique_ptr<WABSSubmitter> WGEDCollection::GetSubmitter() {
    const char* line = headerLine(GEDTags::SUBM);
    if (!line) return nullptr;
    auto xref = m_file->GetXREF(m_file->At(line, 7), false);
    std::int32_t n = xref ? FindXref(KindSubmitter, *xref) : 0;
    if (n <= 0) return nullptr;
    return std::make_unique<WGEDSubmitter>(*this, *m_file, RecordPointer(KindSubmitter, n));
}

// --- header ---

WABSCollection::FileInfo WGEDCollection::GetFileInfo() {
    FileInfo rows;
    if (!m_header) return rows;
    const WGEDTextMMF& f = *m_file;
    auto add = [&](const char* label, std::string value) {
        if (rows.size() < MaxHeaderRows) rows.emplace_back(label, std::move(value));
    };
    auto value = [&](const char* line) { return ConvertText(abs_text::Trim(f.GetValue(f.At(line, 7)))); };
    for (const char* line = f.NextLine(m_header); line && *line != '0'; line = f.NextLine(line)) {
        if (*line != '1') continue;
        switch (f.TagWord(line)) {
        case GEDTags::SOUR:
            add("Application", value(line));
            for (const char* sub = f.NextLine(line); sub && *sub != '0' && *sub != '1'; sub = f.NextLine(sub)) {
                switch (f.TagWord(sub)) {
                case GEDTags::NAME: add("Application Name", value(sub)); break;
                case GEDTags::VERS: add("Application Version", value(sub)); break;
                case GEDTags::CORP: add("Application Corp.", value(sub)); break;
                case GEDTags::ADDR: add("Application Address", value(sub)); break;
                default: break;
                }
            }
            break;
        case GEDTags::DEST: add("Destination", value(line)); break;
        case GEDTags::DATE: {
            std::string v = value(line);
            const char* next = f.NextLine(line);
            if (next && f.TagWord(next) == GEDTags::TIME) v += " " + abs_text::Trim(f.GetValue(f.At(next, 7)));
            add("Date", v);
            break;
        }
        case GEDTags::FILE: add("File name", value(line)); break;
        case GEDTags::GEDC:
            for (const char* sub = f.NextLine(line); sub && *sub != '0' && *sub != '1'; sub = f.NextLine(sub)) {
                if (*sub != '2') continue;
                if (f.TagWord(sub) == GEDTags::VERS)
                    add("GEDC Version", value(sub));
                else if (f.TagWord(sub) == GEDTags::FORM)
                    add("GEDC Form", value(sub));
            }
            break;
        case GEDTags::CHAR: add("Char Set", value(line)); break;
        default: break;
        }
    }
    return rows;
}

std::string WGEDCollection::GetHeaderText() {
    if (!m_header) return {};
    std::string_view raw = m_file->RecordView(m_header);
    if (m_file->IsLFOnly()) return ConvertText(adjustLineBreaks(raw));
    return ConvertText(raw);
}

void WGEDCollection::Flush() {
    if (m_file) m_file->Flush();
}

std::string WGEDCollection::GetFileSizeText() { return StrFunc::FormatThousands(m_file ? m_file->GetSize() : 0); }

std::string WGEDCollection::GetFileDateText() {
    struct stat st {};
    if (!m_file || fstat(m_file->GetHandle(), &st) != 0) return {};
    std::time_t t = st.st_mtime;
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return {};
    double value = double(daysSince1899(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday)) +
                   (tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec) / 86400.0;
    return DateTimeText::FormatDateTime("dd mmm yyyy, h:mm AM/PM", value);
}

// --- links ---

std::int32_t WGEDCollection::LinkParentFamilyCount(std::int32_t individual) {
    return m_indLinks ? m_indLinks->GetParentFamilyCount(individual) : 0;
}

std::int32_t WGEDCollection::LinkParentFamily(std::int32_t individual, std::int32_t k) {
    return m_indLinks ? m_indLinks->GetParentFamily(individual, k) : 0;
}

std::int32_t WGEDCollection::LinkSpouseFamilyCount(std::int32_t individual) {
    return m_indLinks ? m_indLinks->GetSpouseFamilyCount(individual) : 0;
}

std::int32_t WGEDCollection::LinkSpouseFamily(std::int32_t individual, std::int32_t k) {
    return m_indLinks ? m_indLinks->GetSpouseFamily(individual, k) : 0;
}

std::int32_t WGEDCollection::LinkHusband(std::int32_t family) {
    return m_famLinks ? m_famLinks->GetHusband(family) : 0;
}
std::int32_t WGEDCollection::LinkWife(std::int32_t family) { return m_famLinks ? m_famLinks->GetWife(family) : 0; }

std::int32_t WGEDCollection::LinkChildCount(std::int32_t family) {
    return m_famLinks ? m_famLinks->GetChildCount(family) : 0;
}

std::int32_t WGEDCollection::LinkChild(std::int32_t family, std::int32_t n) {
    return m_famLinks ? m_famLinks->GetChild(family, n) : 0;
}

void WGEDCollection::LinkChildren(std::int32_t family, std::vector<std::int32_t>& children) {
    children.clear();
    if (m_famLinks) m_famLinks->GetChildren(family, children);
}

char WGEDCollection::LinkSex(std::int32_t individual) {
    if (!IndividualExists(individual)) return '\0';
    return char(IndividualEntry(individual).sex);
}

void WGEDCollection::LinkSortChildren(std::int32_t family) {
    if (m_famLinks) m_famLinks->SortChildren(family, this);
}
