// The sample edition as the build ships it: every module of the program
// folder passes its own check and reads back whole, and the sources meet the
// edition's minimums.
#include "content/documents.h"
#include "content/glossary.h"
#include "content/prophets.h"
#include "content/quran.h"
#include "content/stories.h"
#include "shell/appbase.h"
#include "storage/modules.h"
#include "storage/tree.h"
#include "support/edition_fixture.h"
#include "util/fileutils.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace {

class EditionTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = ProgramFolder();
        SetProgramFolder(HALVORA_PROGRAM_DIR);
        ResetFailureShown();
        oldHandlers_ = SetVerificationHandlers(
            {[this](const std::string&, const std::string&) { ++reports_; }, [] {}});
        AppfrmInit = &init_;
    }
    void TearDown() override {
        AppfrmInit = nullptr;
        SetVerificationHandlers(oldHandlers_);
        SetProgramFolder(old_);
    }
    std::string old_;
    TVerificationHandlers oldHandlers_;
    int reports_ = 0;
    TNoProgress init_;
};

TStringList Source(const std::string& rel) {
    TStringList lines;
    EXPECT_TRUE(ReadFileLines(std::string(HALVORA_SOURCE_DIR) + "/data/" + rel, lines)) << rel;
    return lines;
}

std::string StorySource(int n) { return std::string(n < 10 ? "stories/0" : "stories/") + std::to_string(n) + ".txt"; }

std::vector<std::string> ItalicTerms(const std::string& text) {
    std::vector<std::string> terms;
    static const std::regex italic("<I>(.*?)</I>", std::regex::icase);
    for (std::sregex_iterator it(text.begin(), text.end(), italic), end; it != end; ++it)
        terms.push_back((*it)[1]);
    return terms;
}

int Words(const std::string& html) {
    static const std::regex tag("<[^>]*>");
    std::string text = std::regex_replace(html, tag, " ");
    int words = 0;
    bool in = false;
    for (char c : text) {
        bool letter = static_cast<unsigned char>(c) > 32;
        if (letter && !in) ++words;
        in = letter;
    }
    return words;
}

TEST_F(EditionTest, ModulesPassTheirChecksAndReadBackWhole) {
    TQuranDLLHelper quran;
    ASSERT_EQ(reports_, 0) << "the Qur'an module fails its check";
    quran.Load();
    ASSERT_EQ(quran.Lines().size(), 6350u);
    EXPECT_EQ(quran.VerseText(1, 1), "In the name of Allah, the Entirely Merciful, the Especially Merciful");
    EXPECT_FALSE(quran.VerseText(114, 6).empty());

    TProphetsHelper stories("HVModule.dll", &quran);
    EXPECT_TRUE(stories.Verify());
    stories.LoadAll();
    for (int p = 1; p <= 29; ++p) {
        ASSERT_TRUE(stories.Story(p).Loaded) << p;
        std::string body = stories.StoryPageBody(p, true);
        // every excerpt became a table with its verses
        EXPECT_EQ(body.find("<<"), std::string::npos) << ProphetName(p, 0);
        EXPECT_EQ(CountOf(body, "<TABLE BORDER=1"), stories.ExcerptCount(p)) << ProphetName(p, 0);
    }

    TMainDocManager docs;
    OpenBuiltInDocuments(docs);
    docs.LoadAll();
    ASSERT_EQ(docs.Count(), 5);
    const char* titles[] = {"Introduction", "Software Features", "Distribution",
                            "Translator's Note", "Publisher's Note"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(docs.Items(i).Title, titles[i]);
        EXPECT_TRUE(docs.Items(i).Valid);
        EXPECT_TRUE(Contains("MDOC_", docs.Items(i).DocName));
    }

    TGlossaryHelper glossary(ProgramFolder() + "QGloss.dbx");
    EXPECT_TRUE(glossary.Verify());
    glossary.Load();
    EXPECT_GE(glossary.Count(), 300); // the Software Features page says "more than three hundred"

    TStringList recitation;
    ASSERT_TRUE(ReadFileLines(ProgramFolder() + "QRemoteAud.dbx", recitation));
    EXPECT_EQ(recitation.size(), 6240u);
    TQuranIndexHelper index;
    EXPECT_TRUE(index.LoadFromFile());
    EXPECT_GT(index.Count(), 29 * 5);
    EXPECT_EQ(reports_, 0);
}

// The translation's corrections: each one is in the packed module, and the
// Translator's Note lists each one, since it says the verses are shown word
// for word except for them.
TEST_F(EditionTest, TranslationCorrectionsArePackedAndListed) {
    TQuranDLLHelper quran;
    quran.Load();
    ASSERT_EQ(quran.Lines().size(), 6350u);
    std::string note;
    for (const auto& line : Source("documents/TranslatorsNote.txt")) note += line + "\n";
    int entries = 0;
    for (const auto& line : Source("translations/saheeh/corrections.txt")) {
        if (Trim(line).empty() || Trim(line)[0] == '#') continue;
        TStringList f = SplitTrimmed(line, "|");
        ASSERT_EQ(f.size(), 3u) << line;
        int s = StrToInt(TextBefore(f[0], ":")), v = StrToInt(TextAfter(f[0], ":"));
        std::string text = quran.VerseText(s, v);
        EXPECT_TRUE(Contains(f[2], text)) << f[0] << ": " << text;
        EXPECT_FALSE(Contains(f[1], text)) << f[0] << ": " << text;
        EXPECT_TRUE(Contains("<TR><TD>" + f[0] + "</TD><TD>" + f[1] + "</TD><TD>" + f[2] + "</TD></TR>", note))
            << "the Translator's Note does not list " << line;
        ++entries;
    }
    EXPECT_GE(entries, 17); // al-Khidhr six times, "Allah's" ten times, "send" once
    EXPECT_EQ(CountOf(note, "<TR><TD>"), entries + 1) << "a listed correction that the build does not make";
    EXPECT_TRUE(Contains("word for word as the package gives them, except these listed corrections", note));
    EXPECT_EQ(quran.VerseText(18, 71).find("al-Khidh r"), std::string::npos);
}

// The notice of the work of others is in the program folder, word for word as
// in the repository, and the README carries it too.
TEST_F(EditionTest, ThirdPartyNoticeIsInTheProgramFolderAndTheReadme) {
    std::string notice, shipped, readme;
    ASSERT_TRUE(ReadFileBytes(std::string(HALVORA_SOURCE_DIR) + "/share/ThirdPartyNotices.txt", notice));
    ASSERT_TRUE(ReadFileBytes(ProgramFolder() + "ThirdPartyNotices.txt", shipped));
    ASSERT_TRUE(ReadFileBytes(std::string(HALVORA_SOURCE_DIR) + "/README.md", readme));
    EXPECT_EQ(shipped, notice);
    for (const char* must : {"Saheeh International", "quran-json", "CC-BY-4.0",
                             "Attribution-ShareAlike 4.0", "not a licence from the",
                             "check the translation's terms", "Qt 6", "Crypto++", "zlib", "libjpeg-turbo"})
        EXPECT_TRUE(Contains(must, notice)) << must;
    EXPECT_TRUE(Contains(notice, readme)) << "the README's copy of the notice differs from share/ThirdPartyNotices.txt";
}

TEST_F(EditionTest, SourcesMeetTheEditionsMinimums) {
    TGlossaryHelper glossary(ProgramFolder() + "QGloss.dbx");
    glossary.Load();
    int words = 0, markers = 0;
    for (int p = 1; p <= 29; ++p) {
        int topics = 0, storyMarkers = 0;
        std::set<std::pair<int, int>> shown; // a verse is shown once in a story
        for (const auto& line : Source(StorySource(p))) {
            if (Contains("<[", line)) {
                ++topics;
            } else if (Contains("<<", line)) {
                ++storyMarkers;
                TQuranVerseRange r = ParseExcerptMarker(line);
                EXPECT_LE(r.ToVerse - r.FromVerse + 1, 15) << line;
                for (int v = r.FromVerse; v <= r.ToVerse; ++v)
                    EXPECT_TRUE(shown.insert({r.FromSurah, v}).second)
                        << "story " << p << " shows " << r.FromSurah << ":" << v << " twice";
            } else {
                words += Words(line);
                for (const auto& term : ItalicTerms(line))
                    EXPECT_GE(glossary.LookupWord(term), 0) << "story " << p << ": " << term;
            }
        }
        EXPECT_GE(topics, 4) << p;
        EXPECT_LE(topics, 10) << p;
        EXPECT_GE(storyMarkers, 3) << p;
        markers += storyMarkers;
    }
    EXPECT_GE(words, 30000);
    EXPECT_GE(markers, 150);

    std::string documents;
    for (const char* name : {"Introduction", "SoftFeat", "Distribution", "TranslatorsNote", "PublishersNote"}) {
        TStringList doc = Source(std::string("documents/") + name + ".txt");
        ASSERT_GT(doc.size(), 8u) << name;
        for (size_t i = 8; i < doc.size(); ++i) {
            documents += doc[i] + "\n";
            for (const auto& term : ItalicTerms(doc[i]))
                EXPECT_GE(glossary.LookupWord(term), 0) << name << ": " << term;
        }
    }
    for (const char* feature : {"FEAT_INDEX", "FEAT_REMOTE_AUD", "FEAT_GLOSSARY", "FEAT_SEARCH",
                                "FEAT_BOOKMARKS", "FEAT_WORD_SPELL", "FEAT_PREFS", "FEAT_TIPS"})
        EXPECT_TRUE(Contains(std::string("\"") + feature + "\"", documents)) << feature;
    for (const char* must : {"MDOC_", "PROF_", "<VER>", "HTTP://"})
        EXPECT_TRUE(Contains(must, documents)) << must;
    int excerptLines = 0;
    for (const auto& l : SplitLines(documents))
        if (Contains("<<", l) && Contains(">>", l)) ++excerptLines;
    EXPECT_GE(excerptLines, 2);
}

} // namespace
