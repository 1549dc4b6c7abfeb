#pragma once
// The news service "Tarnwick Direct": two line-oriented replies from the news
// server, the project news and a list of internet sites, kept for the news
// window's tree.
#include "content/stories.h"

#include <cstdint>
#include <string>
#include <vector>

// The news server of this build.
inline constexpr const char* kNewsServerHost = "localhost:8020";
inline constexpr const char* kNewsPath = "/cgi-bin/ZEDIVEvaNewsBlock.cgi";
inline constexpr const char* kSitesPath = "/cgi-bin/ZEDIVEvaDirect.cgi";
// Line 0 of every accepted reply (compared trimmed, in any letter case).
inline constexpr const char* kNewsMarker = "<[Tarnwick Direct - Data Service]>";
// Between the fields of an entry line.
inline constexpr const char* kNewsFieldSeparator = "<|>";

// Tree node data.
enum : int32_t { kNewsBranchData = -10, kSitesBranchData = -20, kSiteNodeData = -40 };

struct TDirectNewsItem {
    std::string Title;
    int32_t NewsID = 0;
    std::string URL;
};

struct TDirectSiteItem {
    std::string Name;
    std::string Anchor;
};

class TNewsManager {
public:
    // One news request: url + "?N=" + count.
    void RequestNews(const std::string& url, int count);
    // One sites request.
    void RequestSites(const std::string& url);
    // The tree's nodes for the current state (roots, their entries; or the
    // one failure notice).
    TOutline FillTree() const;
    // A copy of the first entry with that identifier; NewsID -1 when none.
    TDirectNewsItem FindNewsItem(int32_t id) const;
    // The first site of exactly that name; an empty Anchor when none.
    TDirectSiteItem FindSite(const std::string& name) const;
    // The address a click on a node opens; empty when it opens nothing.
    std::string NodeAddress(int32_t data, const std::string& nodeText) const;
    // Opens NodeAddress with OpenURL.
    void OpenNode(int32_t data, const std::string& nodeText) const;

    std::vector<TDirectNewsItem> NewsItems;
    std::vector<TDirectSiteItem> SiteItems;
    std::string NewsPageURL;
    std::string SitesPageURL;
    bool Connected = false;
    bool ServerBusy = false;
};

// True when a GET of the sites request to the server completes without an
// error; the reply's status is not examined.
bool NewsServerReachable(const std::string& server = kNewsServerHost);
// Opens a web address in the reader's browser. Only web addresses: a text
// without a scheme is taken as "http://" + text; any other scheme (a local
// file, a program) is refused and gives false.
bool OpenURL(const std::string& text);
