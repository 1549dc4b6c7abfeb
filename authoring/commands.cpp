#include "commands.h"

#include "storage/cipher.h"
#include "storage/modules.h"
#include "util/fileutils.h"

#include <algorithm>
#include <cstdio>

namespace {

std::vector<TPackCommand>& Table() {
    static std::vector<TPackCommand> table;
    return table;
}

int Usage() {
    std::vector<TPackCommand> sorted = Table();
    std::sort(sorted.begin(), sorted.end(),
              [](const TPackCommand& a, const TPackCommand& b) { return std::string(a.Name) < b.Name; });
    std::fputs("usage: halvora-pack COMMAND ARGS...\n", stderr);
    for (const auto& c : sorted) std::fprintf(stderr, "  %-44s %s\n", c.Synopsis, c.Help);
    return 2;
}

int RunSignature(const std::vector<std::string>& args) {
    int32_t offset = args.size() == 2 ? ParsePackKey(args[1]) : 0;
    if (FileByteCount(args[0]) < 0) throw EPackError("no such file: " + args[0]);
    std::string sig = FileSignature(args[0], offset);
    if (sig.empty()) throw EPackError("cannot read " + args[0]);
    std::printf("%s\n", sig.c_str());
    return 0;
}

int RunEncipher(const std::vector<std::string>& args) {
    std::printf("%s\n", EncipherText(args[1], ParsePackKey(args[0])).c_str());
    return 0;
}

int RunDecipher(const std::vector<std::string>& args) {
    std::printf("%s\n", DecipherText(args[1], ParsePackKey(args[0])).c_str());
    return 0;
}

const TPackCommandRegistration kSignature{
    {"signature", "signature FILE [OFFSET]", "print the file's signature", 1, 2, RunSignature}};
const TPackCommandRegistration kEncipher{
    {"encipher", "encipher KEY TEXT", "print TEXT enciphered under KEY", 2, 2, RunEncipher}};
const TPackCommandRegistration kDecipher{
    {"decipher", "decipher KEY TEXT", "print TEXT deciphered under KEY", 2, 2, RunDecipher}};

} // namespace

void RegisterPackCommand(const TPackCommand& command) { Table().push_back(command); }

int RunPackCommand(const std::vector<std::string>& args) {
    if (args.empty()) return Usage();
    for (const auto& c : Table()) {
        if (args[0] != c.Name) continue;
        size_t n = args.size() - 1;
        if (n < c.MinArgs || n > c.MaxArgs) {
            std::fprintf(stderr, "usage: halvora-pack %s\n", c.Synopsis);
            return 2;
        }
        return c.Run(std::vector<std::string>(args.begin() + 1, args.end()));
    }
    std::fprintf(stderr, "halvora-pack: unknown command \"%s\"\n", args[0].c_str());
    return Usage();
}

int32_t ParsePackKey(const std::string& text) {
    int32_t key;
    if (!TryStrToInt(text, key)) throw EPackError("not a number: " + text);
    return key;
}

TStringList ReadPlainLines(const std::string& fileName) {
    TStringList lines;
    if (!ReadFileLines(fileName, lines)) throw EPackError("cannot read " + fileName);
    return lines;
}

void PrintLines(const TStringList& lines) {
    for (const auto& l : lines) {
        std::fwrite(l.data(), 1, l.size(), stdout);
        std::fputc('\n', stdout);
    }
}
