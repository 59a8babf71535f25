#pragma once
// The abstract container of one opened genealogy file and the only door to its
// records. A back end (the GEDCOM reader, the tests' in-memory collection)
// supplies the reads; the kinship operations, summaries, link names and the
// mapping between view positions and individual numbers live here.
//
// Records are addressed by 1-based record number; links between records are
// numbers, never references. Every record object handed out is owned by the
// caller. Record number 0 yields no object.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "model/ABSCitation.h"
#include "model/ABSEvent.h"
#include "model/ABSIndividual.h"
#include "model/ABSMarriage.h"
#include "model/ABSNote.h"
#include "model/ABSRepo.h"
#include "model/ABSSource.h"
#include "model/ABSSubmitter.h"

class WCollectionIterator;
class WGenerations;
class WIslands;

// A record number outside the records of the file.
class EIndexError : public std::runtime_error {
public:
    explicit EIndexError(std::int64_t index);
    std::int64_t Index() const { return m_index; }

private:
    std::int64_t m_index;
};

class WABSCollection {
public:
    // Label and value pairs of the file header.
    using FileInfo = std::vector<std::pair<std::string, std::string>>;

    // No tables yet, file kind 0, character set 1.
    WABSCollection();
    virtual ~WABSCollection();

    WABSCollection(const WABSCollection&) = delete;
    WABSCollection& operator=(const WABSCollection&) = delete;

    // --- supplied by the back end ---
    // Releases what the back end can make again (mapped views).
    virtual void Flush() {}
    virtual std::string GetFileSizeText() = 0;
    virtual std::string GetFileDateText() = 0;
    // Called right after a successful Open.
    virtual void AfterOpen() {}
    // About to read every individual (a column sort): a back end may get
    // ready for that in bulk.
    virtual void PrepareAllIndividuals() {}
    // After PrepareAllIndividuals, records may be read on several threads at once.
    virtual bool ReadsOnManyThreads() const { return false; }
    virtual std::unique_ptr<WABSSubmitter> GetSubmitter() = 0;
    virtual std::int32_t GetIndividualCount() = 0;
    virtual std::int32_t GetMarriageCount() = 0;
    virtual std::int32_t GetNoteCount() = 0;
    virtual std::int32_t GetSourceCount() = 0;
    virtual FileInfo GetFileInfo() = 0;
    virtual std::string GetHeaderText() = 0;
    virtual std::string GetExtraHeaderText() = 0;
    virtual std::int32_t IndexToRecord(std::int32_t n) { return n; }
    virtual std::int32_t RecordToIndex(std::int32_t n) { return n; }
    // Indexes and links the file; false when cancelled.
    virtual bool Open() = 0;
    // Record numbers by cross-reference identifier, 0 when unknown.
    virtual std::int32_t FindIndividualByXref(const std::string&) { return 0; }
    virtual std::int32_t FindMarriageByXref(const std::string&) { return 0; }
    virtual std::int32_t FindNoteByXref(const std::string&) { return 0; }
    virtual std::int32_t FindSourceByXref(const std::string&) { return 0; }
    virtual std::int32_t FindRepositoryByXref(const std::string&) { return 0; }

    // --- records by number ---
    // None for 0 and above the count; the index error below 0.
    std::unique_ptr<WABSIndividual> GetIndividual(std::int32_t n);
    // None for 0; the index error outside 1..count.
    std::unique_ptr<WABSMarriage> GetMarriage(std::int32_t n);
    std::unique_ptr<WABSNote> GetNote(std::int32_t n);
    std::unique_ptr<WABSSource> GetSource(std::int32_t n);
    // None for 0; other numbers go to the back end, which checks its own range.
    std::unique_ptr<WABSRepo> GetRepository(std::int32_t n);

    bool IndividualExists(std::int32_t n) { return n >= 1 && n <= GetIndividualCount(); }
    bool MarriageExists(std::int32_t n) { return n >= 1 && n <= GetMarriageCount(); }

    // --- numbers-only kinship ---
    // Link reads that a back end answers from its link tables without making
    // record objects; the graph walks (islands, depths, relationships) use
    // them. The defaults go through the record objects. Numbers outside the
    // file read as 0 (no index error), counts as 0, sex as '\0'.
    virtual std::int32_t LinkParentFamilyCount(std::int32_t individual);
    virtual std::int32_t LinkParentFamily(std::int32_t individual, std::int32_t k);
    virtual std::int32_t LinkSpouseFamilyCount(std::int32_t individual);
    virtual std::int32_t LinkSpouseFamily(std::int32_t individual, std::int32_t k);
    virtual std::int32_t LinkHusband(std::int32_t family);
    virtual std::int32_t LinkWife(std::int32_t family);
    virtual std::int32_t LinkChildCount(std::int32_t family);
    // The n-th child in the family's current order (see LinkSortChildren).
    virtual std::int32_t LinkChild(std::int32_t family, std::int32_t n);
    // All children in order; cheaper than LinkChild per child where a back
    // end walks a chain.
    virtual void LinkChildren(std::int32_t family, std::vector<std::int32_t>& children);
    virtual char LinkSex(std::int32_t individual);
    // Puts the family's children in birth order (at most once per family).
    virtual void LinkSortChildren(std::int32_t family);

    // --- parents, spouses and children (0 when none) ---
    std::int32_t GetFather(std::int32_t individual);
    std::int32_t GetMother(std::int32_t individual);
    // Husbands and wives present over all families as child.
    std::int32_t GetParentCount(std::int32_t individual);
    // First family that both are spouses in.
    std::int32_t FindCommonMarriage(std::int32_t individual1, std::int32_t individual2);
    // The other spouse in the k-th family as spouse (the wife when the
    // husband is the individual).
    std::int32_t GetSpouse(std::int32_t individual, std::int32_t k);
    bool HasChildren(std::int32_t individual);
    std::int32_t GetChildCount(std::int32_t individual);
    std::int32_t GetSonCount(std::int32_t individual);
    std::int32_t GetDaughterCount(std::int32_t individual);
    std::int32_t CountChildrenOfSex(std::int32_t individual, char sex);
    // Exists and has a first family as child or a family as spouse.
    bool HasFamily(std::int32_t individual);
    // Father (kind 1), else mother (2), else the other spouse of the family
    // as spouse at familyPos (the first below 1) (3); kind 0 and 0 when none.
    std::int32_t GetFatherMotherOrSpouse(std::int32_t individual, std::int32_t& kind, std::int32_t familyPos);
    // The same searches in the order spouse, father, mother.
    std::int32_t GetSpouseFatherOrMother(std::int32_t individual, std::int32_t& kind, std::int32_t familyPos);

    // --- notes, sources and sealings ---
    bool HasSource(std::int32_t individual);
    bool HasMarriageSource(std::int32_t individual);
    bool HasNote(std::int32_t individual);
    bool HasMarriageNote(std::int32_t individual);
    // A recorded spouse sealing in the family as spouse at familyPos, or in
    // any family when familyPos is out of range.
    bool HasSpouseSealing(std::int32_t individual, std::int32_t familyPos);
    // The sealing of the family as spouse at familyPos, or none.
    std::unique_ptr<WABSLDSEvent> GetEventOfFamily(std::int32_t individual, std::int32_t familyPos, std::int32_t kind);
    std::string GetFamilyEventDate(std::int32_t individual, std::int32_t familyPos, std::int32_t kind);
    // "Live" when checkTemple and the event names no temple.
    std::string GetFamilyEventPlace(std::int32_t individual, std::int32_t familyPos, bool checkTemple,
                                    std::int32_t kind);

    // --- names (empty when the individual does not exist) ---
    std::string GetFullName(std::int32_t individual);
    std::string GetName(std::int32_t individual);
    // Display name, ", ", birth date and place.
    std::string GetNameWithBirth(std::int32_t individual);

    // --- family summaries ---
    // "<No Given Name>" for 0; else marker, birth year and display name.
    std::string FormatChildLine(std::int32_t individual, bool noMarker);
    // Each family as spouse: spouse, marriage date and place, children.
    std::string GetFamiliesText(std::int32_t individual);
    // Name, sex, vital events, age, parents, then the families text.
    std::string GetFamilySummary(std::int32_t individual);

    // --- pedigree link codes ---
    // Name of a code 0..36; empty above.
    static std::string GetPedigreeLinkName(std::int32_t code);
    // Name of the child-side code for a parent-side code 0..18 and the
    // child's sex; empty from 19 on.
    static std::string GetChildLinkName(std::int32_t code, char sex);
    // The child-side code itself, -1 where there is none.
    static std::int32_t ChildLinkCode(std::int32_t code, char sex);

    // --- file and state ---
    std::uint8_t GetFileKind() const { return m_fileKind; }
    std::uint8_t GetCharSet() const { return m_charSet; }
    const std::string& GetFileName() const { return m_fileName; }
    bool IsComputingIslands() const;

    // --- islands (computed on first use) ---
    WIslands& Islands();
    // Computes the islands now; false when cancelled.
    bool ComputeIslands();
    bool IslandsComputed() const;
    std::int32_t GetIslandCount();
    // By position in the island sort order (largest first).
    std::int32_t GetIslandSize(std::int32_t pos);
    std::int32_t GetIslandFamilyCount(std::int32_t pos);
    std::int32_t GetIslandFirstIndividual(std::int32_t pos);
    // Position of the individual's island; 0 while islands are not computed.
    std::int32_t GetIslandOfIndividual(std::int32_t individual);

    // --- ancestor and descendant counts and depths (cached per individual) ---
    WGenerations& Generations();
    std::int32_t GetNumAncestors(std::int32_t individual);
    std::int32_t GetNumDescendants(std::int32_t individual);
    std::int32_t GetAncestorGenerations(std::int32_t individual);
    std::int32_t GetDescendantGenerations(std::int32_t individual);
    double GetAvgAncestorGenerations(std::int32_t individual);
    double GetAvgDescendantGenerations(std::int32_t individual);

    // --- view ---
    // Individuals the lists walk: the view's members when a view is active.
    std::int32_t GetCount();
    // Individual number at a view position (Pos itself without a view).
    std::int32_t ViewToIndex(std::int32_t pos);
    // View position of an individual, 0 when not in the view (I itself without a view).
    std::int32_t IndexToView(std::int32_t individual);
    // Installs a view (owned); it must already hold its members.
    void SetView(std::unique_ptr<WCollectionIterator> view);
    void ClearView();
    WCollectionIterator* GetView() const { return m_view.get(); }

protected:
    // Record makers of the back end, called only for numbers in range.
    virtual std::unique_ptr<WABSIndividual> MakeIndividual(std::int32_t n) = 0;
    virtual std::unique_ptr<WABSMarriage> MakeMarriage(std::int32_t n) = 0;
    virtual std::unique_ptr<WABSNote> MakeNote(std::int32_t n) = 0;
    virtual std::unique_ptr<WABSSource> MakeSource(std::int32_t n) = 0;
    // Any number but 0.
    virtual std::unique_ptr<WABSRepo> MakeRepository(std::int32_t n) = 0;

    std::string m_fileName;
    std::uint8_t m_fileKind = 0;
    std::uint8_t m_charSet = 1;

private:
    // The other spouse for the family searches: the wife, or the husband
    // when the wife is the individual.
    std::int32_t otherSpouseAt(std::int32_t individual, std::int32_t familyPos);
    std::unique_ptr<WABSMarriage> spouseFamilyAt(std::int32_t individual, std::int32_t familyPos);

    std::unique_ptr<WCollectionIterator> m_view;
    std::unique_ptr<WIslands> m_islands;
    std::unique_ptr<WGenerations> m_generations;
    // Position of each individual in the view, built on first IndexToView.
    std::vector<std::int32_t> m_viewPositions;
    std::int32_t m_viewPositionsCount = -1;
};
