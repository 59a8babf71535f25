#pragma once
// The collection of one GEDCOM file: the file mapped read-only, one pass over
// its level-0 records that builds offset and identifier indexes per kind of
// record, two link passes (individuals, then families), the character set of
// the header, and record objects made on request from the stored offsets.
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gedcom/GEDIndIndex.h"
#include "gedcom/GEDTextMMF.h"
#include "gedcom/IndLinks.h"
#include "gedcom/OffsetIndex.h"
#include "gedcom/XREFIndex.h"
#include "model/ABSCollection.h"
#include "model/FamLinks.h"

class WDate;

// A record whose text cannot be found.
class EMemoryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class WGEDCollection : public WABSCollection {
public:
    // Index kinds of the level-0 records.
    enum Kind : int {
        KindIndividual = 1,
        KindFamily = 2,
        KindNote = 3,
        KindSource = 4,
        KindSubmitter = 5, // SUBM and every tag not listed
        KindSubmission = 6,
        KindRepository = 7,
        KindObject = 8,
    };
    static constexpr int KindCount = 8;
    // Header information rows kept at most.
    static constexpr std::size_t MaxHeaderRows = 256;
    // The wait dialog gets a look-in after every this many records that this
    // thread reads, and every PumpPeriod while other threads read the file.
    static constexpr std::int32_t PumpInterval = 500;
    static constexpr std::chrono::milliseconds PumpPeriod{10};

    // Maps the file (the mapped-file error when it cannot be); nothing indexed.
    explicit WGEDCollection(const std::string& fileName);
    ~WGEDCollection() override;

    // Indexes and links the file and reads its character set; false when the
    // wait dialog's Cancel was pressed.
    bool Open() override;
    // Puts every individual's spouse families in order.
    void AfterOpen() override;
    // Finds the lines of every individual not yet read, on every usable CPU.
    void PrepareAllIndividuals() override;
    bool ReadsOnManyThreads() const override { return true; }

    void Flush() override;
    std::string GetFileSizeText() override;
    std::string GetFileDateText() override;
    std::unique_ptr<WABSSubmitter> GetSubmitter() override;
    std::int32_t GetIndividualCount() override { return CountOf(KindIndividual); }
    std::int32_t GetMarriageCount() override { return CountOf(KindFamily); }
    std::int32_t GetNoteCount() override { return CountOf(KindNote); }
    std::int32_t GetSourceCount() override { return CountOf(KindSource); }
    std::int32_t GetRepositoryCount() { return CountOf(KindRepository); }
    FileInfo GetFileInfo() override;
    std::string GetHeaderText() override;
    std::string GetExtraHeaderText() override { return "N/A"; }

    std::int32_t FindIndividualByXref(const std::string& xref) override { return FindXref(KindIndividual, xref); }
    std::int32_t FindMarriageByXref(const std::string& xref) override { return FindXref(KindFamily, xref); }
    std::int32_t FindNoteByXref(const std::string& xref) override { return FindXref(KindNote, xref); }
    std::int32_t FindSourceByXref(const std::string& xref) override { return FindXref(KindSource, xref); }
    std::int32_t FindRepositoryByXref(const std::string& xref) override { return FindXref(KindRepository, xref); }

    // Links straight from the tables, without record objects.
    std::int32_t LinkParentFamilyCount(std::int32_t individual) override;
    std::int32_t LinkParentFamily(std::int32_t individual, std::int32_t k) override;
    std::int32_t LinkSpouseFamilyCount(std::int32_t individual) override;
    std::int32_t LinkSpouseFamily(std::int32_t individual, std::int32_t k) override;
    std::int32_t LinkHusband(std::int32_t family) override;
    std::int32_t LinkWife(std::int32_t family) override;
    std::int32_t LinkChildCount(std::int32_t family) override;
    std::int32_t LinkChild(std::int32_t family, std::int32_t n) override;
    void LinkChildren(std::int32_t family, std::vector<std::int32_t>& children) override;
    char LinkSex(std::int32_t individual) override;
    void LinkSortChildren(std::int32_t family) override;

    // --- for the record classes ---
    // File text to code page 1252 by the character set: 1 ANSEL, 2 UTF-8,
    // anything else unchanged.
    std::string ConvertText(std::string_view text) const;
    // A date of a DATE (or status) value, its text converted like every other.
    std::unique_ptr<WDate> MakeDate(std::string_view value) const;
    // The character set named by the header's CHAR line: 1 ANSEL, 2 UTF-8, 0 other.
    std::uint8_t ReadCharSet() const;
    // Record number of an identifier in the index of a kind; 0 when absent.
    std::int32_t FindXref(int kind, std::string_view xref) const;
    std::int32_t CountOf(int kind) const;
    // Start of the level-0 line of record n of a kind; EIndexError outside 1..count.
    const char* RecordPointer(int kind, std::int32_t n) const;
    // The individual's index entry, its positions filled on first use.
    WGEDIndIndex::Entry& IndividualEntry(std::int32_t n);

    const WGEDTextMMF& File() const { return *m_file; }
    const char* Header() const { return m_header; }
    WGEDIndIndex* IndIndex() const { return m_indIndex.get(); }
    WOffsetIndex* OffsetIndex(int kind) const;
    WXREFIndex* XrefIndex(int kind) const;
    WIndLinks* IndLinks() const { return m_indLinks.get(); }
    WFamLinks* FamLinks() const { return m_famLinks.get(); }

protected:
    std::unique_ptr<WABSIndividual> MakeIndividual(std::int32_t n) override;
    std::unique_ptr<WABSMarriage> MakeMarriage(std::int32_t n) override;
    std::unique_ptr<WABSNote> MakeNote(std::int32_t n) override;
    std::unique_ptr<WABSSource> MakeSource(std::int32_t n) override;
    std::unique_ptr<WABSRepo> MakeRepository(std::int32_t n) override;

private:
    struct Stretch;
    bool indexPass();
    bool buildLinks();
    // Runs fn(stretch, here) on every stretch at once. here: the stretch is
    // worked on this, the window's, thread (one stretch, or no thread to be
    // had). While other threads work, this one lets the window's messages in.
    template <class Fn>
    void onStretches(Fn fn);
    // Whether a stretch's work goes on. On this thread (here) a Cancel is
    // read and stops every stretch; the others only watch for that.
    bool goOn(bool here) const;
    void walkStretch(Stretch& s, bool here) const;
    void resolveLinks(Stretch& s, bool here) const;
    // Fills the link table rows of the stretch's own individuals and families;
    // readers counts, per stretch, the reads of its individuals' lines to come.
    void fillLinks(Stretch& s, bool here, WIndLinks::Filler& people, WFamLinks::Filler& families,
                   std::vector<std::atomic<std::size_t>>& readers);
    // The first level-1 line with the tag among the header's lines, or null.
    const char* headerLine(std::uint32_t tag) const;

    std::unique_ptr<WGEDTextMMF> m_file;
    const char* m_header = nullptr;
    std::unique_ptr<WGEDIndIndex> m_indIndex;
    std::array<std::unique_ptr<WOffsetIndex>, KindCount + 1> m_offsets; // kinds 2..8
    std::array<std::unique_ptr<WXREFIndex>, KindCount + 1> m_xrefs;     // kinds 1..8
    std::unique_ptr<WIndLinks> m_indLinks;
    std::unique_ptr<WFamLinks> m_famLinks;
    // The index pass walks the file in stretches cut at level-0 lines, one per
    // usable CPU; what each finds is merged in file order, so the numbering is the
    // same as one walk's.
    std::vector<Stretch> m_stretches;
    mutable std::atomic<bool> m_stop{false}; // Cancel seen, or a stretch failed: every stretch stops
    static unsigned s_threads;
    static void (*s_readHook)();

public:
    // Stretches (one thread each) of the index and link passes, and threads
    // of the spouse-family order after opening; 0, the default, takes one
    // per usable CPU and megabyte of the file (16,384 individuals), at most.
    static void SetOpenThreads(unsigned threads) { s_threads = threads; }
    // Test hook: run on each reading thread every PumpInterval records of the
    // first walk over the file, so a test can make a read outlast the wait
    // dialog's delay. Null, the default, runs nothing.
    static void SetReadHook(void (*hook)()) { s_readHook = hook; }
};
