#include "platform/profile.h"

#include "storage/modules.h"
#include "util/errors.h"
#include "util/fileutils.h"
#include "util/strutils.h"

namespace {

bool IsSectionLine(const std::string& trimmed) {
    return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.find(']') != std::string::npos;
}

std::string SectionName(const std::string& trimmed) {
    return Trim(trimmed.substr(1, trimmed.find(']') - 1));
}

// A value is stored trimmed; one pair of surrounding double quotes is removed,
// which is how a value keeps blanks at its ends.
std::string DecodeValue(const std::string& raw) {
    std::string v = Trim(raw);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return v;
}

std::string EncodeValue(std::string value) {
    // A value is one line: what follows a line break would become lines of its
    // own (a section, another key). Keep what the file could always read back.
    value = value.substr(0, value.find_first_of("\r\n"));
    if (!value.empty() && (static_cast<unsigned char>(value.front()) <= 32 ||
                           static_cast<unsigned char>(value.back()) <= 32 ||
                           (value.size() >= 2 && value.front() == '"' && value.back() == '"')))
        return "\"" + value + "\"";
    return value;
}

} // namespace

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

bool TIniFile::Lookup(const std::string& section, const std::string& key, std::string& value) const {
    TStringList lines;
    if (!ReadFileLines(fileName_, lines)) return false;
    bool inSection = false;
    for (const auto& line : lines) {
        std::string t = Trim(line);
        if (IsSectionLine(t)) {
            inSection = SameText(SectionName(t), section);
            continue;
        }
        if (!inSection || t.empty() || t[0] == ';') continue;
        size_t eq = t.find('=');
        if (eq == std::string::npos) continue;
        if (SameText(Trim(t.substr(0, eq)), Trim(key))) {
            value = DecodeValue(t.substr(eq + 1));
            if (value.size() > kMaxValue) value.resize(kMaxValue);
            return true;
        }
    }
    return false;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
    std::string v;
    return Lookup(section, key, v);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
    std::string v;
    return Lookup(section, key, v) ? v : def;
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
    std::string v;
    if (!Lookup(section, key, v)) return def;
    if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
        uint64_t r = 0;
        for (size_t i = 2; i < v.size(); ++i) {
            char c = v[i];
            int d = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : -1;
            if (d < 0) return def;
            r = r * 16 + static_cast<uint64_t>(d);
            if (r > 0xFFFFFFFFull) return def;
        }
        return static_cast<int32_t>(static_cast<uint32_t>(r));
    }
    int32_t n;
    // Only plain decimal here; "$" hexadecimal is not part of the file's syntax.
    if (v.find('$') != std::string::npos || !TryStrToInt(v, n)) return def;
    return n;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    TStringList lines;
    ReadFileLines(fileName_, lines); // a missing file starts empty
    std::string entry = Trim(key) + "=" + EncodeValue(value);
    int sectionStart = -1, insertAt = -1;
    bool done = false;
    for (size_t i = 0; i < lines.size() && !done; ++i) {
        std::string t = Trim(lines[i]);
        if (IsSectionLine(t)) {
            if (sectionStart >= 0) break; // the section ended without the key
            if (SameText(SectionName(t), section)) {
                sectionStart = static_cast<int>(i);
                insertAt = static_cast<int>(i) + 1;
            }
            continue;
        }
        if (sectionStart < 0) continue;
        if (!t.empty()) insertAt = static_cast<int>(i) + 1;
        size_t eq = t.find('=');
        if (!t.empty() && t[0] != ';' && eq != std::string::npos &&
            SameText(Trim(t.substr(0, eq)), Trim(key))) {
            lines[i] = entry;
            done = true;
        }
    }
    if (!done) {
        if (sectionStart < 0) {
            if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
            lines.push_back("[" + section + "]");
            lines.push_back(entry);
        } else {
            lines.insert(lines.begin() + insertAt, entry);
        }
    }
    try {
        WriteFileLines(fileName_, lines);
    } catch (const EHalvoraError&) {
        throw EIniFileError("Unable to write to " + fileName_);
    }
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}
