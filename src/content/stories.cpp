#include "content/stories.h"

#include "platform/resources.h"
#include "storage/cipher.h"
#include "storage/modules.h"
#include "util/errors.h"
#include "util/fileutils.h"

const char* const kStoryModuleFile = "HVModule.dll";

TProphetsHelper::TProphetsHelper(std::string moduleFile, TQuranHelper* quranModule,
                                 std::string expectedSignature)
    : FModuleFile(std::move(moduleFile)), FExpectedSignature(std::move(expectedSignature)),
      FQuranModule(quranModule) {}

TProphetsHelper::~TProphetsHelper() = default;

std::string TProphetsHelper::GetName() { return "Prophets Biographies Module"; }

bool TProphetsHelper::Verify() {
    bool ok = FileSignature(ProgramFolder() + FModuleFile) == FExpectedSignature;
    if (!ok) FatalVerificationFailure();
    return ok;
}

TProphetStory& TProphetsHelper::StoryRef(int32_t prophet) {
    if (prophet < 1 || prophet > 29) throw ERangeError();
    return FStories[static_cast<size_t>(prophet - 1)];
}

const TProphetStory& TProphetsHelper::Story(int32_t prophet) const {
    if (prophet < 1 || prophet > 29) throw ERangeError();
    return FStories[static_cast<size_t>(prophet - 1)];
}

void TProphetsHelper::LoadAll() {
    FModuleHandle = std::make_unique<TResourceLibrary>();
    FModuleHandle->Open(ProgramFolder() + FModuleFile);
    for (int32_t n = 1; n <= 29; ++n) {
        if (!FModuleHandle->HasResource("HV" + std::to_string(n), "HVDATA")) {
            FatalVerificationFailure();
            return;
        }
        TStringList scratch;
        LoadStory(n, &scratch);
    }
}

void TProphetsHelper::LoadStory(int32_t prophet, TStringList* list) {
    TProphetStory& story = StoryRef(prophet);
    FCurrentProphet = prophet;
    if (story.Loaded) {
        if (list) *list = story.Lines;
        return;
    }
    std::string bytes;
    if (!FModuleHandle || !FModuleHandle->ReadResource("HV" + std::to_string(prophet), "HVDATA", bytes))
        throw EHalvoraError("Story resource HV" + std::to_string(prophet) + " not found");
    TStringList lines = ReadTextLines(bytes);
    DecipherLines(lines);
    std::string joined;
    for (auto& l : lines) {
        joined += l == "++" ? std::string() : l;
        joined += "\r\n";
    }
    story.Lines = SplitLines(joined);
    if (list) *list = story.Lines;
    int32_t counter = -1;
    for (auto& line : story.Lines) {
        if (Contains("<[", line)) {
            ++counter;
            line = Trim(line);
            story.Topics.push_back({TextBetween(line, "<[", "]>"), counter});
        }
        if (Contains("<<", line)) {
            line = Trim(line);
            story.Excerpts.push_back({ParseExcerptMarker(line), line, counter});
        }
    }
    story.Loaded = true;
}

std::string TProphetsHelper::StoryPageBody(int32_t prophet, bool recitationLinks) {
    TStringList lines;
    LoadStory(prophet, &lines);
    std::string text;
    for (const auto& l : lines) {
        text += l;
        text += "\r\n";
    }
    text = ReplaceAll(text, "\r\n", "<BR>");
    const TProphetStory& story = Story(prophet);
    for (size_t k = 0; k < story.Topics.size(); ++k) {
        const std::string& t = story.Topics[k].Title;
        text = ReplaceAll(text, "<[" + t,
                          "<BR><A NAME=SUBTOPIC_" + std::to_string(k) + "></A><B>" + t);
        text = ReplaceAll(text, t + "]>", t + "</B><HR SIZE=1 NOSHADE COLOR=SILVER>");
    }
    for (size_t k = 0; k < story.Excerpts.size(); ++k) {
        const TQuranExcerpt& e = story.Excerpts[k];
        try {
            if (!FQuranModule) throw EHalvoraError("No Qur'an module");
            std::string html = ExcerptHtml(*FQuranModule, e.Range, "Audio.jpg", recitationLinks, true);
            html = ReplaceAll(html, "\r\n\r\n", "<BR><BR>");
            std::string block = "<A NAME=QREF_" + std::to_string(k) + "></A>" +
                                "<TABLE BORDER=1 CELLPADDING=3 CELLSPACING=0><TR><TD BGCOLOR=" +
                                HtmlColor(15726069) + "><I>" + html + "</I></TD></TR></TABLE>";
            text = ReplaceAll(text, e.SourceLine, block);
        } catch (const std::exception&) {
            // The marker line stays in the page as it was.
        }
    }
    return text;
}

TOutline TProphetsHelper::FillOutline(int32_t prophet, bool composite) {
    const TProphetStory& story = Story(prophet);
    TOutline nodes;
    nodes.push_back({ProphetName(prophet, 2) + kPeaceBeUponHim, kOutlineRoot, 0, 0, -1});
    for (const auto& t : story.Topics) nodes.push_back({t.Title, kOutlineTopic, 1, 1, 0});
    if (composite) {
        int topics = static_cast<int>(story.Topics.size());
        for (const auto& e : story.Excerpts) {
            // Without any heading the excerpts hang under the root itself.
            int parent = topics == 0 ? 0 : 1 + std::clamp<int>(e.TopicIndex, 0, topics - 1);
            nodes.push_back({FormatVerseRange(e.Range, true), kOutlineQuranRef, 0, 0, parent});
        }
    }
    return nodes;
}

std::string TProphetsHelper::TopicTitle(int32_t prophet, int32_t index) {
    const TProphetStory& story = Story(prophet);
    if (index < 0 || index >= static_cast<int32_t>(story.Topics.size())) throw ERangeError();
    return story.Topics[static_cast<size_t>(index)].Title;
}

int32_t TProphetsHelper::FindTopic(int32_t prophet, const std::string& title) {
    const TProphetStory& story = Story(prophet);
    for (size_t i = 0; i < story.Topics.size(); ++i)
        if (SameText(story.Topics[i].Title, title)) return static_cast<int32_t>(i);
    return -1;
}

TQuranExcerpt TProphetsHelper::GetExcerpt(int32_t prophet, int32_t index) {
    const TProphetStory& story = Story(prophet);
    if (index < 0 || index >= static_cast<int32_t>(story.Excerpts.size())) throw ERangeError();
    return story.Excerpts[static_cast<size_t>(index)];
}

std::string TProphetsHelper::ExcerptRefText(int32_t prophet, int32_t index) {
    return FormatVerseRange(GetExcerpt(prophet, index).Range, true);
}

int32_t TProphetsHelper::FindExcerpt(int32_t prophet, const std::string& refText) {
    const TProphetStory& story = Story(prophet);
    for (size_t i = 0; i < story.Excerpts.size(); ++i)
        if (SameText(FormatVerseRange(story.Excerpts[i].Range, true), refText))
            return static_cast<int32_t>(i);
    return -1;
}

int32_t TProphetsHelper::TopicCount(int32_t prophet) {
    return static_cast<int32_t>(Story(prophet).Topics.size());
}

int32_t TProphetsHelper::ExcerptCount(int32_t prophet) {
    return static_cast<int32_t>(Story(prophet).Excerpts.size());
}
