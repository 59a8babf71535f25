#pragma once
// Text-match conditions: a text of the individual or of its relatives
// compared with a pattern (containing, equal to, beginning with, ending
// with), and the two Soundex conditions. Parameter: the mode digit followed
// by the pattern ("1SMITH").
#include <cstdint>
#include <string>
#include <vector>

#include "highlight/ABSHLInd.h"

class WABSIndividual;

class WHLStr : public WABSHLInd {
public:
    enum Mode : std::int32_t { mContains = 1, mEquals = 2, mBegins = 3, mEnds = 4 };
    enum SoundexMode : std::int32_t { smText = 1, smCode = 2 };

    WHLStr(WABSCollection* ACollection, std::int32_t ACode);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;

    // The comparison of the current mode; both texts already upper-cased.
    bool Match(const std::string& APattern, const std::string& AText) const;
    static bool Match(std::int32_t mode, const std::string& APattern, const std::string& AText);

private:
    void ReadParameter();
    bool MatchUpper(const std::string& text) const;
    bool Decide(std::int32_t AIndex, const WABSIndividual& ind);
    bool MatchNotes(const WABSIndividual& ind) const;
    bool MatchSoundex(const std::string& text);
    const std::string& PatternSoundex();
    // Own given names (106, 107) or surname (108, 109) of an individual.
    bool OwnNameMatches(std::int32_t individual);
    // Whether X or some relative in the direction matches; decides X's state
    // (true exactly when a relative matches). Memoised in the state array.
    bool Search(std::int32_t x, bool up);
    void Relatives(std::int32_t x, bool up, std::vector<std::int32_t>& out);

    std::int32_t FPatternLength = 0;
    std::string FPattern;
    std::int32_t FMode = 1;
    std::string FSoundex;
    bool FSoundexReady = false;
};
