#include "commands.h"

#include "storage/cipher.h"
#include "util/errors.h"
#include "util/fileutils.h"
#include "util/strutils.h"

#include <cstdio>
#include <cstdlib>

namespace {

const char* kUsage =
    "usage: halvora-pack COMMAND ARGS...\n"
    "  signature FILE [OFFSET]   print the file's signature\n"
    "  encipher KEY TEXT         print TEXT enciphered under KEY\n"
    "  decipher KEY TEXT         print TEXT deciphered under KEY\n";

int32_t ParseKey(const std::string& text) {
    int32_t key;
    if (!TryStrToInt(text, key)) throw EConvertError("not a numeric key: " + text);
    return key;
}

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

} // namespace

int RunPackCommand(const std::vector<std::string>& args) {
    if (args.empty()) return Usage();
    const std::string& cmd = args[0];
    if (cmd == "signature" && (args.size() == 2 || args.size() == 3)) {
        int32_t offset = args.size() == 3 ? ParseKey(args[2]) : 0;
        if (FileByteCount(args[1]) < 0) throw EInOutError("no such file: " + args[1]);
        std::string sig = FileSignature(args[1], offset);
        if (sig.empty()) throw EInOutError("cannot read " + args[1]);
        std::printf("%s\n", sig.c_str());
        return 0;
    }
    if (cmd == "encipher" && args.size() == 3) {
        std::printf("%s\n", EncipherText(args[2], ParseKey(args[1])).c_str());
        return 0;
    }
    if (cmd == "decipher" && args.size() == 3) {
        std::printf("%s\n", DecipherText(args[2], ParseKey(args[1])).c_str());
        return 0;
    }
    return Usage();
}
