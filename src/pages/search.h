#pragma once
// Full-text search over everything the reader can show: the stories by
// sub-topic, the main documents, the glossary and every Qur'an verse.
//
// The index lives in an in-memory SQLite FTS5 table and is never written to
// disk: the modules are enciphered, and a plain-text index beside them would
// undo that. It speaks UTF-8: queries, titles and snippets are UTF-8 (a reader
// may type letters that Windows-1252 lacks, such as the a with macron or the
// ayn of a transliteration).
#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class TMainDocManager;
class TPageComposer;
class TProphetsHelper;
class TQuranHelper;
class TGlossaryHelper;
struct sqlite3;

enum class TSearchKind : int { Story = 0, Document = 1, Glossary = 2, Quran = 3 };
inline constexpr int kSearchKindCount = 4;

// One searchable passage. Where it leads:
//   Story: A = prophet, B = sub-topic index (-1: the text above the first heading);
//   Document: A = the document's index in the main-document list;
//   Glossary: A = the entry's index in the glossary;
//   Quran: A = surah, B = verse.
// Texts are Windows-1252, as the modules hold them; Text is plain text (no tags).
struct TSearchItem {
    TSearchKind Kind = TSearchKind::Story;
    int32_t A = 0;
    int32_t B = 0;
    std::string Group; // the prophet's name, the surah's heading
    std::string Title; // the sub-topic, document title, headword, verse reference
    std::string Spellings; // glossary: every other spelling, comma-separated
    std::string Text;
};
using TSearchSources = std::vector<TSearchItem>;

// The texts the pages show, in book order: every story's sub-topics with the
// verses they quote, every main document, every glossary entry, every verse.
// Reads the modules on the calling thread; the story module's current
// prophet is left as it was.
TSearchSources CollectSearchSources(TMainDocManager* docs, TPageComposer* composer,
                                    TProphetsHelper* stories, TQuranHelper* quran,
                                    TGlossaryHelper* glossary);

// A page's HTML as the plain text a reader sees: tags dropped, line-breaking
// tags and runs of white space as one blank, the common entities decoded.
std::string PlainPageText(std::string_view html);

// Windows-1252 to UTF-8 and back (characters Windows-1252 lacks become "?").
std::string AnsiToUtf8(std::string_view text);
std::string Utf8ToAnsi(std::string_view text);

// The spelling key of a word: letters and digits only, small ASCII letters,
// accented Latin letters as their base letter ("Isma'il", "ISMAIL" and
// "Ism\u0101\u02bf\u012bl" give "ismail"). UTF-8 in.
std::string SpellingKey(std::string_view utf8);

// Marks around each matched word in a snippet.
inline constexpr char kHitStart = '\x01';
inline constexpr char kHitEnd = '\x02';

struct TSearchHit {
    TSearchKind Kind = TSearchKind::Story;
    int32_t A = 0;
    int32_t B = 0;
    std::string Group;   // UTF-8
    std::string Title;   // UTF-8
    std::string Snippet; // UTF-8, hits between kHitStart and kHitEnd
    // The first matched text as the passage writes it (UTF-8), and how many
    // times that text (in any letter case) occurs in the passage before it:
    // the page shows the passage's words in the same order, so searching the
    // page from the passage's start finds the hit at match Occurrence + 1.
    std::string HitText;
    int Occurrence = 0;
};

struct TSearchResults {
    bool EmptyQuery = false;
    // Matches of each kind (hits beyond the limit are counted, not listed).
    std::array<int, kSearchKindCount> Counts{};
    // Stories, documents and verses in book order; glossary entries whose
    // headword or spellings match come first.
    std::vector<TSearchHit> Hits;
    int Total() const { return Counts[0] + Counts[1] + Counts[2] + Counts[3]; }
};

// The FTS5 query for a reader's text: every word must occur, in any form the
// tokenizer folds together; "quoted phrases" must occur as written; a word
// the glossary knows as a spelling of a term also matches the term's other
// spellings. Empty when the text holds no word.
std::string BuildMatchExpression(std::string_view query,
                                 const std::map<std::string, std::vector<std::string>>& spellings);

class TSearchIndex {
public:
    TSearchIndex();
    ~TSearchIndex();
    TSearchIndex(const TSearchIndex&) = delete;
    TSearchIndex& operator=(const TSearchIndex&) = delete;

    // Builds the index on the calling thread; a second build replaces the first.
    void Build(TSearchSources sources);
    // Builds on a worker thread; Search waits for it.
    void StartBuild(TSearchSources sources);
    // True once a build has finished (and no later one is running).
    bool Ready() const { return FReady.load(); }
    bool Building() const { return FThread.joinable() && !FReady.load(); }
    // Waits for a build started by StartBuild.
    void WaitForBuild();

    // Searches; limitPerKind bounds the hits listed of each kind.
    TSearchResults Search(std::string_view query, int limitPerKind = 100);

    const TSearchSources& Items() const { return FItems; }

private:
    void Close();

    sqlite3* FDb = nullptr;
    TSearchSources FItems;
    std::array<int64_t, kSearchKindCount + 1> FKindStart{}; // first rowid of each kind
    std::map<std::string, std::vector<std::string>> FSpellings;
    std::thread FThread;
    std::atomic<bool> FReady{false};
};
