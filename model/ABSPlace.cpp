#include "model/ABSPlace.h"

#include "model/ABSNote.h"
#include "model/Options.h"

std::string WABSPlace::GetText() const {
    std::string text = abs_text::Trim(GetName());
    if (WOptions::GetBool(opt::PlaceCommas)) {
        std::size_t from = 0;
        while (from < text.size() && (text[from] == ' ' || text[from] == ',')) ++from;
        text = abs_text::Trim(text.substr(from));
    }
    return text;
}
