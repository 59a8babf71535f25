#include "model/ABSSource.h"

#include "model/StrFunc.h"

std::string WABSSource::GetSummary() const {
    std::string text;
    for (const std::string& part : {GetAuthor(), GetTitle(), GetPublication(), GetCallNumber(), GetAbbreviation()}) {
        if (part.empty()) continue;
        std::string flat = StrFunc::FlattenLineBreaks(part);
        if (flat.empty()) continue;
        if (!text.empty()) text += ", ";
        text += flat;
    }
    return text;
}
