#include "app/QuickHelpText.h"

#include <charconv>

std::vector<WHelpLink> ParseHelpLinks(const std::string& text) {
    std::vector<WHelpLink> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        const std::string item = text.substr(start, end - start);
        if (!item.empty()) {
            WHelpLink link;
            const std::size_t bar = item.rfind('|');
            link.Title = item.substr(0, bar);
            if (bar != std::string::npos) {
                const char* b = item.data() + bar + 1;
                const char* e = item.data() + item.size();
                std::int32_t v = 0;
                auto [p, ec] = std::from_chars(b, e, v);
                if (ec == std::errc() && p == e && p != b) link.Context = v;
            }
            out.push_back(std::move(link));
        }
        start = end + 1;
    }
    return out;
}

std::string QuickHelpNotice(const std::string& title) {
    return "This help dialog box for \"" + title + "\" is only displayed once.";
}
