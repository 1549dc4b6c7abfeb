#include "net/news.h"

#include "net/http.h"
#include "platform/uihooks.h"
#include "util/strutils.h"

namespace {

// The reply's lines when its head is acceptable, otherwise nothing: no marker,
// or too short to carry the page address.
bool AcceptReply(const std::string& body, TStringList& lines) {
    lines = SplitLines(body);
    return lines.size() >= 2 && SameTextTrimmed(lines[0], kNewsMarker);
}

bool IsBlankLine(const std::string& line) { return Trim(line).empty(); }

} // namespace

void TNewsManager::RequestNews(const std::string& url, int count) {
    Connected = false;
    ServerBusy = false;
    NewsItems.clear();
    std::string body, header;
    if (!HttpGet({url + "?N=" + std::to_string(count)}, body, header)) return;
    Connected = true;
    TStringList lines;
    std::vector<TDirectNewsItem> items;
    bool wellFormed = AcceptReply(body, lines);
    for (size_t i = 2; wellFormed && i < lines.size(); ++i) {
        if (IsBlankLine(lines[i])) continue;
        TStringList f = SplitTrimmed(lines[i], kNewsFieldSeparator);
        if (f.size() < 3) {
            wellFormed = false;
            break;
        }
        TDirectNewsItem item;
        if (!TryStrToInt(f[0], item.NewsID)) item.NewsID = 0;
        item.URL = f[1];
        item.Title = f[2];
        items.push_back(std::move(item));
    }
    if (!wellFormed) {
        ServerBusy = true;
        Connected = false;
        return;
    }
    NewsPageURL = lines[1];
    NewsItems = std::move(items);
}

void TNewsManager::RequestSites(const std::string& url) {
    Connected = false;
    ServerBusy = false;
    SiteItems.clear();
    std::string body, header;
    if (!HttpGet({url}, body, header)) return;
    Connected = true;
    TStringList lines;
    if (!AcceptReply(body, lines)) {
        ServerBusy = true;
        Connected = false;
        return;
    }
    SitesPageURL = lines[1];
    for (size_t i = 2; i < lines.size(); ++i) {
        if (IsBlankLine(lines[i])) continue;
        SiteItems.push_back({TextAfter(lines[i], kNewsFieldSeparator), TextBefore(lines[i], kNewsFieldSeparator)});
    }
}

TOutline TNewsManager::FillTree() const {
    TOutline nodes;
    if (!Connected) {
        nodes.push_back({ServerBusy ? "Server Busy/Unavailable" : "Internet connection unavailable", 0, 3, 3, -1});
        return nodes;
    }
    nodes.push_back({"Project News", kNewsBranchData, 0, 0, -1});
    for (const auto& n : NewsItems) nodes.push_back({n.Title, n.NewsID, 1, 1, 0});
    int sites = static_cast<int>(nodes.size());
    nodes.push_back({"Internet Sites", kSitesBranchData, 2, 2, -1});
    for (const auto& s : SiteItems) nodes.push_back({s.Name, kSiteNodeData, 1, 1, sites});
    return nodes;
}

TDirectNewsItem TNewsManager::FindNewsItem(int32_t id) const {
    for (const auto& n : NewsItems)
        if (n.NewsID == id) return n;
    TDirectNewsItem none;
    none.NewsID = -1;
    return none;
}

TDirectSiteItem TNewsManager::FindSite(const std::string& name) const {
    for (const auto& s : SiteItems)
        if (s.Name == name) return s;
    return {};
}

std::string TNewsManager::NodeAddress(int32_t data, const std::string& nodeText) const {
    TDirectNewsItem item = FindNewsItem(data);
    if (item.NewsID != -1) return item.URL;
    if (data == kSiteNodeData) {
        TDirectSiteItem site = FindSite(nodeText);
        if (!site.Anchor.empty()) return SitesPageURL + "#" + site.Anchor;
    }
    if (data == kNewsBranchData) return NewsPageURL;
    if (data == kSitesBranchData) return SitesPageURL;
    return {};
}

void TNewsManager::OpenNode(int32_t data, const std::string& nodeText) const {
    std::string address = NodeAddress(data, nodeText);
    if (!address.empty()) OpenURL(address);
}

bool NewsServerReachable(const std::string& server) {
    std::string body, header;
    return HttpGet({server + kSitesPath}, body, header);
}

bool OpenURL(const std::string& text) {
    std::string t = Trim(text);
    if (t.empty() || t[0] == '/' || t[0] == '\\') return false; // a local path
    std::string lower = LowerCase(t);
    if (lower.rfind("http://", 0) != 0 && lower.rfind("https://", 0) != 0) {
        // "host/page" is a web address; "scheme:..." other than the web is not opened.
        size_t colon = t.find(':'), slash = t.find('/');
        bool hasScheme = colon != std::string::npos && (slash == std::string::npos || colon < slash) &&
                         !IsInteger(t.substr(colon + 1, t.find_first_of("/?#", colon) - colon - 1));
        if (hasScheme) return false;
        t = "http://" + t;
    }
    return OpenWithShell(t);
}
