#include "storage/modules.h"

#include "storage/cipher.h"
#include "util/fileutils.h"

TStringList ReadTextLines(std::string_view bytes) { return SplitLines(bytes); }

bool ReadFileLines(const std::string& fileName, TStringList& lines) {
    std::string bytes;
    if (!ReadFileBytes(fileName, bytes)) return false;
    lines = ReadTextLines(bytes);
    return true;
}

void DecipherLines(TStringList& lines) {
    for (size_t i = 0; i < lines.size(); ++i)
        lines[i] = DecipherText(lines[i], static_cast<int32_t>(i));
}

void EncipherLines(TStringList& lines) {
    for (size_t i = 0; i < lines.size(); ++i)
        lines[i] = EncipherText(lines[i], static_cast<int32_t>(i));
}

void WriteFileLines(const std::string& fileName, const TStringList& lines) {
    std::string bytes;
    for (const auto& l : lines) {
        bytes += l;
        bytes += "\r\n";
    }
    WriteFileAtomic(fileName, bytes);
}
