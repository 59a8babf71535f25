#include "model/ABSName.h"

#include "model/ABSCitation.h"
#include "model/ABSNote.h"
#include "model/Global.h"
#include "model/Options.h"

std::string WABSName::GetSurnameText() const {
    std::string surname = GetSurname();
    if (WOptions::GetBool(opt::NameUpper)) surname = Global::ToUpper(surname);
    return surname;
}

std::string WABSName::GetFullName(bool withPrefixSuffix) const {
    const bool preSuf = withPrefixSuffix && WOptions::GetBool(opt::PreSuf);
    std::string text;
    if (preSuf) {
        text += GetPrefix();
        if (!text.empty()) text += ' ';
    }
    text += GetGiven();
    if (!text.empty()) text += ' ';
    if (WOptions::GetBool(opt::NameSlash))
        text += '/' + GetSurnameText() + '/';
    else
        text += GetSurnameText();
    if (preSuf) {
        std::string suffix = GetSuffix();
        if (!suffix.empty()) {
            if (!text.empty()) text += ' ';
            text += suffix;
        }
    }
    return text;
}

std::string WABSName::GetCitationsText() const {
    return ComposeCitationsText(GetCitationCount(), [this](std::int32_t i) { return GetCitation(i); });
}

std::string WABSName::GetNoteText() const { return ComposeNoteText(GetNote()); }
