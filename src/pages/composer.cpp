#include "pages/composer.h"

#include "content/prophets.h"
#include "util/errors.h"

namespace {
bool gPageReady = false;

const char* const kBannerTitles[] = {"Welcome to Halvora 1.5", "Software Features",
                                     "Distributing this Software", "Translator's Note",
                                     "Publisher's Note"};
} // namespace

const char* const kFeatureNames[8] = {"FEAT_INDEX",     "FEAT_REMOTE_AUD", "FEAT_GLOSSARY",
                                      "FEAT_SEARCH",    "FEAT_BOOKMARKS",  "FEAT_WORD_SPELL",
                                      "FEAT_PREFS",     "FEAT_TIPS"};

bool PageReady() { return gPageReady; }
void SetPageReady(bool ready) { gPageReady = ready; }

std::string JoinPageLines(const TStringList& lines) {
    std::string text;
    for (const auto& l : lines) {
        text += l;
        text += "\r\n";
    }
    return text;
}

std::vector<TTreeNodeSpec> TPageComposer::FillProphetsTree() const {
    std::vector<TTreeNodeSpec> nodes;
    int docs = FDocs ? FDocs->Count() : 0;
    for (int i = 1; i <= docs; ++i) nodes.push_back({FDocs->Items(i - 1).Title, -i, 1, 2, -1});
    int root = static_cast<int>(nodes.size());
    nodes.push_back({kWelcomeNodeText, kWelcomeNodeData, 0, 0, -1});
    for (int p = 1; p <= 29; ++p) nodes.push_back({ProphetName(p, 2), p, 1, 2, root});
    return nodes;
}

std::string TPageComposer::BuildWelcomePage() const {
    TStringList l = {
        "<BODY BGCOLOR=\"" + HtmlColor(kPageBackground) + "\">",
        "<CENTER><BR>",
        "<IMG SRC=\"Welcome1.jpg\">",
        "<BR><BR><BR>",
        "<IMG SRC=\"Welcome2.jpg\">",
        "<BR><BR>",
        "<FONT FACE=Verdana SIZE=3>",
        "<B>Halvora reader software by the Halvora developers, written for Linux</B><BR>",
        "<B>Sample edition of the prophets' stories written for Halvora by the Tarnwick "
        "editors (1447 AH / 2026 CE)</B><BR>",
        "<B>Qur'an verses in the English translation of Saheeh International, as carried by "
        "the quran-json 3.1.2 data package</B><BR>",
        "<B>Edited for this software; every quoted verse is taken from that translation "
        "module, never retyped</B><BR>",
        "</FONT>",
        "</CENTER>",
    };
    return JoinPageLines(l);
}

TStringList TPageComposer::BuildPageHeader() const {
    return {"<BODY BGCOLOR=\"" + HtmlColor(kPageBackground) + "\"><A NAME=\"TOP\"></A>",
            "<CENTER><BR>",
            "<TABLE BORDER=0 WIDTH=100%>",
            "<TR><TD WIDTH=42 VALIGN=TOP></TD>",
            "<TD ALIGN=CENTER VALIGN=TOP>",
            "<IMG SRC=\"Border.bmp\">",
            "</TD></TR></TABLE></CENTER><BR><BR>"};
}

std::string TPageComposer::BuildDocumentPage(int index, bool recitationLinks) const {
    if (!FDocs || index < 0 || index >= FDocs->Count()) throw ERangeError();
    TStringList l = BuildPageHeader();
    l.push_back("<FONT FACE=Verdana SIZE=3>");
    l.push_back(ExpandExcerptLines(FDocs->Items(index).BodyText(), recitationLinks));
    l.push_back("</FONT>");
    l.push_back("<BR><BR>");
    return JoinPageLines(l);
}

std::string TPageComposer::BuildStoryPage(int32_t prophet, bool recitationLinks) const {
    TStringList l = BuildPageHeader();
    l.push_back(FStories->StoryPageBody(prophet, recitationLinks));
    l.push_back("<BR><BR>");
    return JoinPageLines(l);
}

std::string TPageComposer::ExpandExcerptLines(const std::string& text, bool recitationLinks) const {
    TStringList lines = SplitLines(ExpandPlaceholders(text));
    TStringList excerpts;
    for (const auto& l : lines)
        if (Contains("<<", l) && Contains(">>", l)) excerpts.push_back(l);
    std::string result = JoinPageLines(lines);
    for (size_t n = 0; n < excerpts.size(); ++n) {
        std::string html;
        try {
            TQuranVerseRange range = ParseExcerptMarker(excerpts[n]);
            if (FQuran) html = ExcerptHtml(*FQuran, range, "Audio.jpg", recitationLinks, true);
        } catch (const std::exception&) {
            // A line that names no verses still gets its frame and anchor, empty,
            // rather than costing the reader the whole page.
            html.clear();
        }
        html = ReplaceAll(html, "\r\n\r\n", "<BR><BR>");
        std::string block = "<A NAME=QREF_" + std::to_string(n) + "></A>" +
                            "<TABLE BORDER=1 CELLPADDING=3 CELLSPACING=0><TR><TD BGCOLOR=" +
                            HtmlColor(kExcerptCell) + "><I>" + html + "</I></TD></TR></TABLE>";
        result = ReplaceAll(result, excerpts[n], block);
    }
    return result;
}

std::string TPageComposer::BannerTitle(int documentPosition) const {
    if (FStories && FStories->CurrentProphet() >= 1 && FStories->CurrentProphet() <= 29)
        return "Prophet " + ProphetName(FStories->CurrentProphet(), 0) + " (pbuh)";
    if (documentPosition >= 1 && documentPosition <= 5)
        return kBannerTitles[documentPosition - 1];
    if (documentPosition >= 6) return {};
    return "Error Rendering Image";
}

std::vector<TLinkAction> DispatchLinkActions(const std::string& rawLink, const TMainDocManager* docs) {
    std::vector<TLinkAction> actions;
    std::string link = rawLink;
    int docCount = docs ? docs->Count() : 0;
    if (Contains("RAUDIO_", link)) {
        link = RemoveAll(link, "RAUDIO_");
        actions.push_back({TLinkAction::PlayRecitation, link});
    }
    if (Contains("PROF_", link)) {
        int p = FindProphet(RemoveAll(link, "PROF_"));
        if (p > 0) actions.push_back({TLinkAction::SelectTreeNode, {}, docCount + p});
        return actions;
    }
    if (Contains("MDOC_", link) && docs) {
        int k = docs->IndexOfName(link);
        if (k >= 0) actions.push_back({TLinkAction::ShowDocument, {}, k});
    }
    for (const char* feature : kFeatureNames) {
        if (link == feature) {
            if (link == "FEAT_INDEX") actions.push_back({TLinkAction::SelectTreeNode, {}, docCount + 1});
            actions.push_back({TLinkAction::Feature, link});
            return actions;
        }
    }
    // The address keeps its own letter case: web paths are case-sensitive.
    size_t at = UpperCase(link).find("HTTP://");
    if (at != std::string::npos)
        actions.push_back({TLinkAction::OpenWebAddress, link.substr(at + 7)});
    return actions;
}
