#include "model/ABSName.h"

#include "model/ABSCitation.h"
#include "model/ABSNote.h"
#include "model/Global.h"
#include "model/Options.h"
#include "model/StrFunc.h"

std::string WABSName::GetSurnameText() const {
    std::string surname = GetSurname();
    if (WOptions::GetBool(opt::NameUpper)) surname = Global::ToUpper(surname);
    return surname;
}

std::string WABSName::GetFullName(bool withPrefixSuffix) const { return fullName(withPrefixSuffix, false); }

std::string WABSName::GetFullNameKeyText(bool withPrefixSuffix) const { return fullName(withPrefixSuffix, true); }

std::string WABSName::SurnameGivenKeyText(std::string surname, std::string given) {
    StrFunc::SquashBlanksIn(surname);
    StrFunc::SquashBlanksIn(given);
    surname += ", ";
    surname += given;
    return surname;
}

std::string WABSName::fullName(bool withPrefixSuffix, bool squashed) const {
    auto part = [squashed](std::string text) { return squashed ? StrFunc::SquashBlanks(std::move(text)) : text; };
    const bool preSuf = withPrefixSuffix && WOptions::GetBool(opt::PreSuf);
    std::string text;
    if (preSuf) {
        text += part(GetPrefix());
        if (!text.empty()) text += ' ';
    }
    text += part(GetGiven());
    if (!text.empty()) text += ' ';
    if (WOptions::GetBool(opt::NameSlash))
        text += '/' + part(GetSurnameText()) + '/';
    else
        text += part(GetSurnameText());
    if (preSuf) {
        std::string suffix = part(GetSuffix());
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
