#include "content/glossary.h"
#include "storage/cipher.h"
#include "storage/modules.h"
#include "util/errors.h"
#include "util/fileutils.h"

#include "support/edition_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const TStringList kGlossary = {
    "<<T:Salat>>|<<O:Salah, Namaz,Solat>>",
    "The ritual prayer, offered five times a day.",
    "<<T:Nooh>>|<<O:Nuh, Noah>>|<<RW:Nuh, Nooh>>[P]",
    "The prophet who built the ark.",
    "<<T:Ka'bah>>|<<O:Kaaba>>",
    "The house of Allah in <A HREF=\"Makkah\">Makkah</A>.",
    "<<T:Jinn,Jann,  Jaann>>|<<O:>>",
    "Beings made of smokeless fire.",
    "<<T:Ayah>>|<<O:Aya>>|<<RW:Ayat>>",
    "A verse of the Qur'an.",
    "<<T:Allah>>|<<O:>>",
    "God.",
};

class GlossaryTest : public ::testing::Test {
protected:
    // Stores any lines, well-formed or not, as the glossary file stores them.
    std::string WriteRaw(const TStringList& plain, const std::string& name = kGlossaryFileName) {
        TStringList stored = plain;
        EncipherLines(stored);
        WriteFileLines(dir + name, stored);
        return dir + name;
    }
    TGlossaryHelper Loaded(const TStringList& plain) {
        std::string path = WriteRaw(plain);
        TGlossaryHelper g(path, FileSignature(path));
        g.Load();
        return g;
    }

    TFixtureFolder folder;
    const std::string dir = folder.Path();
    std::vector<std::string>& reports = folder.Headings;
    int& terminations = folder.Terminations;
};

TEST_F(GlossaryTest, LoadReadsTermLineFields) {
    TGlossaryHelper g = Loaded(kGlossary);
    EXPECT_TRUE(g.Loaded);
    ASSERT_EQ(g.Count(), 6);

    TGlossaryTerm salat = g.GetTerm(0);
    EXPECT_EQ(salat.Term, "Salat");
    EXPECT_EQ(salat.AltSpellings, "Salah, Namaz,Solat");
    EXPECT_EQ(salat.Meaning, "The ritual prayer, offered five times a day.");
    EXPECT_EQ(salat.PreferredSpellings, "");
    EXPECT_FALSE(salat.PFlag);

    TGlossaryTerm nooh = g.GetTerm(1);
    EXPECT_EQ(nooh.Term, "Nooh");
    EXPECT_EQ(nooh.AltSpellings, "Nuh, Noah");
    EXPECT_EQ(nooh.PreferredSpellings, "Nuh, Nooh");
    EXPECT_TRUE(nooh.PFlag);

    // Commas in a headword get exactly one space after them.
    EXPECT_EQ(g.GetTerm(3).Term, "Jinn, Jann, Jaann");
    EXPECT_EQ(g.GetTerm(3).AltSpellings, "");
    EXPECT_EQ(g.GetTerm(4).PreferredSpellings, "Ayat");
    EXPECT_EQ(g.GetTerm(2).Meaning, "The house of Allah in <A HREF=\"Makkah\">Makkah</A>.");
    EXPECT_THROW(g.GetTerm(6), ERangeError);
    EXPECT_THROW(g.GetTerm(-1), ERangeError);
    EXPECT_EQ(g.GetName(), "Glossary Module");
}

TEST_F(GlossaryTest, TermLineVariants) {
    struct Case {
        std::string line;
        std::string term, alt, preferred;
        bool pflag;
    };
    const Case cases[] = {
        {"<<T:A>>|<<O:x, y>>", "A", "x, y", "", false},
        {"[P]<<T:B>>|<<O:x>>|<<RW:p, q>>", "B", "x", "p, q", true},
        {"<<T:C>>|<<O:x[P]>>", "C", "x", "", true},
        {"<<T:D,E ,F>>|<<O:>>", "D, E , F", "", "", false},
        {"<<T:G>>|<<O:a>>b>>", "G", "ab", "", false},
        {"<<T:H>>", "H", "", "", false},
        {"<<T:I>>|<<O:x>>|<<RW:", "I", "x", "", false},
    };
    for (const auto& c : cases) {
        TGlossaryHelper g = Loaded({c.line, "meaning"});
        ASSERT_EQ(g.Count(), 1);
        TGlossaryTerm t = g.GetTerm(0);
        EXPECT_EQ(t.Term, c.term) << c.line;
        EXPECT_EQ(t.AltSpellings, c.alt) << c.line;
        EXPECT_EQ(t.PreferredSpellings, c.preferred) << c.line;
        EXPECT_EQ(t.PFlag, c.pflag) << c.line;
        EXPECT_EQ(t.Meaning, "meaning");
    }
}

TEST_F(GlossaryTest, TableSizeIsHalfTheLinesOddCountsToTheNearestEven) {
    const std::pair<int, int> sizes[] = {{0, 0}, {1, 0}, {2, 1}, {3, 2}, {4, 2}, {5, 2},
                                         {6, 3}, {7, 4}, {9, 4}, {10, 5}, {11, 6}, {13, 6}};
    for (auto [lines, entries] : sizes) EXPECT_EQ(GlossaryTableSize(lines), entries) << lines;

    // Nine lines: four entries, the last ones empty, and FillTerms lists them all.
    TStringList nine(kGlossary.begin(), kGlossary.begin() + 4);
    nine.insert(nine.end(), {"second meaning replaces the first", "<<T:Ka'bah>>|<<O:Kaaba>>", "house",
                             "more", "most"});
    TGlossaryHelper g = Loaded(nine);
    ASSERT_EQ(g.Count(), 4);
    TStringList terms = {"stale"};
    g.FillTerms(terms);
    EXPECT_EQ(terms, (TStringList{"Salat", "Nooh", "Ka'bah", ""}));
    EXPECT_EQ(g.GetTerm(1).Meaning, "second meaning replaces the first");
    EXPECT_EQ(g.GetTerm(2).Meaning, "most");
    EXPECT_EQ(g.GetTerm(3).Meaning, "");
    EXPECT_FALSE(g.GetTerm(3).PFlag);
}

TEST_F(GlossaryTest, MoreTermLinesThanRoomOrALeadingMeaningAreReadSafely) {
    // Five lines have room for two entries; the third and fourth term lines
    // and the meaning after them are left out, and do not touch entry 1.
    TGlossaryHelper g = Loaded({"<<T:One>>|<<O:>>", "<<T:Two>>|<<O:Deux>>", "<<T:Three>>|<<O:>>",
                                "<<T:Four>>|<<O:>>", "the meaning of four"});
    ASSERT_EQ(g.Count(), 2);
    EXPECT_EQ(g.GetTerm(0).Term, "One");
    EXPECT_EQ(g.GetTerm(1).Term, "Two");
    EXPECT_EQ(g.GetTerm(1).Meaning, "");
    EXPECT_EQ(g.SkippedLines(), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(g.LookupWord("deux"), 1);
    EXPECT_EQ(g.LookupWord("Four"), -1);

    // A single term line has no room at all.
    TGlossaryHelper single = Loaded({"<<T:Alone>>|<<O:>>"});
    EXPECT_EQ(single.Count(), 0);
    EXPECT_EQ(single.LookupWord("Alone"), -1);

    // A leading meaning line belongs to nothing; the rest reads normally.
    TStringList lead = {"orphan meaning"};
    lead.insert(lead.end(), kGlossary.begin(), kGlossary.end());
    TGlossaryHelper h = Loaded(lead);
    ASSERT_EQ(h.Count(), 6); // 13 lines
    EXPECT_EQ(h.GetTerm(0).Term, "Salat");
    EXPECT_EQ(h.GetTerm(0).Meaning, "The ritual prayer, offered five times a day.");
    EXPECT_EQ(h.GetTerm(5).Meaning, "God.");
    EXPECT_EQ(h.SkippedLines(), std::vector<int>{0});
}

TEST_F(GlossaryTest, FindTermMatchesHeadwordsAndAlternateSpellings) {
    TGlossaryHelper g = Loaded(kGlossary);
    const std::pair<const char*, int> cases[] = {
        {"Salat", 0},   {"SALAT", 0},  {"salat", 0},      {"  Namaz ", 0}, {"solat", 0},
        {"noah", 1},    {"Nooh", 1},   {"ka'bah", 2},     {"KAABA", 2},    {"jinn, jann, jaann", 3},
        {"Jinn", -1},   {"Nuh,", -1},  {"Ayat", -1},      {"", -1},        {"   ", -1},
        {" Salat", -1}, // headwords match without trimming
    };
    for (auto [word, want] : cases) EXPECT_EQ(g.FindTerm(word), want) << "[" << word << "]";
}

TEST_F(GlossaryTest, LookupWordNormalisesPossessivesAndPlurals) {
    TGlossaryHelper g = Loaded(kGlossary);
    const std::pair<const char*, int> cases[] = {
        {"  Salat  ", 0}, {"Nooh's", 1},   {"Noah's", 1},   {"Ka'bah's", 2},  {"Salats", 0},
        {"SALATS", 0},    {"Ayahs", 4},    {"AyahS", 4},    {"Ayah's", 4},    {"Allah", 5},
        {"    ", -1},     {"", -1},        {"'s", -1},      {"s", -1},        {"Salatz", -1},
        {"Salatss", -1},  {"Kaabas", 2},
    };
    for (auto [word, want] : cases) EXPECT_EQ(g.LookupWord(word), want) << "[" << word << "]";
}

TEST_F(GlossaryTest, LookupsLoadTheFileOnFirstUseAndFillTermsDoesNot) {
    std::string path = WriteRaw(kGlossary);
    TGlossaryHelper g(path, FileSignature(path));
    TStringList terms = {"x"};
    g.FillTerms(terms);
    EXPECT_TRUE(terms.empty());
    EXPECT_FALSE(g.Loaded);
    EXPECT_EQ(g.LookupWord("Noah"), 1);
    EXPECT_TRUE(g.Loaded);
    g.FillTerms(terms);
    EXPECT_EQ(terms.size(), 6u);

    TGlossaryHelper f(path, "");
    EXPECT_EQ(f.FindTerm("Allah"), 5);
    EXPECT_TRUE(f.Loaded);
}

TEST_F(GlossaryTest, ProperSpelling) {
    TGlossaryHelper g = Loaded(kGlossary);
    struct Case {
        const char* word;
        bool usePreferred;
        const char* spelling;
        bool preferredUsed;
    };
    const Case cases[] = {
        {"namaz", false, "Salat", false},  {"namaz", true, "Salat", false}, {"Noah", false, "Nooh", false},
        {"Noah", true, "Nuh", true},       {"ayah", true, "Ayat", true},    {"Qiblah", true, "Qiblah", false},
        {"  kaaba ", false, "Ka'bah", false},
    };
    for (const auto& c : cases) {
        TProperSpelling r = g.ProperSpelling(c.word, c.usePreferred);
        EXPECT_EQ(r.Spelling, c.spelling) << c.word;
        EXPECT_EQ(r.PreferredUsed, c.preferredUsed) << c.word;
    }
}

TEST_F(GlossaryTest, TermPageLines) {
    TGlossaryHelper g = Loaded(kGlossary);
    EXPECT_EQ(g.TermPage(0, 0x00FF8000),
              "<FONT FACE=\"Verdana\" SIZE=\"2\" COLOR=\"#0080FF\">\r\n"
              "<B>Salat</B>\r\n"
              "<HR NOSHADE COLOR=Silver SIZE=1\r\n"
              "</FONT>\r\n"
              "<FONT FACE=\"Verdana\" SIZE=\"1\" COLOR=\"Black\">\r\n"
              "<B>Alternate Spellings</B><BR>\r\n"
              "</FONT>\r\n"
              "<I>Salah, Namaz,Solat</I><BR><BR>\r\n"
              "<FONT FACE=\"Verdana\" SIZE=\"1\" COLOR=\"Black\">\r\n"
              "<BB><B>Meaning</B></BB><BR><BR>\r\n"
              "The ritual prayer, offered five times a day.\r\n"
              "</FONT>\r\n");
    EXPECT_EQ(g.TermPage(5, 0x000000FF),
              "<FONT FACE=\"Verdana\" SIZE=\"2\" COLOR=\"#FF0000\">\r\n"
              "<B>Allah</B>\r\n"
              "<HR NOSHADE COLOR=Silver SIZE=1\r\n"
              "</FONT>\r\n"
              "<FONT FACE=\"Verdana\" SIZE=\"1\" COLOR=\"Black\">\r\n"
              "<BB><B>Meaning</B></BB><BR><BR>\r\n"
              "God.\r\n"
              "</FONT>\r\n");
    EXPECT_THROW(g.TermPage(6, 0), ERangeError);
}

TEST_F(GlossaryTest, VerifyComparesTheWholeFileSignature) {
    std::string path = WriteRaw(kGlossary);
    TGlossaryHelper good(path, FileSignature(path));
    EXPECT_TRUE(good.Verify());
    EXPECT_TRUE(reports.empty());

    // A changed file: exactly one report however often it is checked.
    TStringList other = kGlossary;
    other[1] = "The ritual prayer.";
    WriteRaw(other);
    EXPECT_FALSE(good.Verify());
    EXPECT_FALSE(good.Verify());
    EXPECT_EQ(reports, std::vector<std::string>{"Verification Failed!"});
    EXPECT_EQ(terminations, 1);
}

TEST_F(GlossaryTest, MissingFileFailsLoadAndVerifyButNotLookups) {
    TGlossaryHelper g(dir + "Nowhere.dbx", "");
    EXPECT_THROW(g.Load(), EInOutError);
    EXPECT_FALSE(g.Loaded);
    EXPECT_EQ(g.LookupWord("Salat"), -1);
    EXPECT_EQ(g.ProperSpelling("Salat", true).Spelling, "Salat");
    // Even against an empty expectation a missing file is a failure.
    EXPECT_FALSE(g.Verify());
    EXPECT_EQ(reports.size(), 1u);
}

TEST_F(GlossaryTest, DamagedLineFailsLoadAndLeavesTheTableAsItWas) {
    TStringList stored = kGlossary;
    EncipherLines(stored);
    stored[3] = "!!!not a stored line at all!!!";
    WriteFileLines(dir + "Bad.dbx", stored);
    TGlossaryHelper g(dir + "Bad.dbx", "");
    EXPECT_THROW(g.Load(), EConvertError);
    EXPECT_FALSE(g.Loaded);
    EXPECT_TRUE(g.Terms.empty());
    EXPECT_EQ(g.LookupWord("Salat"), -1);

    TGlossaryHelper h = Loaded(kGlossary);
    WriteFileLines(dir + kGlossaryFileName, stored);
    EXPECT_THROW(h.Load(), EConvertError);
    EXPECT_EQ(h.Count(), 6);
    EXPECT_EQ(h.LookupWord("Noah"), 1);
}

TEST_F(GlossaryTest, PackerWritesWhatTheReaderReads) {
    WriteGlossary(dir + "Packed.dbx", kGlossary);
    std::string raw = WriteRaw(kGlossary, "Raw.dbx");
    EXPECT_EQ(FileSignature(dir + "Packed.dbx"), FileSignature(raw));
    TGlossaryHelper g(dir + "Packed.dbx", FileSignature(raw));
    g.Load();
    EXPECT_EQ(g.Count(), 6);
    EXPECT_TRUE(g.Verify());
}

TEST_F(GlossaryTest, SourceCheckNamesTheLineOfEachProblem) {
    EXPECT_TRUE(CheckGlossarySource(kGlossary).empty());
    struct Case {
        TStringList lines;
        TStringList want;
    };
    const Case cases[] = {
        {{"meaning first", "<<T:A>>|<<O:>>", "m"}, {"line 1: a meaning line with no term line above it"}},
        {{"<<T:A>>|<<O:>>", "<<T:B>>|<<O:>>", "m"}, {"line 1: the term has no meaning line after it"}},
        {{"<<T:A>>|<<O:>>", "m", "<<T:B>>|<<O:>>"}, {"line 3: the term has no meaning line after it"}},
        {{"<<T:A>>|<<O:>>", "m", "m2"},
         {"line 3: a second meaning line for the term of line 1; it would replace the first"}},
        {{"<<T:A>>|<<O:>>", "  "}, {"line 2: the meaning is empty"}},
        {{"<<T:A>>", "m"}, {"line 1: no \"|<<O:\" field after the headword"}},
        {{"<<T:>>|<<O:x>>", "m"}, {"line 1: the headword is empty"}},
        {{"<<T:A|<<O:x", "m"}, {"line 1: the headword has no closing \">>\""}},
        {{"<<T:A>>|<<O:x", "m"}, {"line 1: the alternate spellings have no closing \">>\""}},
        {{"<<T:A>>|<<O:x>>|<<RW:y", "m"}, {"line 1: the preferred spellings must end the line with \">>\""}},
        {{"<<T:A>>|<<O:x>> trailing", "m"}, {"line 1: unexpected text after the alternate spellings:  trailing"}},
        {{"x <<T:A>>|<<O:x>>", "m"}, {"line 1: a term line must start with \"<<T:\""}},
        {{"<<T:A[P]>>|<<O:x>>", "m"}, {"line 1: the marker \"[P]\" stands inside the headword"}},
        {{"<<t:A>>|<<O:x>>", "m"},
         {"line 1: looks like a term line but has no \"<<T:\"", "line 2: a meaning line with no term line above it"}},
        {{"<<T:A>>|<<O:x>>", "m", "<<T:a>>|<<O:y>>", "n"},
         {"line 3: the headword is already on line 1; this entry could never be found"}},
        {{}, {"line 1: the glossary is empty"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckGlossarySource(c.lines), c.want) << (c.lines.empty() ? "" : c.lines[0]);
        EXPECT_THROW(PackGlossary(c.lines), EConvertError);
    }
    // Well-formed variants pass.
    EXPECT_TRUE(CheckGlossarySource({"<<T:A>>|<<O:>>[P]", "m", "[P]<<T:B>>|<<O:x, y>>|<<RW:z>>", "n"}).empty());
}

TEST_F(GlossaryTest, SampleEditionGlossaryPacksAndReads) {
    TStringList plain;
    ASSERT_TRUE(ReadFileLines(HALVORA_SOURCE_DIR "/data/glossary.txt", plain));
    EXPECT_EQ(CheckGlossarySource(plain), TStringList{});
    WriteGlossary(dir + kGlossaryFileName, plain);
    TGlossaryHelper g(dir + kGlossaryFileName, FileSignature(dir + kGlossaryFileName));
    g.Load();
    EXPECT_TRUE(g.Verify());
    EXPECT_EQ(g.Count(), static_cast<int>(plain.size() / 2));
    EXPECT_TRUE(g.SkippedLines().empty());
    for (int i = 0; i < g.Count(); ++i) {
        TGlossaryTerm t = g.GetTerm(i);
        EXPECT_FALSE(t.Term.empty()) << i;
        EXPECT_FALSE(t.Meaning.empty()) << t.Term;
        EXPECT_EQ(g.LookupWord(t.Term), i) << t.Term;
    }
}

} // namespace
