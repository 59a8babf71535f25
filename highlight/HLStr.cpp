#include "highlight/HLStr.h"

#include <cctype>
#include <memory>

#include "highlight/HLCondUtil.h"
#include "model/ABSEvent.h"
#include "model/ABSMarriage.h"
#include "model/ABSName.h"
#include "model/ABSNote.h"

namespace {

const char* wordsOf(std::int32_t code) {
    switch (code) {
    case 19: return "note";
    case 24: return "birth place";
    case 25: return "christening place";
    case 26: return "death place";
    case 27: return "burial place";
    case 28: return "place";
    case 29: return "surname";
    case 30: return "name";
    case 43: return "marriage place";
    case 57: return "surname soundex";
    case 58: return "given name soundex";
    case 59: return "custom ID";
    case 91: return "LDS Baptism place";
    case 92: return "LDS Endowment place";
    case 93: return "LDS Sealed to Parents place";
    case 94: return "LDS Sealed to Spouse place";
    case 97: return "AFN";
    case 98: return "Reference ID";
    case 102: return "sibling name";
    case 103: return "child name";
    case 104: return "parent name";
    case 105: return "spouse name";
    case 106: return "ancestor name";
    case 107: return "descendant name";
    case 108: return "ancestor surname";
    case 109: return "descendant surname";
    case 110: return "sibling surname";
    case 111: return "child surname";
    case 112: return "parent surname";
    case 113: return "spouse surname";
    default: return "";
    }
}

std::string placeOf(const WABSIndividual& ind, std::int32_t kind, std::int32_t index) {
    std::unique_ptr<WABSVitEvent> e = ind.GetEvent(kind, index);
    return e ? e->GetPlaceText() : std::string();
}

std::string noteText(const std::unique_ptr<WABSNote>& note) {
    return note ? note->GetText(abs_text::CRLF) : std::string();
}

} // namespace

WHLStr::WHLStr(WABSCollection* ACollection, std::int32_t ACode) : WABSHLInd(ACollection, ACode) {}

void WHLStr::ReadParameter() {
    FMode = 1;
    FPattern.clear();
    if (!FParameter.empty()) {
        const unsigned char first = static_cast<unsigned char>(FParameter[0]);
        if (std::isdigit(first)) FMode = first - '0';
        FPattern = hlcond::Upper(FParameter.substr(1));
    }
    FPatternLength = static_cast<std::int32_t>(FPattern.size());
    FSoundex.clear();
    FSoundexReady = false;
}

void WHLStr::Prepare() {
    ReadParameter();
    Reset(0);
}

bool WHLStr::Match(std::int32_t mode, const std::string& APattern, const std::string& AText) {
    if (APattern.empty() || AText.empty()) return false;
    switch (mode) {
    case mContains: return AText.find(APattern) != std::string::npos;
    case mEquals: return AText.size() == APattern.size() && AText == APattern;
    case mBegins: return AText.size() >= APattern.size() && AText.compare(0, APattern.size(), APattern) == 0;
    case mEnds:
        return AText.size() >= APattern.size() &&
               AText.compare(AText.size() - APattern.size(), APattern.size(), APattern) == 0;
    default: return false;
    }
}

bool WHLStr::Match(const std::string& APattern, const std::string& AText) const {
    return Match(FMode, APattern, AText);
}

bool WHLStr::MatchUpper(const std::string& text) const { return Match(FMode, FPattern, hlcond::Upper(text)); }

const std::string& WHLStr::PatternSoundex() {
    if (!FSoundexReady) {
        FSoundex = Global::Soundex(FPattern);
        FSoundexReady = true;
    }
    return FSoundex;
}

bool WHLStr::MatchSoundex(const std::string& text) {
    if (FMode != smText && FMode != smCode) return false;
    const std::string& code = FMode == smText ? PatternSoundex() : FPattern;
    return !code.empty() && Global::Soundex(hlcond::Upper(text)) == code;
}

bool WHLStr::MatchNotes(const WABSIndividual& ind) const {
    if (MatchUpper(noteText(ind.GetNote()))) return true;
    if (std::unique_ptr<WABSName> name = ind.GetName(); name && MatchUpper(noteText(name->GetNote()))) return true;
    for (std::int32_t kind : {EventKind::Birth, EventKind::Christening, EventKind::Death, EventKind::Burial}) {
        std::unique_ptr<WABSVitEvent> e = ind.GetEvent(kind, 1);
        if (e && MatchUpper(noteText(e->GetNote()))) return true;
    }
    const std::int32_t others = ind.GetEventCount(EventKind::Other);
    for (std::int32_t k = 1; k <= others; ++k) {
        std::unique_ptr<WABSVitEvent> e = ind.GetEvent(EventKind::Other, k);
        if (e && MatchUpper(noteText(e->GetNote()))) return true;
    }
    return false;
}

void WHLStr::Relatives(std::int32_t x, bool up, std::vector<std::int32_t>& out) {
    out.clear();
    const std::int32_t families = FCollection->GetMarriageCount();
    std::vector<std::int32_t> kids;
    if (up) {
        const std::int32_t k = FCollection->LinkParentFamilyCount(x);
        for (std::int32_t f = 1; f <= k; ++f) {
            const std::int32_t fam = FCollection->LinkParentFamily(x, f);
            if (fam < 1 || fam > families) continue;
            out.push_back(FCollection->LinkHusband(fam));
            out.push_back(FCollection->LinkWife(fam));
        }
    } else {
        const std::int32_t k = FCollection->LinkSpouseFamilyCount(x);
        for (std::int32_t f = 1; f <= k; ++f) {
            const std::int32_t fam = FCollection->LinkSpouseFamily(x, f);
            if (fam < 1 || fam > families) continue;
            FCollection->LinkChildren(fam, kids);
            out.insert(out.end(), kids.begin(), kids.end());
        }
    }
}

bool WHLStr::OwnNameMatches(std::int32_t individual) {
    std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(individual);
    if (!ind) return false;
    const bool surname = FConditionCode == 108 || FConditionCode == 109;
    return MatchUpper(surname ? ind->GetSurnameText() : ind->GetGivenText());
}

bool WHLStr::Search(std::int32_t start, bool up) {
    // The recursive search, step for step, on an explicit stack: a line of
    // any length costs no call depth.
    struct Frame {
        std::int32_t x;
        std::vector<std::int32_t> relatives;
        std::size_t next = 0;
    };
    std::vector<Frame> frames;
    // Answer when x is settled at once; otherwise x gets a frame.
    auto enter = [&](std::int32_t x, bool& answer) -> bool {
        if (x <= 0 || x > Count()) {
            answer = false;
            return true;
        }
        if (IsEvaluated(x)) {
            answer = IsTrue(x) || OwnNameMatches(x);
            return true;
        }
        // Decided false first: a loop in a damaged tree ends here.
        SetResult(x, false);
        frames.push_back(Frame{x, {}, 0});
        Relatives(x, up, frames.back().relatives);
        return false;
    };

    bool answer = false;
    if (enter(start, answer)) return answer;
    while (!frames.empty()) {
        Frame& top = frames.back();
        bool settled = false;
        if (top.next < top.relatives.size()) {
            const std::int32_t rel = top.relatives[top.next++];
            if (!enter(rel, answer)) continue;
            if (!answer) continue;
            settled = true; // a relative matched
        }
        if (!settled) {
            // No relative matched: the answer is the individual's own text.
            answer = OwnNameMatches(top.x);
            frames.pop_back();
        }
        // A true answer settles every frame it passes through.
        while (answer && !frames.empty()) {
            SetResult(frames.back().x, true);
            frames.pop_back();
        }
    }
    return answer;
}

bool WHLStr::Decide(std::int32_t AIndex, const WABSIndividual& ind) {
    const bool surname = FConditionCode >= 108;
    auto nameOf = [&](std::int32_t who) {
        std::unique_ptr<WABSIndividual> r = FCollection->GetIndividual(who);
        if (!r) return std::string();
        return surname ? r->GetSurnameText() : r->GetGivenText();
    };
    auto anyMatches = [&](const std::vector<std::int32_t>& who) {
        for (std::int32_t w : who)
            if (w > 0 && MatchUpper(nameOf(w))) return true;
        return false;
    };
    std::vector<std::int32_t> who;

    switch (FConditionCode) {
    case 19: return MatchNotes(ind);
    case 24: return MatchUpper(placeOf(ind, EventKind::Birth, 1));
    case 25: return MatchUpper(placeOf(ind, EventKind::Christening, 1));
    case 26: return MatchUpper(placeOf(ind, EventKind::Death, 1));
    case 27: return MatchUpper(placeOf(ind, EventKind::Burial, 1));
    case 28: {
        for (std::int32_t kind : {EventKind::Birth, EventKind::Death, EventKind::Christening, EventKind::Burial})
            if (MatchUpper(placeOf(ind, kind, 1))) return true;
        const std::int32_t others = ind.GetEventCount(EventKind::Other);
        for (std::int32_t k = 1; k <= others; ++k)
            if (MatchUpper(placeOf(ind, EventKind::Other, k))) return true;
        return false;
    }
    case 29: return MatchUpper(ind.GetSurnameText());
    case 30: return MatchUpper(ind.GetGivenText());
    case 43:
        for (std::int32_t k = 1; k <= ind.GetSpouseFamilyCount(); ++k) {
            std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(ind.GetSpouseFamily(k));
            if (fam && MatchUpper(fam->GetPlace())) {
                // The same family place holds for the spouse too.
                SetResult(fam->GetOtherSpouse(AIndex), true);
                return true;
            }
        }
        return false;
    case 57: return MatchSoundex(ind.GetSurnameText());
    case 58: {
        const std::string given = ind.GetGivenText();
        std::size_t i = 0;
        while (i < given.size()) {
            while (i < given.size() && given[i] == ' ') ++i;
            std::size_t j = i;
            while (j < given.size() && given[j] != ' ') ++j;
            if (j > i && MatchSoundex(given.substr(i, j - i))) return true;
            i = j;
        }
        return false;
    }
    case 59: return MatchUpper(ind.GetRefN());
    case 91:
    case 92:
    case 93: {
        std::unique_ptr<WABSLDSEvent> e = ind.GetLDSEvent(FConditionCode - 84);
        return e && MatchUpper(e->GetPlaceText());
    }
    case 94: return MatchUpper(FCollection->GetFamilyEventPlace(AIndex, 1, false, EventKind::LDSSealSpouse));
    case 97: return MatchUpper(ind.GetAFN());
    case 98: {
        const std::string xref = ind.GetXRef();
        return MatchUpper(xref.empty() ? xref : xref.substr(1));
    }
    case 102:
    case 110: // siblings: the other children of the parent families
        for (std::int32_t k = 1; k <= ind.GetParentFamilyCount(); ++k) {
            std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(ind.GetParentFamily(k));
            if (!fam) continue;
            for (std::int32_t c = 1; c <= fam->GetChildCount(); ++c)
                if (fam->GetChild(c) != AIndex) who.push_back(fam->GetChild(c));
        }
        return anyMatches(who);
    case 103:
    case 111:
        for (std::int32_t k = 1; k <= ind.GetSpouseFamilyCount(); ++k) {
            std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(ind.GetSpouseFamily(k));
            if (!fam) continue;
            for (std::int32_t c = 1; c <= fam->GetChildCount(); ++c) who.push_back(fam->GetChild(c));
        }
        return anyMatches(who);
    case 104:
    case 112:
        for (std::int32_t k = 1; k <= ind.GetParentFamilyCount(); ++k) {
            std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(ind.GetParentFamily(k));
            if (!fam) continue;
            who.push_back(fam->GetHusband());
            who.push_back(fam->GetWife());
        }
        return anyMatches(who);
    case 105:
    case 113:
        for (std::int32_t k = 1; k <= ind.GetSpouseFamilyCount(); ++k) {
            std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(ind.GetSpouseFamily(k));
            if (fam) who.push_back(fam->GetOtherSpouse(AIndex));
        }
        return anyMatches(who);
    default: return false;
    }
}

void WHLStr::Evaluate(std::int32_t AIndex) {
    if (FPattern.empty()) {
        SetResult(AIndex, false);
        return;
    }
    if (!FCollection) return;
    std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(AIndex);
    if (!ind) return; // stays undecided, reads as not highlighted
    if (FConditionCode >= 106 && FConditionCode <= 109) {
        ind.reset();
        // The search leaves the state: true exactly when a relative matches.
        Search(AIndex, FConditionCode == 106 || FConditionCode == 108);
        return;
    }
    SetResult(AIndex, Decide(AIndex, *ind));
}

void WHLStr::GetDescription(std::string& S) {
    static const char* const modes[4] = {" containing ", " equal to ", " begining with ", " ending with "};
    ReadParameter();
    S = std::string("with ") + wordsOf(FConditionCode);
    if (FConditionCode == 57 || FConditionCode == 58) {
        if (FMode == smText)
            S += " text = \"" + FPattern + "\" (" + Global::Soundex(FPattern) + ")";
        else if (FMode == smCode)
            S += " code = \"" + FPattern + "\"";
        return;
    }
    if (FInvert) S += " not";
    if (FMode >= 1 && FMode <= 4) S += modes[FMode - 1];
    S += "\"" + FPattern + "\"";
}
