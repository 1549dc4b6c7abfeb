// The module-writing commands: line files, tree files and resource libraries,
// and the commands that read them back.
#include "commands.h"

#include "platform/resources.h"
#include "storage/cipher.h"
#include "storage/modules.h"
#include "storage/tree.h"
#include "util/fileutils.h"

#include <algorithm>
#include <cstdio>

namespace {

enum class TLineCoding { Auto, Encipher, Scramble };

// Takes "--scramble" / "--encipher" out of the arguments.
TLineCoding TakeCoding(std::vector<std::string>& args) {
    TLineCoding coding = TLineCoding::Auto;
    for (auto it = args.begin(); it != args.end();) {
        TLineCoding c = *it == "--scramble" ? TLineCoding::Scramble
                        : *it == "--encipher" ? TLineCoding::Encipher
                                              : TLineCoding::Auto;
        if (c == TLineCoding::Auto) {
            ++it;
            continue;
        }
        if (coding != TLineCoding::Auto && coding != c) throw EPackError("--scramble and --encipher exclude each other");
        coding = c;
        it = args.erase(it);
    }
    return coding;
}

void EncodeLines(TStringList& lines, TLineCoding coding) {
    if (coding == TLineCoding::Scramble)
        for (auto& l : lines) l = ScrambleText(l);
    else
        EncipherLines(lines);
}

// Stored lines back to plain ones. Scrambled text of plain characters is never
// Base64, so without a choice a failed deciphering means scrambled lines.
void DecodeLines(TStringList& lines, TLineCoding coding) {
    if (coding == TLineCoding::Auto) {
        TStringList copy = lines;
        try {
            DecipherLines(copy);
            lines = std::move(copy);
            return;
        } catch (const EConvertError&) {
            coding = TLineCoding::Scramble;
        }
    }
    if (coding == TLineCoding::Scramble)
        for (auto& l : lines) l = UnscrambleText(l);
    else
        DecipherLines(lines);
}

constexpr size_t kDocumentHeaderLines = 8;

bool IsLibraryName(const std::string& fileName) {
    return fileName.size() >= 4 && SameText(fileName.substr(fileName.size() - 4), ".dll");
}

bool IsMainDocument(const std::string& fileName) {
    return fileName.size() >= 4 && SameText(fileName.substr(fileName.size() - 4), ".dbi");
}

int RunLines(const std::vector<std::string>& args) {
    TStringList lines = ReadPlainLines(args[0]);
    EncipherLines(lines);
    WriteFileLines(args[1], lines);
    return 0;
}

int RunTree(const std::vector<std::string>& args) {
    TStringList plain = ReadPlainLines(args[0]);
    TBasicTreeManager tree(args[1]);
    tree.CreateDataObjects = true;
    tree.SetScrambled(false);
    try {
        tree.LoadFromStrings(plain);
    } catch (const ETreeViewError& e) {
        throw EPackError(args[0] + " line " + std::to_string(tree.Count() + 1) + ": " + e.what());
    }
    tree.SetScrambled(true);
    tree.SaveToFile();
    return 0;
}

int RunDll(const std::vector<std::string>& argsIn) {
    std::vector<std::string> args = argsIn;
    TLineCoding coding = TakeCoding(args);
    if (args.size() < 3) throw EPackError("usage: halvora-pack dll OUT.dll TYPE NAME=FILE... [--scramble | --encipher]");
    std::vector<TPeResourceItem> items;
    for (size_t i = 2; i < args.size(); ++i) {
        size_t eq = args[i].find('=');
        if (eq == std::string::npos || eq == 0 || eq + 1 == args[i].size())
            throw EPackError("expected NAME=FILE, got \"" + args[i] + "\"");
        TStringList lines = ReadPlainLines(args[i].substr(eq + 1));
        EncodeLines(lines, coding);
        std::string data;
        for (const auto& l : lines) data += l + "\r\n";
        items.push_back({args[1], args[i].substr(0, eq), std::move(data)});
    }
    WriteFileAtomic(args[0], BuildResourceLibrary(items));
    return 0;
}

std::vector<TPeResourceEntry> ListOrFail(const TResourceLibrary& lib) {
    std::vector<TPeResourceEntry> entries;
    if (!lib.ListResources(entries)) throw EPackError(lib.FileName() + ": damaged resource directory");
    return entries;
}

int RunResources(const std::vector<std::string>& args) {
    // The author's paths are relative to the current folder, not the program's.
    std::string bytes;
    if (!ReadFileBytes(args[0], bytes)) throw EPackError("cannot read " + args[0]);
    TResourceLibrary lib;
    if (!lib.LoadFromBytes(std::move(bytes), args[0])) throw EPackError(args[0] + ": " + lib.Error());
    for (const auto& e : ListOrFail(lib)) {
        std::printf("%s/%s\t%u", e.Type.Text().c_str(), e.Name.Text().c_str(), e.Size);
        if (e.Language != 0) std::printf("\tlanguage %u", e.Language);
        std::printf("\n");
    }
    return 0;
}

int RunUnpack(const std::vector<std::string>& argsIn) {
    std::vector<std::string> args = argsIn;
    TLineCoding coding = TakeCoding(args);
    if (args.empty() || args.size() > 2) throw EPackError("usage: halvora-pack unpack FILE [NAME] [--scramble | --encipher]");
    std::string bytes;
    if (!ReadFileBytes(args[0], bytes)) throw EPackError("cannot read " + args[0]);

    // A library is a file named ".dll" or one that parses as an image; a line
    // file may well begin with "MZ", and a damaged library must not pass for
    // an empty line file.
    TPeImage probe;
    const bool library = probe.Parse(bytes) || IsLibraryName(args[0]);
    if (!library) {
        if (args.size() == 2) throw EPackError(args[0] + " is a line file: it has no resource names");
        TStringList lines = ReadTextLines(bytes);
        if (IsMainDocument(args[0])) {
            // A main document counts its eight header lines and its body apart.
            TStringList body(lines.begin() + std::min<size_t>(lines.size(), kDocumentHeaderLines), lines.end());
            lines.resize(std::min<size_t>(lines.size(), kDocumentHeaderLines));
            DecodeLines(lines, TLineCoding::Encipher);
            DecodeLines(body, TLineCoding::Encipher);
            lines.insert(lines.end(), body.begin(), body.end());
        } else {
            DecodeLines(lines, coding);
        }
        PrintLines(lines);
        return 0;
    }
    TResourceLibrary lib;
    if (!lib.LoadFromBytes(std::move(bytes), args[0])) throw EPackError(args[0] + ": " + lib.Error());
    std::vector<TPeResourceEntry> chosen;
    for (const auto& e : ListOrFail(lib))
        if (args.size() == 1 || e.Name.Matches(TPeResourceId::FromText(args[1]))) chosen.push_back(e);
    if (chosen.empty()) throw EPackError(args.size() == 2 ? args[0] + " holds no resource " + args[1]
                                                          : args[0] + " holds no resources");
    for (const auto& e : chosen) {
        // Each entry's own bytes: a look-up by name would give every language the same data.
        if (!lib.ReadEntryData(e, bytes))
            throw EPackError(args[0] + ": cannot read " + e.Type.Text() + "/" + e.Name.Text());
        TStringList lines = ReadTextLines(bytes);
        DecodeLines(lines, coding);
        if (chosen.size() > 1) {
            std::printf("==> %s/%s", e.Type.Text().c_str(), e.Name.Text().c_str());
            if (e.Language != 0) std::printf(" language %u", e.Language);
            std::printf(" <==\n");
        }
        PrintLines(lines);
    }
    return 0;
}

const TPackCommandRegistration kLines{
    {"lines", "lines PLAIN.txt OUT.dbx", "encipher each line under its index", 2, 2, RunLines}};
const TPackCommandRegistration kTree{
    {"tree", "tree PLAIN.txt OUT.dbx", "write an indented tree as a tree data file", 2, 2, RunTree}};
const TPackCommandRegistration kDll{{"dll", "dll OUT.dll TYPE NAME=FILE... [--scramble|--encipher]",
                                     "write a resource library, one resource per NAME", 3, SIZE_MAX, RunDll}};
const TPackCommandRegistration kResources{
    {"resources", "resources FILE.dll", "list the library's resources and sizes", 1, 1, RunResources}};
const TPackCommandRegistration kUnpack{{"unpack", "unpack FILE [NAME] [--scramble|--encipher]",
                                        "print a module's plain lines", 1, 3, RunUnpack}};

} // namespace
