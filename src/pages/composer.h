#pragma once
// The page composer: every page the main window shows is an HTML text built
// here, plus the prophets tree's nodes, the banner titles and the link
// dispatch's decisions. Nothing here touches a window.
#include "content/documents.h"
#include "content/quran.h"
#include "content/stories.h"
#include "util/strutils.h"

#include <cstdint>
#include <string>
#include <vector>

// Page colours.
inline constexpr uint32_t kPageBackground = 14740459; // #EBEBE0
inline constexpr uint32_t kExcerptCell = 15726069;    // #F5F5EF

// Prophets tree node data.
inline constexpr int32_t kWelcomeNodeData = -786;
inline constexpr const char* kWelcomeNodeText = "The Prophets of Almighty Allah";

// The page-ready flag: off until the main window's first showing turns it on.
bool PageReady();
void SetPageReady(bool ready);

class TPageComposer {
public:
    TPageComposer(TMainDocManager* docs, TQuranHelper* quran, TProphetsHelper* stories)
        : FDocs(docs), FQuran(quran), FStories(stories) {}

    std::vector<TTreeNodeSpec> FillProphetsTree() const;
    std::string BuildWelcomePage() const;
    TStringList BuildPageHeader() const;
    std::string BuildDocumentPage(int index, bool recitationLinks) const;
    std::string BuildStoryPage(int32_t prophet, bool recitationLinks) const;
    std::string ExpandExcerptLines(const std::string& text, bool recitationLinks) const;

    // The banner's title: the current prophet's, else the selected document
    // position's (1 = first); empty where nothing is drawn.
    std::string BannerTitle(int documentPosition) const;

private:
    TMainDocManager* FDocs;
    TQuranHelper* FQuran;
    TProphetsHelper* FStories;
};

// Joins page lines, each followed by CR LF.
std::string JoinPageLines(const TStringList& lines);

// What the link dispatch decided, in the order the main window carries it out.
struct TLinkAction {
    enum Kind {
        PlayRecitation, // Argument: the verse reference
        SelectTreeNode, // Index: the prophets-tree node index
        ShowDocument,   // Index: the tree node index of a main document
        Feature,        // Argument: the feature name ("FEAT_INDEX" ... "FEAT_TIPS")
        OpenWebAddress, // Argument: the address after "HTTP://"
    };
    Kind Action;
    std::string Argument;
    int Index = -1;
};

std::vector<TLinkAction> DispatchLinkActions(const std::string& link, const TMainDocManager* docs);

extern const char* const kFeatureNames[8];
