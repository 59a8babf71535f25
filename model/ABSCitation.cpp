#include "model/ABSCitation.h"

#include <string>

#include "model/ABSNote.h"
#include "model/ABSSource.h"

namespace {

void appendPart(std::string& text, const std::string& part) {
    if (part.empty()) return;
    if (!text.empty()) text += ", ";
    text += part;
}

} // namespace

std::string WABSCitation::GetDescription() const {
    std::string text = GetPage();
    appendPart(text, ComposeNoteText(GetNote()));
    if (std::unique_ptr<WABSSource> source = GetSource()) {
        appendPart(text, source->GetSummary());
        appendPart(text, ComposeNoteText(source->GetNote()));
    }
    return text;
}

std::string ComposeCitationsText(std::int32_t count,
                                 const std::function<std::unique_ptr<WABSCitation>(std::int32_t)>& fetch) {
    std::string text;
    bool first = true;
    for (std::int32_t i = 1; i <= count; ++i) {
        std::unique_ptr<WABSCitation> citation = fetch(i);
        if (!citation) continue;
        if (first) {
            // The first one found is always numbered 1.
            text += "1) ";
            first = false;
        } else {
            text += "\r\n\r\n";
            text += std::to_string(i);
            text += ") ";
        }
        text += citation->GetDescription();
    }
    return text;
}

std::string ComposeNoteText(const std::unique_ptr<WABSNote>& note) {
    return note ? note->GetText(abs_text::CRLF) : std::string();
}
