#include "pages/search.h"

#include "content/documents.h"
#include "content/glossary.h"
#include "content/prophets.h"
#include "content/quran.h"
#include "content/stories.h"
#include "pages/composer.h"
#include "util/errors.h"
#include "util/strutils.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

namespace {

// ---------------------------------------------------------------- encodings

// Windows-1252 0x80..0x9F; 0 where the code page has no character.
const char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code point at i (advancing i); a malformed byte stands for itself.
char32_t NextCodePoint(std::string_view s, size_t& i) {
    auto b = static_cast<unsigned char>(s[i]);
    size_t extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (extra == 0) {
        ++i;
        return b;
    }
    char32_t c = b & (0x3F >> extra);
    for (size_t k = 1; k <= extra; ++k) {
        if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
            ++i;
            return b;
        }
        c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    }
    i += extra + 1;
    return c;
}

// Base letters of U+00C0..U+024F and U+1E00..U+1EFF ('.' where there is none).
const char kFoldLatin[] =
    "aaaaaa.ceeeeiiii.nooooo..uuuuy..aaaaaa.ceeeeiiii.nooooo..uuuuy.y"
    "aaaaaaccccccccdd..eeeeeeeeeegggggggghh..iiiiiiiii.iijjkk.lllllll"
    "l..nnnnnnn..oooooo..rrrrrrsssssssstttt..uuuuuuuuuuuuwwyyyzzzzzzs"
    "................................oo.............uu..............."
    "....dddlllnnnaaiioouuuuuuuuuu.aaaa....ggkkoooo..jdddgg..nnaa...."
    "aaaaeeeeiiiioooorrrruuuusstt..hh......aaeeooooooooyy............"
    "................";
const char kFoldLatinExtra[] =
    "aabbbbbbccddddddddddeeeeeeeeeeffgghhhhhhhhhhiiiikkkkkkllllllllmm"
    "mmmmnnnnnnnnoooooooopppprrrrrrrrssssssssssttttttttuuuuuuuuuuvvvv"
    "wwwwwwwwwwxxxxyyzzzzzzhtwyas....aaaaaaaaaaaaaaaaaaaaaaaaeeeeeeee"
    "eeeeeeeeiiiioooooooooooooooooooooooouuuuuuuuuuuuuuyyyyyyyy......";

// ------------------------------------------------------------- the tokenizer

// Transliterations join the parts of one name with an apostrophe or a hyphen
// ("Isma'il", "Dhul-Kifl"); readers type them with, without, or with other
// marks. The tokenizer wraps unicode61 (which splits at those marks) and
// joins the parts again: an apostrophe joins them into one token
// ("isma'il" -> "ismail", "Allah's" -> "allahs", which the porter stemmer
// then takes to "allah"); a hyphen keeps the parts and, in the indexed text,
// puts the joined word at the first part's position, so "dhul kifl",
// "dhul-kifl" and "dhulkifl" all find it.
enum TJoin { jNone, jApostrophe, jHyphen };

TJoin JoinBetween(std::string_view gap) {
    static const char* const apostrophes[] = {"'", "`", "\xE2\x80\x98", "\xE2\x80\x99", "\xCA\xBC",
                                              "\xCA\xBE", "\xCA\xBF", "\xCA\xBB", "\xCA\xBD"};
    static const char* const hyphens[] = {"-", "\xE2\x80\x90", "\xE2\x80\x91"};
    for (const char* a : apostrophes)
        if (gap == a) return jApostrophe;
    for (const char* h : hyphens)
        if (gap == h) return jHyphen;
    return jNone;
}

struct TPart {
    std::string Token;
    int Start, End;
    TJoin JoinBefore;
};

struct TTokenizer {
    fts5_tokenizer Parent{};
    Fts5Tokenizer* ParentInstance = nullptr;
};

struct TTokenizeCall {
    const char* Text;
    int Length;
    int Joined;
    void* Ctx;
    int (*Token)(void*, int, const char*, int, int, int);
    std::vector<TPart> Parts;
};

int EmitGroup(TTokenizeCall& call) {
    if (call.Parts.empty()) return SQLITE_OK;
    // Words: the parts joined by apostrophes.
    std::vector<TPart> words;
    for (auto& p : call.Parts) {
        if (!words.empty() && p.JoinBefore == jApostrophe) {
            words.back().Token += p.Token;
            words.back().End = p.End;
        } else {
            words.push_back(p);
        }
    }
    call.Parts.clear();
    int rc = SQLITE_OK;
    if (words.size() > 1 && call.Joined) {
        // The joined word first, so that a hit on it is shown as the whole name.
        std::string joined;
        for (const auto& x : words) joined += x.Token;
        rc = call.Token(call.Ctx, 0, joined.data(), static_cast<int>(joined.size()), words.front().Start,
                        words.back().End);
    }
    for (size_t k = 0; k < words.size() && rc == SQLITE_OK; ++k) {
        const TPart& w = words[k];
        int flags = k == 0 && words.size() > 1 && call.Joined ? FTS5_TOKEN_COLOCATED : 0;
        rc = call.Token(call.Ctx, flags, w.Token.data(), static_cast<int>(w.Token.size()), w.Start, w.End);
    }
    return rc;
}

int OnParentToken(void* ctx, int /*tflags*/, const char* token, int length, int start, int end) {
    auto& call = *static_cast<TTokenizeCall*>(ctx);
    TJoin join = jNone;
    if (!call.Parts.empty()) {
        int gapStart = call.Parts.back().End;
        if (start > gapStart && start - gapStart <= 3)
            join = JoinBetween(std::string_view(call.Text + gapStart, static_cast<size_t>(start - gapStart)));
    }
    if (join == jNone) {
        int rc = EmitGroup(call);
        if (rc != SQLITE_OK) return rc;
    }
    call.Parts.push_back({std::string(token, static_cast<size_t>(length)), start, end, join});
    return SQLITE_OK;
}

int TokenizerCreate(void* userData, const char** /*args*/, int /*argCount*/, Fts5Tokenizer** out) {
    auto* api = static_cast<fts5_api*>(userData);
    auto t = std::make_unique<TTokenizer>();
    void* parentData = nullptr;
    int rc = api->xFindTokenizer(api, "unicode61", &parentData, &t->Parent);
    if (rc != SQLITE_OK) return rc;
    // The modifier letters of transliteration (ayn, hamza) are letters to
    // unicode61; as separators they join like apostrophes.
    const char* parentArgs[] = {"remove_diacritics", "2", "separators",
                                "\xCA\xBB\xCA\xBC\xCA\xBD\xCA\xBE\xCA\xBF"};
    rc = t->Parent.xCreate(parentData, parentArgs, 4, &t->ParentInstance);
    if (rc != SQLITE_OK) return rc;
    *out = reinterpret_cast<Fts5Tokenizer*>(t.release());
    return SQLITE_OK;
}

void TokenizerDelete(Fts5Tokenizer* instance) {
    auto* t = reinterpret_cast<TTokenizer*>(instance);
    if (t->ParentInstance) t->Parent.xDelete(t->ParentInstance);
    delete t;
}

int TokenizerTokenize(Fts5Tokenizer* instance, void* ctx, int flags, const char* text, int length,
                      int (*token)(void*, int, const char*, int, int, int)) {
    auto* t = reinterpret_cast<TTokenizer*>(instance);
    // Text being indexed, and text being highlighted (which must yield the
    // same positions), gets the joined words; a query only its parts.
    TTokenizeCall call{text, length, (flags & FTS5_TOKENIZE_QUERY) ? 0 : 1, ctx, token, {}};
    int rc = t->Parent.xTokenize(t->ParentInstance, &call, flags, text, length, OnParentToken);
    if (rc == SQLITE_OK) rc = EmitGroup(call);
    return rc;
}

void Check(sqlite3* db, int rc, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw EHalvoraError(std::string("Search index: ") + what + ": " + sqlite3_errmsg(db));
}

void Exec(sqlite3* db, const char* sql) { Check(db, sqlite3_exec(db, sql, nullptr, nullptr, nullptr), sql); }

void RegisterTokenizer(sqlite3* db) {
    fts5_api* api = nullptr;
    sqlite3_stmt* stmt = nullptr;
    Check(db, sqlite3_prepare_v2(db, "SELECT fts5(?1)", -1, &stmt, nullptr), "fts5");
    sqlite3_bind_pointer(stmt, 1, &api, "fts5_api_ptr", nullptr);
    sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (!api) throw EHalvoraError("Search index: this SQLite has no FTS5");
    static fts5_tokenizer tokenizer = {TokenizerCreate, TokenizerDelete, TokenizerTokenize};
    Check(db, api->xCreateTokenizer(api, "halvora", api, &tokenizer, nullptr), "tokenizer");
}

class TStatement {
public:
    TStatement(sqlite3* db, const char* sql) : FDb(db) {
        Check(db, sqlite3_prepare_v2(db, sql, -1, &FStmt, nullptr), sql);
    }
    ~TStatement() { sqlite3_finalize(FStmt); }
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;
    void Bind(int i, std::string_view text) {
        sqlite3_bind_text(FStmt, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    void Bind(int i, int64_t v) { sqlite3_bind_int64(FStmt, i, v); }
    bool Step() {
        int rc = sqlite3_step(FStmt);
        Check(FDb, rc, "step");
        return rc == SQLITE_ROW;
    }
    void Reset() {
        sqlite3_reset(FStmt);
        sqlite3_clear_bindings(FStmt);
    }
    int64_t Int(int col) { return sqlite3_column_int64(FStmt, col); }
    std::string Text(int col) {
        const auto* p = sqlite3_column_text(FStmt, col);
        return p ? std::string(reinterpret_cast<const char*>(p), static_cast<size_t>(sqlite3_column_bytes(FStmt, col)))
                 : std::string();
    }

private:
    sqlite3* FDb;
    sqlite3_stmt* FStmt = nullptr;
};

// --------------------------------------------------------------- snippets

bool IsWordByte(char c) {
    auto b = static_cast<unsigned char>(c);
    return b >= 0x80 || std::isalnum(b);
}

// Keeps the hit marks paired when a snippet cuts through a marked run.
std::string BalanceMarks(std::string s) {
    bool open = false;
    std::string out;
    for (char c : s) {
        if (c == kHitStart) {
            if (open) continue;
            open = true;
        } else if (c == kHitEnd) {
            if (!open) continue;
            open = false;
        }
        out += c;
    }
    if (open) out += kHitEnd;
    return out;
}

// A window of the marked text around its first hit, cut at word boundaries.
std::string SnippetAround(const std::string& marked, size_t hit) {
    constexpr size_t before = 60, after = 140;
    size_t from = hit > before ? hit - before : 0;
    size_t to = std::min(marked.size(), hit + after);
    if (from > 0)
        while (from < hit && IsWordByte(marked[from - 1])) ++from;
    if (to < marked.size())
        while (to > hit && IsWordByte(marked[to])) --to;
    // Never start or end inside a UTF-8 sequence.
    while (from > 0 && (static_cast<unsigned char>(marked[from]) & 0xC0) == 0x80) --from;
    while (to < marked.size() && (static_cast<unsigned char>(marked[to]) & 0xC0) == 0x80) ++to;
    std::string s = Trim(marked.substr(from, to - from));
    if (from > 0) s = "\xE2\x80\xA6 " + s;
    if (to < marked.size()) s += " \xE2\x80\xA6";
    return BalanceMarks(s);
}

// Case-insensitive (ASCII) occurrences of needle in text[0, limit).
int CountBefore(const std::string& text, const std::string& needle, size_t limit) {
    if (needle.empty()) return 0;
    std::string t = LowerCase(text.substr(0, limit)), n = LowerCase(needle);
    int count = 0;
    for (size_t at = t.find(n); at != std::string::npos; at = t.find(n, at + n.size())) ++count;
    return count;
}

std::string EscapePhrase(std::string_view text) {
    std::string s = "\"";
    for (char c : text) {
        if (c == '"') s += '"';
        s += c;
    }
    return s + "\"";
}

bool HasWordChar(std::string_view text) {
    return std::any_of(text.begin(), text.end(), IsWordByte);
}

} // namespace

// ------------------------------------------------------------- public helpers

std::string AnsiToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char ch : text) {
        auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b < 0xA0)
            AppendUtf8(out, kCp1252High[b - 0x80] ? kCp1252High[b - 0x80] : b);
        else
            AppendUtf8(out, b);
    }
    return out;
}

std::string Utf8ToAnsi(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        char32_t c = NextCodePoint(text, i);
        if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
            out += static_cast<char>(c);
            continue;
        }
        char ch = '?';
        for (int k = 0; k < 32; ++k)
            if (kCp1252High[k] == c) ch = static_cast<char>(0x80 + k);
        out += ch;
    }
    return out;
}

std::string SpellingKey(std::string_view utf8) {
    std::string key;
    for (size_t i = 0; i < utf8.size();) {
        char32_t c = NextCodePoint(utf8, i);
        if (c < 0x80) {
            if (std::isalnum(static_cast<int>(c))) key += static_cast<char>(std::tolower(static_cast<int>(c)));
        } else if (c >= 0xC0 && c < 0x250) {
            if (kFoldLatin[c - 0xC0] != '.') key += kFoldLatin[c - 0xC0];
        } else if (c >= 0x1E00 && c < 0x1F00) {
            if (kFoldLatinExtra[c - 0x1E00] != '.') key += kFoldLatinExtra[c - 0x1E00];
        } else if (c >= 0x370 && !(c >= 0x2000 && c < 0x2070) && !(c >= 0x2B0 && c < 0x370)) {
            AppendUtf8(key, c); // other scripts as they are; punctuation and modifier letters go
        }
    }
    return key;
}

std::string PlainPageText(std::string_view html) {
    static const std::pair<const char*, const char*> entities[] = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&nbsp;", " "}, {"&#39;", "'"}};
    std::string out;
    out.reserve(html.size());
    bool blank = true;
    auto put = [&](char c) {
        if (static_cast<unsigned char>(c) <= 32) {
            if (!blank) out += ' ';
            blank = true;
        } else {
            out += c;
            blank = false;
        }
    };
    for (size_t i = 0; i < html.size();) {
        char c = html[i];
        if (c == '<') {
            size_t close = html.find('>', i);
            if (close == std::string_view::npos) break;
            std::string tag = UpperCase(html.substr(i + 1, std::min<size_t>(close - i - 1, 6)));
            // Tags that break a line in the view separate words here too.
            for (const char* b : {"BR", "P", "/P", "HR", "TR", "/TR", "TD", "/TD", "TABLE", "/TABLE", "DIV", "/DIV", "CENTER", "/CENTER", "LI"})
                if (tag.rfind(b, 0) == 0 && (tag.size() == std::strlen(b) || !std::isalpha(static_cast<unsigned char>(tag[std::strlen(b)])))) {
                    put(' ');
                    break;
                }
            i = close + 1;
            continue;
        }
        if (c == '&') {
            bool done = false;
            for (const auto& [e, r] : entities) {
                size_t n = std::strlen(e);
                if (html.substr(i, n) == e) {
                    put(*r);
                    i += n;
                    done = true;
                    break;
                }
            }
            if (done) continue;
        }
        put(c);
        ++i;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

TSearchSources CollectSearchSources(TMainDocManager* docs, TPageComposer* composer,
                                    TProphetsHelper* stories, TQuranHelper* quran,
                                    TGlossaryHelper* glossary) {
    TSearchSources items;
    if (stories) {
        int32_t current = stories->CurrentProphet();
        for (int32_t p = 1; p <= kProphetCount; ++p) {
            std::string body;
            try {
                body = stories->StoryPageBody(p, false);
            } catch (const std::exception&) {
                continue; // a story that cannot be shown cannot be opened either
            }
            std::string group = ProphetName(p, 0);
            // Split at the sub-topic anchors, as the page is split.
            int32_t topic = -1;
            size_t from = 0;
            while (true) {
                std::string anchor = "<A NAME=SUBTOPIC_" + std::to_string(topic + 1) + ">";
                size_t next = body.find(anchor, from);
                std::string part = body.substr(from, next == std::string::npos ? std::string::npos : next - from);
                std::string text = PlainPageText(part);
                if (!text.empty() || topic >= 0) {
                    std::string title = topic >= 0 ? stories->TopicTitle(p, topic) : group;
                    items.push_back({TSearchKind::Story, p, topic, group, title, {}, text});
                }
                if (next == std::string::npos) break;
                from = next;
                ++topic;
            }
        }
        stories->SelectProphet(current);
    }
    if (docs && composer) {
        for (int i = 0; i < docs->Count(); ++i) {
            std::string page;
            try {
                page = composer->BuildDocumentPage(i, false);
            } catch (const std::exception&) {
                continue;
            }
            items.push_back({TSearchKind::Document, i, 0, {}, docs->Items(i).Title, {}, PlainPageText(page)});
        }
    }
    if (glossary) {
        for (int i = 0; i < glossary->Count(); ++i) {
            TGlossaryTerm t = glossary->GetTerm(i);
            if (Trim(t.Term).empty()) continue;
            std::string spellings = t.AltSpellings;
            if (!Trim(t.PreferredSpellings).empty())
                spellings += (spellings.empty() ? "" : ", ") + t.PreferredSpellings;
            items.push_back({TSearchKind::Glossary, i, 0, {}, Trim(t.Term), spellings, PlainPageText(t.Meaning)});
        }
    }
    if (quran) {
        for (int32_t s = 1; s <= kSurahCount; ++s) {
            std::string group = SurahTitle(s, 2);
            std::string name = SurahTitle(s, 0);
            for (int32_t v = 1; v <= VerseCount(s); ++v) {
                std::string text;
                try {
                    text = quran->VerseText(s, v);
                } catch (const std::exception&) {
                    continue;
                }
                items.push_back({TSearchKind::Quran, s, v, group,
                                 name + " " + std::to_string(s) + ":" + std::to_string(v), {},
                                 PlainPageText(text)});
            }
        }
    }
    return items;
}

std::string BuildMatchExpression(std::string_view query,
                                 const std::map<std::string, std::vector<std::string>>& spellings) {
    std::vector<std::string> terms;
    size_t i = 0;
    while (i < query.size()) {
        char c = query[i];
        if (static_cast<unsigned char>(c) <= 32) {
            ++i;
            continue;
        }
        if (c == '"') {
            size_t close = query.find('"', i + 1);
            std::string_view phrase = query.substr(i + 1, close == std::string_view::npos ? std::string_view::npos : close - i - 1);
            if (HasWordChar(phrase)) terms.push_back(EscapePhrase(phrase));
            i = close == std::string_view::npos ? query.size() : close + 1;
            continue;
        }
        size_t end = i;
        while (end < query.size() && static_cast<unsigned char>(query[end]) > 32 && query[end] != '"') ++end;
        std::string_view word = query.substr(i, end - i);
        i = end;
        if (!HasWordChar(word)) continue;
        std::vector<std::string> alternatives = {EscapePhrase(word)};
        auto known = spellings.find(SpellingKey(word));
        if (known != spellings.end())
            for (const auto& s : known->second) {
                std::string e = EscapePhrase(s);
                if (std::find(alternatives.begin(), alternatives.end(), e) == alternatives.end())
                    alternatives.push_back(e);
            }
        if (alternatives.size() == 1) {
            terms.push_back(alternatives[0]);
        } else {
            std::string t = "(";
            for (size_t k = 0; k < alternatives.size(); ++k) t += (k ? " OR " : "") + alternatives[k];
            terms.push_back(t + ")");
        }
    }
    std::string expr;
    for (const auto& t : terms) expr += (expr.empty() ? "" : " AND ") + t;
    return expr;
}

// ------------------------------------------------------------------ the index

TSearchIndex::TSearchIndex() = default;

TSearchIndex::~TSearchIndex() {
    WaitForBuild();
    Close();
}

void TSearchIndex::Close() {
    if (FDb) sqlite3_close(FDb);
    FDb = nullptr;
}

void TSearchIndex::WaitForBuild() {
    if (FThread.joinable()) FThread.join();
}

void TSearchIndex::StartBuild(TSearchSources sources) {
    WaitForBuild();
    FReady = false;
    FThread = std::thread([this, s = std::move(sources)]() mutable {
        try {
            Build(std::move(s));
        } catch (const std::exception&) {
            // Left unbuilt: every search then finds nothing.
            FReady = true;
        }
    });
}

void TSearchIndex::Build(TSearchSources sources) {
    FReady = false;
    Close();
    FSpellings.clear();
    FItems = std::move(sources);
    // Rows in kind order, each kind in book order: a kind is a run of rowids.
    std::stable_sort(FItems.begin(), FItems.end(), [](const TSearchItem& a, const TSearchItem& b) {
        return static_cast<int>(a.Kind) < static_cast<int>(b.Kind);
    });
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw EHalvoraError("Search index: cannot open an in-memory database");
    }
    FDb = db;
    // Sorting and temporary tables in memory too: nothing of the text goes to disk.
    Exec(db, "PRAGMA temp_store=MEMORY");
    RegisterTokenizer(db);
    Exec(db, "CREATE VIRTUAL TABLE units USING fts5(title, spellings, body, "
             "tokenize='porter halvora', detail=full)");
    Exec(db, "BEGIN");
    {
        TStatement insert(db, "INSERT INTO units(rowid, title, spellings, body) VALUES(?1, ?2, ?3, ?4)");
        FKindStart.fill(static_cast<int64_t>(FItems.size()) + 1);
        for (size_t r = FItems.size(); r-- > 0;) FKindStart[static_cast<size_t>(FItems[r].Kind)] = static_cast<int64_t>(r) + 1;
        FKindStart[kSearchKindCount] = static_cast<int64_t>(FItems.size()) + 1;
        for (int k = kSearchKindCount - 1; k >= 0; --k)
            FKindStart[static_cast<size_t>(k)] = std::min(FKindStart[static_cast<size_t>(k)], FKindStart[static_cast<size_t>(k) + 1]);
        for (size_t r = 0; r < FItems.size(); ++r) {
            TSearchItem& item = FItems[r];
            item.Group = AnsiToUtf8(item.Group);
            item.Title = AnsiToUtf8(item.Title);
            item.Spellings = AnsiToUtf8(item.Spellings);
            item.Text = AnsiToUtf8(item.Text);
            insert.Bind(1, static_cast<int64_t>(r) + 1);
            // A verse's reference and a story's prophet are not words to search.
            insert.Bind(2, item.Kind == TSearchKind::Quran || item.Kind == TSearchKind::Story ? std::string() : item.Title);
            insert.Bind(3, item.Spellings);
            insert.Bind(4, item.Text);
            insert.Step();
            insert.Reset();
            if (item.Kind == TSearchKind::Glossary) {
                std::vector<std::string> all = {item.Title};
                for (const auto& s : SplitTrimmed(item.Spellings, ","))
                    if (!s.empty()) all.push_back(s);
                for (const auto& s : all) {
                    auto& list = FSpellings[SpellingKey(s)];
                    for (const auto& x : all)
                        if (std::find(list.begin(), list.end(), x) == list.end()) list.push_back(x);
                }
            }
        }
    }
    Exec(db, "COMMIT");
    FSpellings.erase(std::string());
    FReady = true;
}

TSearchResults TSearchIndex::Search(std::string_view query, int limitPerKind) {
    WaitForBuild();
    TSearchResults results;
    std::string expr = BuildMatchExpression(query, FSpellings);
    if (expr.empty()) {
        results.EmptyQuery = true;
        return results;
    }
    if (!FDb) return results;
    const char mark[] = {kHitStart, 0};
    const char unmark[] = {kHitEnd, 0};
    TStatement count(FDb, "SELECT count(*) FROM units WHERE units MATCH ?1 AND rowid BETWEEN ?2 AND ?3");
    TStatement inOrder(FDb,
                       "SELECT rowid, highlight(units, 0, ?4, ?5), highlight(units, 1, ?4, ?5), "
                       "highlight(units, 2, ?4, ?5) FROM units WHERE units MATCH ?1 AND rowid BETWEEN ?2 AND ?3 "
                       "ORDER BY rowid LIMIT ?6");
    TStatement byRank(FDb,
                      "SELECT rowid, highlight(units, 0, ?4, ?5), highlight(units, 1, ?4, ?5), "
                      "highlight(units, 2, ?4, ?5) FROM units WHERE units MATCH ?1 AND rowid BETWEEN ?2 AND ?3 "
                      "ORDER BY bm25(units, 10.0, 10.0, 1.0), rowid LIMIT ?6");
    for (int k = 0; k < kSearchKindCount; ++k) {
        int64_t first = FKindStart[static_cast<size_t>(k)], last = FKindStart[static_cast<size_t>(k) + 1] - 1;
        if (first > last) continue;
        count.Bind(1, expr);
        count.Bind(2, first);
        count.Bind(3, last);
        if (count.Step()) results.Counts[static_cast<size_t>(k)] = static_cast<int>(count.Int(0));
        count.Reset();
        if (results.Counts[static_cast<size_t>(k)] == 0) continue;
        TStatement& rows = static_cast<TSearchKind>(k) == TSearchKind::Glossary ? byRank : inOrder;
        rows.Bind(1, expr);
        rows.Bind(2, first);
        rows.Bind(3, last);
        rows.Bind(4, std::string_view(mark));
        rows.Bind(5, std::string_view(unmark));
        rows.Bind(6, static_cast<int64_t>(limitPerKind));
        while (rows.Step()) {
            const TSearchItem& item = FItems[static_cast<size_t>(rows.Int(0) - 1)];
            TSearchHit hit{item.Kind, item.A, item.B, item.Group, item.Title, {}, {}, 0};
            std::string body = rows.Text(3);
            size_t at = body.find(kHitStart);
            if (at != std::string::npos) {
                hit.Snippet = SnippetAround(body, at);
                size_t end = body.find(kHitEnd, at);
                hit.HitText = body.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
                hit.Occurrence = CountBefore(item.Text, hit.HitText, at);
            } else {
                // Only the headword or a spelling matched: show those.
                std::string title = rows.Text(1), spellings = rows.Text(2);
                hit.Snippet = BalanceMarks(spellings.empty() ? title : title + " (" + spellings + ")");
                std::string source = title.find(kHitStart) != std::string::npos ? title : spellings;
                size_t s = source.find(kHitStart), e = source.find(kHitEnd);
                if (s != std::string::npos && e != std::string::npos && e > s)
                    hit.HitText = source.substr(s + 1, e - s - 1);
            }
            results.Hits.push_back(std::move(hit));
        }
        rows.Reset();
    }
    return results;
}
