// The sample edition's own commands: the generated recitation and index files,
// the source checks and the table of expected signatures.
#include "commands.h"
#include "translation.h"

#include "content/documents.h"
#include "content/glossary.h"
#include "content/prophets.h"
#include "content/surahs.h"
#include "storage/modules.h"
#include "util/errors.h"
#include "util/fileutils.h"
#include "util/strutils.h"

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace {

void WritePlain(const std::string& file, const TStringList& lines) { WriteFileLines(file, lines); }

TStringList ReadPlain(const std::string& file) {
    TStringList lines;
    if (!ReadFileLines(file, lines)) throw EInOutError("cannot read " + file);
    return lines;
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

// Why a heading title cannot be a node of the index tree, or empty: the tree
// reads blanks at a line's start as its level and a TAB as the start of its data.
std::string TitleTreeProblem(const std::string& title) {
    if (!title.empty() && (title[0] == ' ' || title[0] == '\t'))
        return "heading title \"" + title + "\" begins with a blank";
    if (title.find('\t') != std::string::npos) return "heading title \"" + title + "\" holds a TAB";
    return {};
}

// index STORIES_DIR OUT.txt: the indented tree of prophets, their sub-topics
// and their excerpts, with each node's location text as its data.
int CmdIndex(const std::string& dir, const std::string& out) {
    TStringList lines;
    for (int n = 1; n <= 29; ++n) {
        lines.push_back(ProphetName(n, 2) + "\t" + ZeroPad(n, 3));
        int topic = -1, excerpt = 0;
        const std::string file = StoryFile(dir, n);
        const TStringList story = ReadPlain(file);
        for (size_t i = 0; i < story.size(); ++i) {
            std::string line = Trim(story[i]);
            if (Contains("<[", line)) {
                ++topic;
                std::string title = TextBetween(line, "<[", "]>");
                if (std::string why = TitleTreeProblem(title); !why.empty())
                    throw EConvertError(file + ":" + std::to_string(i + 1) + ": " + why);
                lines.push_back(" " + title + "\t" + FormatTopicLocation(n, topic));
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
            if (std::string why = TitleTreeProblem(t); !why.empty()) Problem(problems, file, i, why);
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

// A translation source: source.txt names the npm package, the JSON file in it
// and the key of a verse's text; corrections.txt mends the source's glitches.
void CheckTranslations(const std::string& dir, TStringList& problems) {
    namespace fs = std::filesystem;
    std::vector<std::string> sources;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir + "/translations", ec))
        if (entry.is_directory()) sources.push_back(entry.path().string());
    if (sources.empty()) problems.push_back(dir + "/translations: no translation source");
    for (const auto& source : sources) {
        std::string file = source + "/source.txt";
        TStringList lines;
        if (!ReadFileLines(file, lines)) {
            problems.push_back(file + ": missing");
        } else {
            for (const char* key : {"package:", "file:", "text:"}) {
                bool found = false;
                for (const auto& l : lines)
                    if (Trim(l).rfind(key, 0) == 0 && !Trim(TextAfter(l, key)).empty()) found = true;
                if (!found) problems.push_back(file + ": no \"" + std::string(key) + "\" line");
            }
        }
        ReadCorrections(source + "/corrections.txt", problems);
    }
}

// check DATA_DIR: the sources must pack into modules the reader accepts.
int CmdCheck(const std::string& dir) {
    TStringList problems;
    CheckTranslations(dir, problems);
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


int RunRecitation(const std::vector<std::string>& a) { return CmdRecitation(a[0]); }
int RunIndex(const std::vector<std::string>& a) { return CmdIndex(a[0], a[1]); }
int RunCheck(const std::vector<std::string>& a) { return CmdCheck(a[0]); }
int RunDocument(const std::vector<std::string>& a) { return CmdDocument(a[0], a[1]); }

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
