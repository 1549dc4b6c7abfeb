// halvora-pack, run as the author runs it, checked with the reader's own code.
#include "content/surahs.h"
#include "platform/pe.h"
#include "platform/resources.h"
#include "storage/cipher.h"
#include "storage/modules.h"
#include "storage/tree.h"
#include "util/fileutils.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

const std::string kPack = HALVORA_BUILD_DIR "/authoring/halvora-pack";

struct TempDir {
    std::string path;
    TempDir() {
        char tmpl[] = "/tmp/hvpackXXXXXX";
        path = mkdtemp(tmpl);
    }
    ~TempDir() { fs::remove_all(path); }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

std::string Read(const std::string& name) {
    std::ifstream f(name, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

struct Result {
    int rc;
    std::string out, err;
};

Result Pack(const std::string& args, const TempDir& dir) {
    std::string errFile = dir / "stderr.txt";
    std::string cmd = "cd " + dir.path + " && " + kPack + " " + args + " 2>" + errFile;
    Result r{-1, {}, {}};
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    int status = pclose(p);
    r.rc = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = Read(errFile);
    return r;
}

std::string Joined(const TStringList& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\n";
    return s;
}

// Plain sources with every kind of line ending, empty lines, Windows-1252
// letters and TABs, and a last line without an ending.
const std::string kStory = "<[The Call]>\r\n<P>Caf\xE9 \"quoted\" text\tand a tab</P>\n\n<<11:25-49>>\r++\r\nlast";
const TStringList kStoryLines{"<[The Call]>", "<P>Caf\xE9 \"quoted\" text\tand a tab</P>", "", "<<11:25-49>>",
                              "++", "last"};
const std::string kQuran = "Al-Fatiha\n1|In the name of God\n2|Praise be \xB7 to God\n";

} // namespace

TEST(Pack, ScrambleTextInvertsUnscramble) {
    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    EXPECT_EQ(UnscrambleText(ScrambleText(all)), all);
    EXPECT_EQ(ScrambleText(UnscrambleText(all)), all);
    EXPECT_NE(ScrambleText("abc"), "abc");
}

TEST(Pack, LinesRoundTrip) {
    TempDir d;
    Write(d / "story.txt", kStory);
    Result r = Pack("lines story.txt story.dbx", d);
    ASSERT_EQ(r.rc, 0) << r.err;
    // The reader's way: CR LF lines, each enciphered under its index.
    TStringList stored;
    ASSERT_TRUE(ReadFileLines(d / "story.dbx", stored));
    ASSERT_EQ(stored.size(), kStoryLines.size());
    EXPECT_EQ(Read(d / "story.dbx").substr(stored[0].size(), 2), "\r\n");
    for (size_t i = 0; i < stored.size(); ++i) EXPECT_EQ(DecipherText(stored[i], static_cast<int32_t>(i)), kStoryLines[i]);
    r = Pack("unpack story.dbx", d);
    ASSERT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(r.out, Joined(kStoryLines));

    Write(d / "empty.txt", "");
    ASSERT_EQ(Pack("lines empty.txt empty.dbx", d).rc, 0);
    EXPECT_EQ(Read(d / "empty.dbx"), "");
    EXPECT_EQ(Pack("unpack empty.dbx", d).out, "");
}

TEST(Pack, DllRoundTripEncipheredAndScrambled) {
    TempDir d;
    Write(d / "01.txt", kStory);
    Write(d / "02.txt", "one line");
    Write(d / "q.txt", kQuran);
    Result r = Pack("dll HVModule.dll HVDATA HV1=01.txt HV2=02.txt", d);
    ASSERT_EQ(r.rc, 0) << r.err;
    r = Pack("dll DAZaruro2.dll QDATA QDATA=q.txt --scramble", d);
    ASSERT_EQ(r.rc, 0) << r.err;

    // Read with the reader's code, the way the modules read them.
    TResourceLibrary stories, quran;
    ASSERT_TRUE(stories.Open(d / "HVModule.dll"));
    ASSERT_TRUE(quran.Open(d / "DAZaruro2.dll"));
    TStringList lines = ReadResourceLines(stories, "HV1", "HVDATA");
    DecipherLines(lines);
    EXPECT_EQ(lines, kStoryLines);
    std::string raw;
    ASSERT_TRUE(stories.ReadResource("HV2", "HVDATA", raw));
    EXPECT_EQ(raw, EncipherText("one line", 0) + "\r\n");
    lines = ReadResourceLines(quran, "QDATA", "QDATA");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(UnscrambleText(lines[2]), "2|Praise be \xB7 to God");

    // And back through the tool, byte for byte.
    EXPECT_EQ(Pack("unpack HVModule.dll HV1", d).out, Joined(kStoryLines));
    EXPECT_EQ(Pack("unpack HVModule.dll hv2", d).out, "one line\n");
    EXPECT_EQ(Pack("unpack DAZaruro2.dll", d).out, kQuran);
    EXPECT_EQ(Pack("unpack DAZaruro2.dll --scramble", d).out, kQuran);
    EXPECT_EQ(Pack("unpack HVModule.dll", d).out,
              "==> HVDATA/HV1 <==\n" + Joined(kStoryLines) + "==> HVDATA/HV2 <==\none line\n");

    r = Pack("resources HVModule.dll", d);
    ASSERT_EQ(r.rc, 0) << r.err;
    std::string hv1;
    ASSERT_TRUE(stories.ReadResource("HV1", "HVDATA", hv1));
    EXPECT_EQ(r.out, "HVDATA/HV1\t" + std::to_string(hv1.size()) + "\nHVDATA/HV2\t" + std::to_string(raw.size()) + "\n");
}

TEST(Pack, UnpackMainDocumentsCountsHeaderAndBodyApart) {
    TempDir d;
    TStringList header{"<<CRCSL3:x>>+", "<<N:MDOC_A>>|<<T:A>>+", "", "", "", "", "", ""};
    TStringList body{"<P>one</P>", "<P>two</P>"};
    TStringList stored = header, storedBody = body;
    EncipherLines(stored);
    EncipherLines(storedBody);
    stored.insert(stored.end(), storedBody.begin(), storedBody.end());
    WriteFileLines(d / "A.dbi", stored);
    TStringList plain = header;
    plain.insert(plain.end(), body.begin(), body.end());
    Result r = Pack("unpack A.dbi", d);
    ASSERT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(r.out, Joined(plain));
}

TEST(Pack, TreeFiles) {
    TempDir d;
    Write(d / "index.txt", "Nooh\t003\n\tThe Ark\t003+001\n\t\tBuilding it\n\tThe Flood\nHud\t004\n");
    Result r = Pack("tree index.txt QIndex.dbx", d);
    ASSERT_EQ(r.rc, 0) << r.err;
    TQuranIndexHelper index(d / "QIndex.dbx");
    ASSERT_TRUE(index.LoadFromFile());
    ASSERT_EQ(index.Count(), 5);
    EXPECT_EQ(index.Item(2)->Text, "Building it");
    EXPECT_EQ(index.Item(2)->Level(), 2);
    EXPECT_EQ(dynamic_cast<TVrnStrObj*>(index.Item(1)->Data.get())->Value, "003+001");
    EXPECT_EQ(Pack("unpack QIndex.dbx", d).out, "Nooh\t003\n The Ark\t003+001\n  Building it\n The Flood\nHud\t004\n");

    Write(d / "bad.txt", "a\n b\n   c\n");
    r = Pack("tree bad.txt bad.dbx", d);
    EXPECT_EQ(r.rc, 1);
    EXPECT_NE(r.err.find("bad.txt line 3: Invalid Node Level"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(d / "bad.dbx"));
}

TEST(Pack, SignatureAndKeys) {
    TempDir d;
    Write(d / "abc", "abc");
    Result r = Pack("signature abc", d);
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.out, FileSignature(d / "abc") + "\n");
    r = Pack("encipher 7 'some text'", d);
    ASSERT_EQ(r.rc, 0);
    EXPECT_EQ(r.out, EncipherText("some text", 7) + "\n");
    EXPECT_EQ(Pack("decipher 7 " + EncipherText("some text", 7), d).out, "some text\n");
}

TEST(Pack, BadInputFailsWithAMessage) {
    TempDir d;
    Write(d / "p.txt", "x");
    Write(d / "junk.dll", "MZ but nothing more");
    struct Case { std::string args; int rc; std::string message; };
    const Case cases[] = {
        {"", 2, "usage:"},
        {"frobnicate", 2, "unknown command"},
        {"lines p.txt", 2, "usage: halvora-pack lines"},
        {"signature missing", 1, "no such file"},
        {"signature p.txt x", 1, "not a number"},
        {"encipher k text", 1, "not a number"},
        {"decipher 1 '!!!'", 1, "Base 64"},
        {"lines missing.txt out.dbx", 1, "cannot read missing.txt"},
        {"dll o.dll T noequals", 1, "expected NAME=FILE"},
        {"dll o.dll T A=missing.txt", 1, "cannot read missing.txt"},
        {"dll o.dll T A=p.txt a=p.txt", 1, "given twice"},
        {"dll o.dll T A=p.txt --scramble --encipher", 1, "exclude each other"},
        {"resources missing.dll", 1, "cannot read"},
        {"resources junk.dll", 1, "junk.dll"},
        {"unpack junk.dll", 1, "junk.dll"},
        {"unpack p.txt NAME", 1, "line file"},
    };
    for (const Case& c : cases) {
        Result r = Pack(c.args, d);
        EXPECT_EQ(r.rc, c.rc) << c.args;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
    }
    EXPECT_FALSE(fs::exists(d / "o.dll"));
    Write(d / "one.txt", "x");
    ASSERT_EQ(Pack("dll one.dll T A=one.txt", d).rc, 0);
    Result r = Pack("unpack one.dll B", d);
    EXPECT_EQ(r.rc, 1);
    EXPECT_NE(r.err.find("holds no resource B"), std::string::npos) << r.err;
}

// The edition's sources are checked before anything is packed: each fault is
// reported with its file and line, and the check fails.
TEST(PackEdition, CheckReportsEachFaultWithFileAndLine) {
    TempDir d;
    fs::copy(HALVORA_SOURCE_DIR "/data", d.path + "/data", fs::copy_options::recursive);
    ASSERT_EQ(Pack("check data", d).rc, 0) << Pack("check data", d).err;

    Write(d / "data/stories/03.txt",
          "<<2:1>>\n<[Call]>\n<P>Text.</P>\n<<2:287>>\n<<115:1>>\n<<7:x>>\n<[Call of Nooh]>\n<<2:5-3>>\n");
    Write(d / "data/documents/Extra.txt", "<<CRCSL3:>>+\n<<N:MDOC_X>>+\n");
    std::string glossary = Read(d / "data/glossary.txt");
    Write(d / "data/glossary.txt", "<<T:Broken\n" + glossary);
    std::string corrections = Read(d / "data/translations/saheeh/corrections.txt");
    Write(d / "data/translations/saheeh/corrections.txt", "2:287 | Allah 's | Allah's\n" + corrections);
    Write(d / "data/translations/saheeh/source.txt", "package: quran-json@3.1.2\nfile: dist/quran_en.json\n");
    Result r = Pack("check data", d);
    EXPECT_EQ(r.rc, 1);
    for (const char* expected :
         {"stories/03.txt:1: excerpt before the first heading", "stories/03.txt:4: excerpt names verses",
          "stories/03.txt:5: excerpt names no surah", "stories/03.txt:6: excerpt verses are not numbers",
          "stories/03.txt:7: heading \"Call of Nooh\" equals or begins the heading \"Call\"",
          "stories/03.txt:8: excerpt names verses", "documents/Extra.txt:", "glossary.txt:1: ",
          "translations/saheeh/corrections.txt:1: not a verse of the Qur'an: 2:287",
          "translations/saheeh/source.txt: no \"text:\" line"})
        EXPECT_NE(r.err.find(expected), std::string::npos) << expected << "\n" << r.err;

    fs::remove(d / "data/stories/29.txt");
    EXPECT_NE(Pack("check data", d).err.find("stories/29.txt: missing"), std::string::npos);
}

namespace {

// A translation JSON of the source's layout: 114 surahs, every verse "S:V",
// with the texts given for a few verses.
std::string TranslationJson(const std::map<std::string, std::string>& texts, const std::string& key = "translation") {
    std::string json = "[";
    for (int s = 1; s <= 114; ++s) {
        json += std::string(s > 1 ? "," : "") + "{\"id\":" + std::to_string(s) + ",\"verses\":[";
        for (int v = 1; v <= VerseCount(s); ++v) {
            std::string ref = std::to_string(s) + ":" + std::to_string(v);
            auto it = texts.find(ref);
            json += std::string(v > 1 ? "," : "") + "{\"" + key + "\":\"" + (it != texts.end() ? it->second : ref) + "\"}";
        }
        json += "]}";
    }
    return json + "]";
}

std::string PackedVerse(const TStringList& lines, int surah, int verse) {
    return lines.at(static_cast<size_t>(SurahLineOffset(surah) + verse));
}

} // namespace

// The translation's glitches are mended from a list kept as data; an entry
// whose text the source no longer holds stops the build instead of passing
// silently.
TEST(PackQuran, CorrectionsAreAppliedAndAStaleOneFails) {
    TempDir d;
    Write(d / "q.json", TranslationJson({{"18:71", "so al-Khidh r tore it, and al-Khidh r left"},
                                         {"2:104", "say not [to Allah 's Messenger]"},
                                         {"9:30", "the son of Allah \\\"; and"}}));
    Write(d / "fixes.txt", "# comment\n\n18:71 | al-Khidh r | al-Khidhr\n 2:104 |Allah 's| Allah's \n"
                           "9:30 | Allah \"; | Allah\";\n");
    Result r = Pack("quran q.json QDATA.txt --corrections fixes.txt", d);
    ASSERT_EQ(r.rc, 0) << r.err;
    EXPECT_NE(r.out.find("3 corrections"), std::string::npos) << r.out;
    TStringList lines;
    ASSERT_TRUE(ReadFileLines(d / "QDATA.txt", lines));
    ASSERT_EQ(lines.size(), 6350u);
    EXPECT_EQ(PackedVerse(lines, 18, 71), "71|so al-Khidhr tore it, and al-Khidhr left");
    EXPECT_EQ(PackedVerse(lines, 2, 104), "104|say not [to Allah's Messenger]");
    EXPECT_EQ(PackedVerse(lines, 9, 30), "30|the son of Allah\"; and");
    EXPECT_EQ(PackedVerse(lines, 18, 72), "72|18:72"); // the rest word for word
    EXPECT_EQ(lines[0], "1|" + SurahTitle(1, 2));

    // The source changed under the list: the entry's text is gone.
    Write(d / "stale.txt", "18:71 | al-Khidh r | al-Khidhr\n2:105 | Allah 's | Allah's\n");
    std::filesystem::remove(d / "QDATA.txt");
    r = Pack("quran q.json QDATA.txt --corrections stale.txt", d);
    EXPECT_EQ(r.rc, 1);
    EXPECT_NE(r.err.find("stale.txt:2: \"Allah 's\" is no longer in verse 2:105"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(d / "QDATA.txt"));

    // Another source's layout names its own text key.
    Write(d / "other.json", TranslationJson({{"1:1", "In the name of God"}}, "text_en"));
    r = Pack("quran other.json other.txt --text text_en", d);
    ASSERT_EQ(r.rc, 0) << r.err;
    ASSERT_TRUE(ReadFileLines(d / "other.txt", lines));
    EXPECT_EQ(lines[1], "1|In the name of God");
    r = Pack("quran other.json other.txt", d);
    EXPECT_EQ(r.rc, 1);
    EXPECT_NE(r.err.find("verse 1:1 has no text \"translation\""), std::string::npos) << r.err;
}

TEST(PackQuran, FaultyCorrectionEntriesAreReportedWithTheirLine) {
    TempDir d;
    Write(d / "q.json", TranslationJson({}));
    struct Case { std::string entry, message; };
    const Case cases[] = {
        {"18:71 al-Khidh r al-Khidhr", "fixes.txt:2: expected VERSE | TEXT IN THE SOURCE | TEXT PACKED"},
        {"18:111 | a | b", "fixes.txt:2: not a verse of the Qur'an: 18:111"},
        {"115:1 | a | b", "not a verse of the Qur'an"},
        {"x:1 | a | b", "not a verse of the Qur'an"},
        {"2 | a | b", "not a verse of the Qur'an"},
        {"2:1 | | b", "fixes.txt:2: nothing to correct"},
        {"2:1 | same | same", "nothing to correct"},
    };
    for (const Case& c : cases) {
        Write(d / "fixes.txt", "# VERSE | FIND | REPLACE\n" + c.entry + "\n");
        Result r = Pack("quran q.json out.txt --corrections fixes.txt", d);
        EXPECT_EQ(r.rc, 1) << c.entry;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.entry << ": " << r.err;
    }
    Result r = Pack("quran q.json out.txt --corrections missing.txt", d);
    EXPECT_EQ(r.rc, 1);
    EXPECT_NE(r.err.find("missing.txt: cannot read"), std::string::npos) << r.err;
    EXPECT_EQ(Pack("quran q.json out.txt --frobnicate x", d).rc, 1);
    EXPECT_FALSE(fs::exists(d / "out.txt"));
}

// A heading title becomes a line of the index tree: a blank at its start would
// be read as a deeper level, a TAB as the start of the node's data.
TEST(PackEdition, HeadingTitlesTheIndexCannotHold) {
    TempDir d;
    fs::copy(HALVORA_SOURCE_DIR "/data", d.path + "/data", fs::copy_options::recursive);
    Write(d / "data/stories/05.txt", "<[ The Ark]>\n<P>Text.</P>\n<[The\tFlood]>\n<P>More.</P>\n");
    Result r = Pack("check data", d);
    EXPECT_EQ(r.rc, 1);
    for (const char* expected : {"stories/05.txt:1: heading title \" The Ark\" begins with a blank",
                                 "stories/05.txt:3: heading title \"The\tFlood\" holds a TAB"})
        EXPECT_NE(r.err.find(expected), std::string::npos) << expected << "\n" << r.err;
    r = Pack("index data/stories index.txt", d);
    EXPECT_EQ(r.rc, 1);
    EXPECT_NE(r.err.find("stories/05.txt:1: heading title"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(d / "index.txt"));
}

// The reproduction: an empty item and a 7-byte item, the larger name first.
TEST(Pack, DllPacksItemsInAnyOrder) {
    TempDir d;
    Write(d / "empty.txt", "");
    Write(d / "x1.txt", "abcdefg");
    for (const char* args : {"dll z.dll HVDATA HV2=empty.txt HV1=x1.txt", "dll z.dll HVDATA HV1=x1.txt HV2=empty.txt"}) {
        Result r = Pack(args, d);
        ASSERT_EQ(r.rc, 0) << args << ": " << r.err;
        r = Pack("unpack z.dll HV1", d);
        EXPECT_EQ(r.out, "abcdefg\n") << args;
        r = Pack("unpack z.dll HV2", d);
        EXPECT_EQ(r.rc, 0) << args;
        EXPECT_EQ(r.out, "") << args;
    }
}

TEST(Pack, UnpackTellsLibrariesFromLineFiles) {
    TempDir d;
    // A line file whose first stored line happens to begin with "MZ".
    // The first eight bytes vary, so the first stored block does too.
    std::string plain;
    for (int i = 0; i < 400000 && plain.empty(); ++i) {
        std::string candidate = std::to_string(10000000 + i) + " line";
        if (EncipherText(candidate, 0).rfind("MZ", 0) == 0) plain = candidate;
    }
    ASSERT_FALSE(plain.empty());
    WriteFileLines(d / "mz.dbx", {EncipherText(plain, 0), EncipherText("second", 1)});
    Result r = Pack("unpack mz.dbx", d);
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_EQ(r.out, plain + "\nsecond\n");

    // Empty, cut short, or with its resources outside every section: damage, not an empty line file.
    Write(d / "empty.dll", "");
    Write(d / "one.txt", "x");
    ASSERT_EQ(Pack("dll whole.dll T A=one.txt", d).rc, 0);
    std::string whole = Read(d / "whole.dll");
    Write(d / "cut.dll", whole.substr(0, 300));
    std::string outside = whole;
    const uint32_t pe = static_cast<unsigned char>(whole[0x3C]) | static_cast<unsigned char>(whole[0x3D]) << 8;
    outside[pe + 24 + 96 + 16 + 2] = 0x05; // the resource directory's address, moved far away
    Write(d / "outside.dll", outside);
    for (const char* f : {"empty.dll", "cut.dll", "outside.dll"}) {
        r = Pack(std::string("unpack ") + f, d);
        EXPECT_EQ(r.rc, 1) << f << ": " << r.out;
        EXPECT_NE(r.err.find(f), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "") << f;
    }
    r = Pack("resources outside.dll", d);
    EXPECT_EQ(r.rc, 1);
}

TEST(Pack, UnpackPrintsEachLanguageItsOwnLines) {
    TempDir d;
    auto stored = [](const std::string& text) { return EncipherText(text, 0) + "\r\n"; };
    Write(d / "multi.dll", BuildResourceLibrary({{"T", "A", stored("neutral"), 0},
                                                 {"T", "A", stored("english"), 1033},
                                                 {"T", "A", stored("arabic"), 1025}}));
    Result r = Pack("unpack multi.dll A", d);
    EXPECT_EQ(r.rc, 0) << r.err;
    EXPECT_NE(r.out.find("==> T/A <==\nneutral\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("==> T/A language 1025 <==\narabic\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("==> T/A language 1033 <==\nenglish\n"), std::string::npos) << r.out;
}
