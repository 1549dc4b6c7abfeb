// quran: the translation module's plain lines from a translation source's JSON
// file, with that source's corrections applied. A source is data: the build
// names the JSON file, the key of a verse's text in it and the corrections.
#include "translation.h"

#include "commands.h"

#include "content/surahs.h"
#include "storage/modules.h"
#include "util/errors.h"
#include "util/fileutils.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>

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

bool ParseVerse(const std::string& text, int& surah, int& verse) {
    int32_t s, v;
    if (!TryStrToInt(TextBefore(text, ":"), s) || !Contains(":", text) ||
        !TryStrToInt(TextAfter(text, ":"), v) || !IsValidSurah(s) || v < 1 || v > VerseCount(s))
        return false;
    surah = s;
    verse = v;
    return true;
}

// quran JSON OUT.txt [--text KEY] [--corrections FILE]: the 6350 plain lines,
// surah line first. A correction whose text is no longer in its verse fails
// the command: the source has changed and the list must be looked at again.
int CmdQuran(const std::vector<std::string>& args) {
    const std::string& jsonFile = args[0];
    const std::string& out = args[1];
    std::string textKey = "translation", correctionsFile;
    for (size_t i = 2; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) throw EPackError(args[i] + " needs a value");
        if (args[i] == "--text")
            textKey = args[i + 1];
        else if (args[i] == "--corrections")
            correctionsFile = args[i + 1];
        else
            throw EPackError("unknown option " + args[i]);
    }

    std::vector<TVerseCorrection> corrections;
    if (!correctionsFile.empty()) {
        TStringList problems;
        corrections = ReadCorrections(correctionsFile, problems);
        if (!problems.empty()) throw EConvertError(problems.front());
    }

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
            if (!verse.contains(textKey) || !verse.at(textKey).is_string())
                throw EConvertError(jsonFile + ": verse " + std::to_string(s) + ":" +
                                    std::to_string(v) + " has no text \"" + textKey + "\"");
            std::string text = verse.at(textKey).get<std::string>();
            for (const auto& c : corrections) {
                if (c.Surah != s || c.Verse != v) continue;
                if (!Contains(c.Find, text))
                    throw EConvertError(c.Where + ": \"" + c.Find + "\" is no longer in verse " +
                                        std::to_string(s) + ":" + std::to_string(v) +
                                        " of " + jsonFile + ": remove or update the correction");
                text = ReplaceAll(text, c.Find, c.Replace);
            }
            lines.push_back(std::to_string(v) + "|" + OneLine(Utf8ToAnsi(text)));
        }
    }
    WriteFileLines(out, lines);
    std::printf("%s: %zu lines, %zu corrections\n", out.c_str(), lines.size(), corrections.size());
    return 0;
}

const TPackCommandRegistration kQuran{
    {"quran", "quran JSON OUT.txt [--text KEY] [--corrections FILE]",
     "the translation's plain module lines from its JSON, corrected", 2, 6, CmdQuran}};

} // namespace

std::vector<TVerseCorrection> ReadCorrections(const std::string& file, TStringList& problems) {
    std::vector<TVerseCorrection> result;
    TStringList lines;
    if (!ReadFileLines(file, lines)) {
        problems.push_back(file + ": cannot read");
        return result;
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = Trim(lines[i]);
        if (line.empty() || line[0] == '#') continue;
        std::string where = file + ":" + std::to_string(i + 1);
        TStringList fields = SplitTrimmed(line, "|");
        TVerseCorrection c;
        c.Where = where;
        if (fields.size() != 3) {
            problems.push_back(where + ": expected VERSE | TEXT IN THE SOURCE | TEXT PACKED");
            continue;
        }
        if (!ParseVerse(fields[0], c.Surah, c.Verse)) {
            problems.push_back(where + ": not a verse of the Qur'an: " + fields[0]);
            continue;
        }
        c.Find = fields[1];
        c.Replace = fields[2];
        if (c.Find.empty() || c.Find == c.Replace) {
            problems.push_back(where + ": nothing to correct");
            continue;
        }
        result.push_back(c);
    }
    return result;
}
