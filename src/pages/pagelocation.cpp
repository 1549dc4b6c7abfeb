#include "pages/pagelocation.h"

#include "util/strutils.h"

#include <charconv>

namespace {
bool ReadNumber(std::string_view text, int32_t& value) {
    if (text.empty() || text.size() > 9) return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= 0;
}
} // namespace

std::string FormatPageLocation(const TPageLocation& l) {
    std::string page;
    switch (l.Page) {
    case TPageLocation::None:
        return {};
    case TPageLocation::Welcome:
        page = "welcome";
        break;
    case TPageLocation::Document:
        page = "doc:" + l.DocName;
        break;
    case TPageLocation::Story:
        page = "story:" + std::to_string(l.Prophet);
        break;
    }
    return page + "@" + std::to_string(l.Position);
}

TPageLocation ParsePageLocation(std::string_view text) {
    TPageLocation l;
    size_t at = text.rfind('@');
    if (at == std::string_view::npos || !ReadNumber(text.substr(at + 1), l.Position)) return {};
    std::string_view page = text.substr(0, at);
    if (page == "welcome") {
        l.Page = TPageLocation::Welcome;
    } else if (page.substr(0, 4) == "doc:" && page.size() > 4) {
        l.Page = TPageLocation::Document;
        l.DocName = std::string(page.substr(4));
    } else if (page.substr(0, 6) == "story:" && ReadNumber(page.substr(6), l.Prophet) && l.Prophet >= 1 &&
               l.Prophet <= 29) {
        l.Page = TPageLocation::Story;
    } else {
        return {};
    }
    return l;
}
