#include "content/surahs.h"

#include "util/errors.h"
#include "util/strutils.h"

#include <array>

namespace {

struct TSurahRow {
    const char* Name;
    const char* Meaning;
    int32_t Verses;
};

const TSurahRow kSurahs[kSurahCount] = {
    {"Al-Fatiha", "The Opening", 7},
    {"Al-Baqara", "The Cow", 286},
    {"Aal-E-Imran", "The Family of Imran", 200},
    {"An-Nisa", "The Women", 176},
    {"Al-Maeda", "The Table, The Table Spread", 120},
    {"Al-Anaam", "The Cattle", 165},
    {"Al-Araf", "The Heights", 206},
    {"Al-Anfal", "The Spoils of War", 75},
    {"At-Tawba", "The Repentance", 129},
    {"Yunus", "Jonah", 109},
    {"Hud", "Hud", 123},
    {"Yusuf", "Joseph", 111},
    {"Ar-Rad", "The Thunder", 43},
    {"Ibrahim", "Abraham", 52},
    {"Al-Hijr", "The Rocky Tract", 99},
    {"An-Nahl", "The Bee", 128},
    {"Al-Isra", "Isra, The Night Journey, Children of Israel", 111},
    {"Al-Kahf", "The Cave", 110},
    {"Maryam", "Mary", 98},
    {"Ta-Ha", "Mystic letters Ta-Ha", 135},
    {"Al-Anbiya", "The Prophets", 112},
    {"Al-Hajj", "The Pilgrimage", 78},
    {"Al-Mumenoon", "The Believers", 118},
    {"An-Noor", "The Light", 64},
    {"Al-Furqan", "The Criterion, The Standard", 77},
    {"Ash-Shuara", "The Poets", 227},
    {"An-Naml", "The Ant, The Ants", 93},
    {"Al-Qasas", "The Stories", 88},
    {"Al-Ankaboot", "The Spider", 69},
    {"Ar-Room", "The Romans, The Byzantines", 60},
    {"Luqman", "Luqman", 34},
    {"As-Sajda", "The Prostration, Worship, Adoration", 30},
    {"Al-Ahzab", "The Clans, The Coalition, The Combined Forces", 73},
    {"Saba", "Saba, Sheba", 54},
    {"Fatir", "The Angels, Originator", 45},
    {"Ya-Seen", "Ya Seen", 83},
    {"As-Saaffat", "Those Who Set The Ranks, Drawn Up In Ranks", 182},
    {"Sad", "The Letter Sad", 88},
    {"Az-Zumar", "The Troops, Throngs", 75},
    {"Al-Ghafir", "The Forgiver [God]", 85},
    {"Fussilat", "Explained in Detail, Clearly Spelled Out", 54},
    {"Ash-Shura", "Council, Consultation", 53},
    {"Az-Zukhruf", "Ornaments of Gold, Luxury", 89},
    {"Ad-Dukhan", "Smoke", 59},
    {"Al-Jathiya", "Crouching", 37},
    {"Al-Ahqaf", "The Wind-Curved Sandhills, The Dunes", 35},
    {"Muhammad", "Muhammad", 38},
    {"Al-Fath", "Victory, Conquest", 29},
    {"Al-Hujraat", "The Private Apartments, The Inner Apartments", 18},
    {"Qaf", "The Letter Qaf", 45},
    {"Adh-Dhariyat", "The Winnowing Winds", 60},
    {"At-Tur", "The Mount", 49},
    {"An-Najm", "The Star", 62},
    {"Al-Qamar", "The Moon", 55},
    {"Ar-Rahman", "The Beneficent, The Mercy Giving", 78},
    {"Al-Waqia", "The Event, The Inevitable", 96},
    {"Al-Hadid", "The Iron", 29},
    {"Al-Mujadila", "She That Disputeth, The Pleading Woman", 22},
    {"Al-Hashr", "Exile, Banishment", 24},
    {"Al-Mumtahina", "She That Is To Be Examined, Examining Her", 13},
    {"As-Saff", "The Ranks, Battle Array", 14},
    {"Al-Jumua", "The Congregation, Friday", 11},
    {"Al-Munafiqoon", "The Hypocrites", 11},
    {"At-Taghabun", "Mutual Disillusion, Haggling", 18},
    {"At-Talaq", "Divorce", 12},
    {"At-Tahrim", "Banning, Prohibition", 12},
    {"Al-Mulk", "The Sovereignty, Control", 30},
    {"Al-Qalam", "The Pen", 52},
    {"Al-Haaqqa", "The Reality", 52},
    {"Al-Maarij", "The Ascending Stairways", 44},
    {"Nooh", "Noah", 28},
    {"Al-Jinn", "The Jinn", 28},
    {"Al-Muzzammil", "The Enshrouded One, Bundled Up", 20},
    {"Al-Muddaththir", "The Cloaked One, The Man Wearing A Cloak", 56},
    {"Al-Qiyama", "The Rising Of The Dead, Resurrection", 40},
    {"Al-Insan", "Man, The Human", 31},
    {"Al-Mursalat", "The Emissaries, Winds Sent Forth", 50},
    {"an-Naba", "The Tidings, The Announcement", 40},
    {"an-Naziat", "Those Who Drag Forth, Soul-snatchers", 46},
    {"Abasa", "He Frowned", 42},
    {"At-Takwir", "The Overthrowing", 29},
    {"Al-Infitar", "The Cleaving, Bursting Apart", 19},
    {"Al-Mutaffifin", "Defrauding, The Cheats, Cheating", 36},
    {"Al-Inshiqaq", "The Sundering, Splitting Open", 25},
    {"Al-Burooj", "The Mansions Of The Stars, Constellations", 22},
    {"At-Tariq", "The Morning Star, The Nightcomer", 17},
    {"Al-Ala", "The Most High, Glory to your Lord in The Highest", 19},
    {"Al-Ghashiya", "The Overwhelming, The Pall", 26},
    {"Al-Fajr", "The Dawn, Daybreak", 30},
    {"Al-Balad", "The City, This Countryside", 20},
    {"Ash-Shams", "The Sun", 15},
    {"Al-Lail", "The Night", 21},
    {"Ad-Dhuha", "The Morning Hours, Morning Bright", 11},
    {"Al-Inshirah", "Solace, Consolation, Relief", 8},
    {"At-Tin", "The Fig, The Figtree", 8},
    {"Al-Alaq", "The Clot, Read", 19},
    {"Al-Qadr", "The Power, Fate", 5},
    {"Al-Bayyina", "The Clear Proof, Evidence", 8},
    {"Az-Zalzala", "The Earthquake", 8},
    {"Al-Adiyat", "The Courser, The Chargers", 11},
    {"Al-Qaria", "The Calamity, The Stunning Blow, The Disaster", 11},
    {"At-Takathur", "Competition", 8},
    {"Al-Asr", "The Declining Day, Epoch", 3},
    {"Al-Humaza", "The Traducer, The Gossipmonger", 9},
    {"Al-Fil", "The Elephant", 5},
    {"Quraish", "Quraish", 4},
    {"Al-Maun", "Almsgiving, Small Kindnesses", 7},
    {"Al-KauTher", "Abundance, Plenty", 3},
    {"Al-Kafiroon", "The Disbelievers, Atheists", 6},
    {"An-Nasr", "Succour, Divine Support", 3},
    {"Al-Masadd", "The Palm Fibre, The Flame", 5},
    {"Al-Ikhlas", "Sincerity", 4},
    {"Al-Falaq", "The Daybreak, Dawn", 5},
    {"An-Nas", "Mankind", 6},
};

// Line offsets follow from the verse counts: each surah takes one line for
// itself and one per verse.
std::array<int32_t, kSurahCount + 1> MakeOffsets() {
    std::array<int32_t, kSurahCount + 1> offsets{};
    for (int i = 0; i < kSurahCount; ++i) offsets[i + 1] = offsets[i] + kSurahs[i].Verses + 1;
    return offsets;
}

const std::array<int32_t, kSurahCount + 1>& Offsets() {
    static const auto offsets = MakeOffsets();
    return offsets;
}

const TSurahRow& Row(int32_t surah) {
    if (!IsValidSurah(surah)) throw ERangeError();
    return kSurahs[surah - 1];
}

struct TVerseName {
    const char* Ref;
    const char* Name;
};

const TVerseName kVerseNames[] = {
    {"001.001", "Bismi Allahi arrahmani arraheem"},
    {"001.002", "Al-hamdu lillahi rabbil 'alamin"},
    {"002.255", "Ayat-ul-Kursi"},
    {"036.001", "Heart of Qur'an"},
    {"097.003", "Laylat Al-Qadr"},
};

} // namespace

const char* const QuranQuoteFormat = "Al-Qur'an, %s (%s)\r\n%s";

bool IsValidSurah(int32_t surah) { return surah >= 1 && surah <= kSurahCount; }

std::string SurahTitle(int32_t surah, int form) {
    if (!IsValidSurah(surah)) return {};
    const TSurahRow& r = kSurahs[surah - 1];
    switch (form) {
    case 0: return r.Name;
    case 1: return r.Meaning;
    case 2: return std::string(r.Name) + " [" + r.Meaning + "]";
    default: return {};
    }
}

int32_t VerseCount(int32_t surah) { return Row(surah).Verses; }

int32_t SurahLineOffset(int32_t surah) {
    Row(surah);
    return Offsets()[surah - 1];
}

int32_t AbsoluteVerse(int32_t surah, int32_t verse) {
    if (surah > kSurahCount + 1) throw ERangeError();
    int64_t total = verse;
    if (surah > 1) total += Offsets()[surah - 1] - (surah - 1); // verses before, without the surah lines
    if (total > INT32_MAX || total < INT32_MIN) throw EIntOverflow();
    return static_cast<int32_t>(total);
}

std::string ThreeDigitText(int32_t value) {
    if (value < 0) return "-" + ThreeDigitText(static_cast<int32_t>(-static_cast<int64_t>(value) % 1000000000));
    std::string s = std::to_string(value);
    if (s.size() > 3) return s.substr(0, 3);
    return std::string(3 - s.size(), '0') + s;
}

std::string FormatVerseRef(int32_t surah, int32_t verse) {
    return ThreeDigitText(surah) + "." + ThreeDigitText(verse);
}

bool IsVerseRef(std::string_view text) {
    size_t dot = text.find('.');
    if (dot == std::string_view::npos) return false;
    return IsInteger(text.substr(0, dot)) && IsInteger(text.substr(dot + 1));
}

void ParseVerseRef(std::string_view text, int32_t& surah, int32_t& verse) {
    surah = verse = 0;
    if (!IsVerseRef(text)) return;
    size_t dot = text.find('.');
    surah = StrToInt(text.substr(0, dot));
    verse = StrToInt(text.substr(dot + 1));
}

TQuranVerseRange VerseRangeOf(int32_t surah, int32_t verse) { return {surah, verse, surah, verse}; }

TQuranVerseRange ParseVerseRangeStart(std::string_view text) {
    size_t dash = text.find('-');
    int32_t surah, verse;
    ParseVerseRef(dash == std::string_view::npos ? text : text.substr(0, dash), surah, verse);
    return VerseRangeOf(surah, verse);
}

bool IsSingleVerse(const TQuranVerseRange& range) { return range.FromVerse == range.ToVerse; }

std::string FormatVerseRange(const TQuranVerseRange& range, bool withSurah) {
    TQuranVerseRange r = range;
    if (r.FromVerse == 800) r.FromVerse = 1;
    std::string from = withSurah ? FormatVerseRef(r.FromSurah, r.FromVerse) : ThreeDigitText(r.FromVerse);
    if (IsSingleVerse(r)) return from;
    return from + "-" + ThreeDigitText(r.ToVerse);
}

std::string VerseAlias(std::string_view ref) {
    for (const auto& v : kVerseNames)
        if (ref == v.Ref) return v.Name;
    return std::string(ref);
}

std::string FormatQuranQuote(std::string_view rangeText, std::string_view surahTitle,
                             std::string_view furtherLine) {
    return "Al-Qur'an, " + std::string(rangeText) + " (" + std::string(surahTitle) + ")\r\n" +
           std::string(furtherLine);
}
