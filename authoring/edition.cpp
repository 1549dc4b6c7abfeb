// The sample edition's own commands: the Qur'an translation from its JSON
// source, the generated recitation and index files, the source checks and the
// table of expected signatures.
#include "commands.h"

#include "content/documents.h"
#include "content/glossary.h"
#include "content/prophets.h"
#include "content/surahs.h"
#include "storage/modules.h"
#include "util/errors.h"
#include "util/fileutils.h"
#include "util/strutils.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

// Windows-1252 for the few characters above 127 a translation may carry;
// anything else becomes "?" so that no line ever holds UTF-8 bytes.
std::string Utf8ToAnsi(const std::string& s) {
    static const std::pair<char32_t, unsigned char> kHigh[] = {
        {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85},
        {0x2020, 0x86}, {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A},
        {0x2039, 0x8B}, {0x0152, 0x8C}, {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92},
        {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95}, {0x2013, 0x96}, {0x2014, 0x97},
        {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B}, {0x0153, 0x9C},
        {0x017E, 0x9E}, {0x0178, 0x9F}};
    std::string out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp;
        size_t len;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else {
            cp = c & 0x07;
            len = 4;
        }
        if (i + len > s.size()) break;
        for (size_t j = 1; j < len; ++j) cp = (cp << 6) | (static_cast<unsigned char>(s[i + j]) & 0x3F);
        i += len;
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        char mapped = '?';
        for (const auto& [u, a] : kHigh)
            if (u == cp) mapped = static_cast<char>(a);
        out += mapped;
    }
    return out;
}

std::string OneLine(std::string s) {
    for (auto& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

void WritePlain(const std::string& file, const TStringList& lines) { WriteFileLines(file, lines); }

TStringList ReadPlain(const std::string& file) {
    TStringList lines;
    if (!ReadFileLines(file, lines)) throw EInOutError("cannot read " + file);
    return lines;
}

// quran JSON OUT.txt: the translation's 6350 plain lines, surah line first.
int CmdQuran(const std::string& jsonFile, const std::string& out) {
    std::ifstream in(jsonFile, std::ios::binary);
    if (!in) throw EInOutError("cannot read " + jsonFile);
    nlohmann::json doc;
    try {
        in >> doc;
    } catch (const std::exception& e) {
        throw EConvertError(jsonFile + ": not valid JSON: " + e.what());
    }
    if (!doc.is_array() || doc.size() != 114)
        throw EConvertError(jsonFile + ": expected an array of 114 surahs");
    TStringList lines;
    for (int s = 1; s <= 114; ++s) {
        const auto& surah = doc[static_cast<size_t>(s - 1)];
        const auto& verses = surah.at("verses");
        if (static_cast<int>(verses.size()) != VerseCount(s))
            throw EConvertError(jsonFile + ": surah " + std::to_string(s) + " has " +
                                std::to_string(verses.size()) + " verses, expected " +
                                std::to_string(VerseCount(s)));
        lines.push_back(std::to_string(s) + "|" + SurahTitle(s, 2));
        int v = 0;
        for (const auto& verse : verses) {
            ++v;
            lines.push_back(std::to_string(v) + "|" +
                            OneLine(Utf8ToAnsi(verse.at("translation").get<std::string>())));
        }
    }
    WritePlain(out, lines);
    std::printf("%s: %zu lines\n", out.c_str(), lines.size());
    return 0;
}

// recitation OUT.txt: four header lines, then one cache file name per verse.
int CmdRecitation(const std::string& out) {
    TStringList lines = {"<<N:Remote Audio Recitation Data>>", "<<V:1.5>>",
                         "<<F:RealAudio MetaData>>", "<<C:6236>>"};
    for (int s = 1; s <= 114; ++s)
        for (int v = 1; v <= VerseCount(s); ++v)
            lines.push_back("Q" + ZeroPad(s, 3) + ZeroPad(v, 3) + ".ram");
    WritePlain(out, lines);
    return 0;
}

std::string StoryFile(const std::string& dir, int n) {
    return dir + "/" + ZeroPad(n, 2) + ".txt";
}

// index STORIES_DIR OUT.txt: the indented tree of prophets, their sub-topics
// and their excerpts, with each node's location text as its data.
int CmdIndex(const std::string& dir, const std::string& out) {
    TStringList lines;
    for (int n = 1; n <= 29; ++n) {
        lines.push_back(ProphetName(n, 2) + "\t" + ZeroPad(n, 3));
        int topic = -1, excerpt = 0;
        for (const auto& raw : ReadPlain(StoryFile(dir, n))) {
            std::string line = Trim(raw);
            if (Contains("<[", line)) {
                ++topic;
                lines.push_back(" " + TextBetween(line, "<[", "]>") + "\t" +
                                FormatTopicLocation(n, topic));
            }
            if (Contains("<<", line)) {
                lines.push_back("  " + FormatVerseRange(ParseExcerptMarker(line), true) + "\t" +
                                FormatExcerptLocation(n, excerpt));
                ++excerpt;
            }
        }
    }
    WritePlain(out, lines);
    return 0;
}

void Problem(TStringList& problems, const std::string& file, size_t line, const std::string& what) {
    problems.push_back(file + ":" + std::to_string(line + 1) + ": " + what);
}

// "line N: what" from the module checks, as "FILE:N: what" like the rest.
std::string AtLine(const std::string& file, const std::string& problem) {
    std::string p = problem.rfind("line ", 0) == 0 ? problem.substr(5) : problem;
    return file + ":" + p;
}

void CheckStory(const std::string& file, TStringList& problems) {
    TStringList lines;
    if (!ReadFileLines(file, lines)) {
        problems.push_back(file + ": missing");
        return;
    }
    std::vector<std::pair<std::string, size_t>> titles;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = Trim(lines[i]);
        if (Contains("<[", line)) {
            std::string t = TextBetween(line, "<[", "]>");
            if (t.empty()) Problem(problems, file, i, "heading without a title");
            for (const auto& [other, at] : titles)
                if (other.compare(0, t.size(), t) == 0 || t.compare(0, other.size(), other) == 0)
                    Problem(problems, file, i,
                            "heading \"" + t + "\" equals or begins the heading \"" + other +
                                "\" of line " + std::to_string(at + 1));
            titles.emplace_back(t, i);
        }
        if (Contains("<<", line)) {
            if (titles.empty()) Problem(problems, file, i, "excerpt before the first heading");
            try {
                TQuranVerseRange r = ParseExcerptMarker(line);
                if (!IsValidSurah(r.FromSurah))
                    Problem(problems, file, i, "excerpt names no surah: " + line);
                else if (r.FromVerse < 1 || r.ToVerse > VerseCount(r.FromSurah) ||
                         r.FromVerse > r.ToVerse)
                    Problem(problems, file, i, "excerpt names verses that do not exist: " + line);
            } catch (const std::exception&) {
                Problem(problems, file, i, "excerpt verses are not numbers: " + line);
            }
        }
    }
    if (titles.empty()) problems.push_back(file + ": no heading");
}

// check DATA_DIR: the sources must pack into modules the reader accepts.
int CmdCheck(const std::string& dir) {
    TStringList problems;
    for (int n = 1; n <= 29; ++n) CheckStory(StoryFile(dir + "/stories", n), problems);
    std::string glossary = dir + "/glossary.txt";
    TStringList lines;
    if (!ReadFileLines(glossary, lines))
        problems.push_back(glossary + ": missing");
    else
        for (const auto& p : CheckGlossarySource(lines)) problems.push_back(AtLine(glossary, p));
    TStringList docs;
    ListFolder(dir + "/documents/*.txt", faAnyFile, docs);
    if (docs.empty()) problems.push_back(dir + "/documents: no document");
    for (const auto& d : docs) {
        std::string file = dir + "/documents/" + d;
        TStringList doc;
        if (!ReadFileLines(file, doc)) {
            problems.push_back(file + ": unreadable");
            continue;
        }
        for (const auto& p : CheckDocumentSource(doc)) problems.push_back(AtLine(file, p));
    }
    for (const auto& p : problems) std::fprintf(stderr, "%s\n", p.c_str());
    if (!problems.empty()) {
        std::fprintf(stderr, "halvora-pack check: %zu problem(s)\n", problems.size());
        return 1;
    }
    return 0;
}

// document SRC.txt OUT.dbi
int CmdDocument(const std::string& src, const std::string& out) {
    TStringList plain = ReadPlain(src);
    TStringList problems = CheckDocumentSource(plain);
    if (!problems.empty()) throw EConvertError(AtLine(src, problems.front()));
    WriteFileLines(out, PackMainDocument(plain));
    return 0;
}

// signatures OUT.cpp NAME=FILE...: the expected signature of each shipped file.
int CmdSignatures(const std::vector<std::string>& args) {
    // args: OUT.cpp NAME=FILE...
    std::ostringstream cpp;
    cpp << "// Written by the build from the packed module files.\n"
        << "#include \"storage/signatures.h\"\n\n";
    for (size_t i = 1; i < args.size(); ++i) {
        std::string name = TextBefore(args[i], "="), file = TextAfter(args[i], "=");
        if (name.empty() || file.empty()) throw EConvertError("expected NAME=FILE: " + args[i]);
        std::string sig = FileSignature(file);
        if (sig.empty()) throw EInOutError("cannot read " + file);
        cpp << "const char* const " << name << " = \"" << sig << "\";\n";
    }
    std::string text = cpp.str();
    std::string old;
    // Rewriting an unchanged file would rebuild everything that links it.
    if (!ReadFileBytes(args[0], old) || old != text) WriteFileAtomic(args[0], text);
    return 0;
}


int RunQuran(const std::vector<std::string>& a) { return CmdQuran(a[0], a[1]); }
int RunRecitation(const std::vector<std::string>& a) { return CmdRecitation(a[0]); }
int RunIndex(const std::vector<std::string>& a) { return CmdIndex(a[0], a[1]); }
int RunCheck(const std::vector<std::string>& a) { return CmdCheck(a[0]); }
int RunDocument(const std::vector<std::string>& a) { return CmdDocument(a[0], a[1]); }

const TPackCommandRegistration kQuran{{"quran", "quran JSON OUT.txt",
                                       "the translation's plain module lines from its JSON", 2, 2,
                                       RunQuran}};
const TPackCommandRegistration kRecitation{{"recitation", "recitation OUT.txt",
                                            "the plain recitation data lines", 1, 1, RunRecitation}};
const TPackCommandRegistration kIndex{{"index", "index STORIES_DIR OUT.txt",
                                       "the plain index tree of the stories", 2, 2, RunIndex}};
const TPackCommandRegistration kCheck{{"check", "check DATA_DIR",
                                       "check the edition's sources before packing", 1, 1, RunCheck}};
const TPackCommandRegistration kDocument{{"document", "document SRC.txt OUT.dbi",
                                          "pack a main document", 2, 2, RunDocument}};
const TPackCommandRegistration kSignatures{{"signatures", "signatures OUT.cpp NAME=FILE...",
                                            "write the expected signatures of packed files", 2,
                                            SIZE_MAX, CmdSignatures}};

} // namespace
