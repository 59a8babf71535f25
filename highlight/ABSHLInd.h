#pragma once
// Base of the conditions on individuals: adds the chosen person and the
// number of generations that person conditions use.
#include "highlight/ABSHighLighter.h"

class WABSHLInd : public WABSHighLighter {
public:
    // States sized to the collection's individual count.
    WABSHLInd(WABSCollection* ACollection, std::int32_t ACode);

    // "index^generations": index 1 and generations 0 where not a number.
    static void ParseIndexParam(const std::string& S, std::int32_t& AIndex, std::int32_t& AGens);

protected:
    std::int32_t FRefPerson = 0;
    std::int32_t FGenerations = 1;
};
