#include "content/prophets.h"

#include "util/errors.h"

namespace {

struct TProphetRow {
    const char* Name;
    const char* EnglishName;
    int Form;
};

const TProphetRow kProphets[kProphetCount] = {
    {"Adam", "Adam", 0},
    {"Idris", "Enoch", 0},
    {"Nooh", "Noah", 0},
    {"Hud", "Hud", 0},
    {"Salih", "Salih", 0},
    {"Ibrahim", "Abraham", 0},
    {"Isma'il", "Ishmael", 0},
    {"Ishak", "Isaac", 0},
    {"Yaqub", "Jacob", 0},
    {"Lot", "Lot", 0},
    {"Shuaib", "Shuaib", 0},
    {"Yusuf", "Joseph", 0},
    {"Ayub", "Job", 0},
    {"Dhul-Kifl", "Dhul-Kifl", 0},
    {"Yunus", "Jonah", 0},
    {"Musa and Harun", "Moses and Aaron", 1},
    {"Hizqeel", "Ezekiel", 0},
    {"Elisha", "Elyas", 0},
    {"Shammil", "Samuel", 0},
    {"Dawud", "David", 0},
    {"Sulaiman", "Solomon", 0},
    {"Shia", "Isaiah", 0},
    {"Aramaya", "Jeremiah", 0},
    {"Daniel", "Daniel", 0},
    {"Uzair", "Ezra", 0},
    {"Zechariah", "Zakariya", 0},
    {"Yahya", "John", 0},
    {"Isa", "Jesus", 0},
    {"Muhammad", "Muhammad", 0},
};

const char* const kShortBlessing[2] = {"(pbuh)", "(pbut)"};
const char* const kLongBlessing[2] = {"- Allah's Peace and Blessings be upon him",
                                      "- Allah's Peace and Blessings be upon them"};

const TProphetRow& Row(int32_t prophet) {
    if (prophet < 1 || prophet > kProphetCount) throw ERangeError();
    return kProphets[prophet - 1];
}

std::string FormatLocation(int32_t prophet, int32_t index, char separator) {
    return ThreeDigitText(prophet) + separator + ThreeDigitText(index);
}

void ParseLocation(std::string_view text, char separator, int32_t& prophet, int32_t& index) {
    prophet = index = 0;
    std::string t = Trim(text);
    if (t.empty()) return;
    size_t p = t.find(separator);
    std::string before = p == std::string::npos ? t : t.substr(0, p);
    std::string after = p == std::string::npos ? std::string() : t.substr(p + 1);
    int32_t a = StrToInt(before), b = StrToInt(after);
    prophet = a;
    index = b;
}

} // namespace

const char* const kPeaceBeUponHim = " (Peace be upon him)";

std::string ProphetName(int32_t prophet, int form) {
    const TProphetRow& r = Row(prophet);
    switch (form) {
    case 0: return r.Name;
    case 1: return r.EnglishName;
    case 2: return std::string(r.Name) + " [" + r.EnglishName + "]";
    default: return {};
    }
}

std::string ProphetBlessing(int32_t prophet, int form) {
    const TProphetRow& r = Row(prophet);
    if (form == 0) return kShortBlessing[r.Form];
    if (form == 1) return kLongBlessing[r.Form];
    return {};
}

int ProphetBlessingForm(int32_t prophet) { return Row(prophet).Form; }

int32_t FindProphet(std::string_view name) {
    std::string wanted = Trim(name);
    for (int32_t p = 1; p <= kProphetCount; ++p)
        for (int form = 0; form <= 2; ++form)
            if (SameText(wanted, ProphetName(p, form))) return p;
    return -1;
}

bool IsEmptyStoryLine(std::string_view line) { return line == "++"; }
bool IsStoryHeading(std::string_view line) { return Contains("<[", line); }
std::string StoryHeadingTitle(std::string_view line) { return TextBetween(Trim(line), "<[", "]>"); }
bool IsExcerptMarker(std::string_view line) { return Contains("<<", line); }

TQuranVerseRange ParseExcerptMarker(std::string_view line) {
    TQuranVerseRange range;
    std::string surahText = TextBetween(line, "<<", ":");
    if (!IsInteger(surahText)) return range;
    int32_t surah = StrToInt(surahText);
    std::string verses = TextBetween(line, ":", ">>");
    if (verses.empty()) return range;
    range.FromSurah = range.ToSurah = surah;
    size_t dash = verses.find('-');
    if (dash != std::string::npos) {
        range.FromVerse = StrToInt(verses.substr(0, dash));
        range.ToVerse = StrToInt(verses.substr(dash + 1));
    } else {
        range.FromVerse = range.ToVerse = StrToInt(verses);
    }
    return range;
}

std::string FormatTopicLocation(int32_t prophet, int32_t topic) { return FormatLocation(prophet, topic, '+'); }
void ParseTopicLocation(std::string_view text, int32_t& prophet, int32_t& topic) {
    ParseLocation(text, '+', prophet, topic);
}
std::string FormatExcerptLocation(int32_t prophet, int32_t excerpt) {
    return FormatLocation(prophet, excerpt, '*');
}
void ParseExcerptLocation(std::string_view text, int32_t& prophet, int32_t& excerpt) {
    ParseLocation(text, '*', prophet, excerpt);
}
