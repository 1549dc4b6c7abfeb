#include "util/strutils.h"

#include "util/errors.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>


namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

char UpAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char LowAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

TSystemColorResolver gColorResolver = nullptr;

} // namespace

bool Contains(std::string_view sub, std::string_view text) {
    return !sub.empty() && text.find(sub) != std::string_view::npos;
}

int PosFrom(std::string_view sub, std::string_view text, int start) {
    if (sub.empty() || text.empty()) return 0;
    if (start < 1) start = 1;
    if (static_cast<size_t>(start) > text.size()) return 0;
    size_t p = text.find(sub, static_cast<size_t>(start - 1));
    return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

int Pos(std::string_view sub, std::string_view text) { return PosFrom(sub, text, 1); }

int FindWholeWord(std::string_view word, std::string_view text, bool caseSensitive) {
    if (word.empty()) return -1;
    std::string w(word), t(text);
    if (!caseSensitive) {
        w = UpperCase(w);
        t = UpperCase(t);
    }
    std::string_view rest(t);
    int offset = 0;
    for (;;) {
        size_t p = rest.find(w);
        if (p == std::string_view::npos) return -1;
        bool beforeOk = p == 0 || IsWordDelimiter(rest[p - 1]);
        size_t after = p + w.size();
        bool afterOk = after >= rest.size() || IsWordDelimiter(rest[after]);
        if (beforeOk && afterOk) return offset + static_cast<int>(p);
        rest = rest.substr(after);
        offset += static_cast<int>(after);
    }
}

int FindFrom(std::string_view word, std::string_view text, int start, bool wholeWord,
             bool caseSensitive) {
    if (start < 0) start = 0;
    if (static_cast<size_t>(start) >= text.size()) return -1;
    std::string_view tail = text.substr(static_cast<size_t>(start));
    int found;
    if (wholeWord) {
        found = FindWholeWord(word, tail, caseSensitive);
    } else if (word.empty()) {
        found = -1;
    } else if (caseSensitive) {
        size_t p = tail.find(word);
        found = p == std::string_view::npos ? -1 : static_cast<int>(p);
    } else {
        std::string w = UpperCase(word), t = UpperCase(tail);
        size_t p = t.find(w);
        found = p == std::string::npos ? -1 : static_cast<int>(p);
    }
    return found < 0 ? -1 : start + found;
}

bool IsWordDelimiter(char c) {
    if (static_cast<unsigned char>(c) <= 32) return true;
    static constexpr std::string_view kDelims = " .?!-+=(){}[]<>,'\";:\\/";
    return kDelims.find(c) != std::string_view::npos;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpAscii(a[i]) != UpAscii(b[i])) return false;
    return true;
}

bool SameTextTrimmed(std::string_view a, std::string_view b) { return SameText(Trim(a), Trim(b)); }

bool IsYes(std::string_view text) { return text == "Y"; }

int IndexOfSameText(const TStringList& list, std::string_view text) {
    for (size_t i = 0; i < list.size(); ++i)
        if (SameTextTrimmed(list[i], text)) return static_cast<int>(i);
    return -1;
}

std::string TextBefore(std::string_view text, std::string_view sep) {
    size_t p = sep.empty() ? std::string_view::npos : text.find(sep);
    return p == std::string_view::npos ? std::string() : std::string(text.substr(0, p));
}

std::string TextAfter(std::string_view text, std::string_view sep) {
    size_t p = sep.empty() ? std::string_view::npos : text.find(sep);
    return p == std::string_view::npos ? std::string() : std::string(text.substr(p + sep.size()));
}

std::string TextBetween(std::string_view text, std::string_view open, std::string_view close) {
    if (open.empty() || close.empty()) return {};
    size_t a = text.find(open);
    size_t b = text.find(close);
    if (a == std::string_view::npos || b == std::string_view::npos || a >= b) return {};
    size_t start = a + open.size();
    if (start >= b) return {};
    return std::string(text.substr(start, b - start));
}

char FirstChar(std::string_view text) { return text.empty() ? '\0' : text.front(); }
char LastChar(std::string_view text) { return text.empty() ? '\0' : text.back(); }

std::string ReplaceAll(std::string_view text, std::string_view oldText, std::string_view newText) {
    if (oldText.empty()) return std::string(text);
    std::vector<size_t> hits;
    for (size_t p = text.find(oldText); p != std::string_view::npos;
         p = text.find(oldText, p + oldText.size()))
        hits.push_back(p);
    if (hits.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size() + hits.size() * newText.size() - hits.size() * oldText.size());
    size_t from = 0;
    for (size_t p : hits) {
        out.append(text.substr(from, p - from));
        out.append(newText);
        from = p + oldText.size();
    }
    out.append(text.substr(from));
    return out;
}

std::string RemoveAll(std::string_view text, std::string_view sub) { return ReplaceAll(text, sub, ""); }

std::string ReverseText(std::string_view text) {
    std::string r(text.rbegin(), text.rend());
    for (size_t i = 0; i + 1 < r.size(); ++i) {
        if (r[i] == '\n' && r[i + 1] == '\r') {
            r[i] = '\r';
            r[i + 1] = '\n';
            ++i;
        }
    }
    return r;
}

std::string QuoteText(std::string_view text) {
    if (text.empty()) return "\"\"";
    std::string r(text);
    if (r.front() != '"') r.insert(r.begin(), '"');
    if (r.size() < 2 || r.back() != '"') r.push_back('"');
    return r;
}

std::string DoubleQuoted(std::string_view text) {
    std::string r;
    r.reserve(text.size() + 2);
    r.push_back('"');
    r.append(text);
    r.push_back('"');
    return r;
}

std::string PadLeft(std::string_view text, int width, char pad) {
    std::string_view t = text;
    while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
    std::string r(t);
    int len = static_cast<int>(text.size());
    if (width > len) {
        int w = std::min(width, 256);
        if (w > len) r.insert(0, static_cast<size_t>(w - len), pad);
    }
    if (width >= 0 && width < static_cast<int>(r.size())) r.resize(static_cast<size_t>(width));
    return r;
}

std::string ZeroPad(int value, int width) { return PadLeft(std::to_string(value), width, '0'); }

TStringList SplitLines(std::string_view text) {
    TStringList lines;
    size_t i = 0, n = text.size();
    while (i < n) {
        size_t j = i;
        while (j < n && text[j] != '\r' && text[j] != '\n') ++j;
        lines.emplace_back(text.substr(i, j - i));
        if (j < n && text[j] == '\r' && j + 1 < n && text[j + 1] == '\n')
            i = j + 2;
        else
            i = j + 1;
    }
    return lines;
}

TStringList SplitToList(std::string_view text, std::string_view delimiter) {
    TStringList lines = SplitLines(text);
    std::string joined;
    for (const auto& l : lines) {
        joined += l;
        joined += "\r\n";
    }
    if (!delimiter.empty()) joined = ReplaceAll(joined, delimiter, "\r\n");
    return SplitLines(joined);
}

TStringList SplitTrimmed(std::string_view text, std::string_view delimiter) {
    TStringList list = SplitToList(text, delimiter);
    TrimAllItems(list);
    return list;
}

TStringList SplitCommas(std::string_view text) { return SplitTrimmed(text, ","); }

void TrimAllItems(TStringList& list) {
    for (auto& s : list) s = Trim(s);
}

bool TryStrToInt(std::string_view text, int32_t& value) {
    std::string t = Trim(text);
    if (t.empty()) return false;
    size_t i = 0;
    bool neg = false;
    if (t[i] == '+' || t[i] == '-') {
        neg = t[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < t.size() && t[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size()) return false;
    int64_t v = 0;
    for (; i < t.size(); ++i) {
        char c = t[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v * base + d;
        // Hexadecimal may fill all 32 bits; decimal must fit the signed range.
        if (v > (base == 16 ? int64_t(0xFFFFFFFF) : int64_t(INT32_MAX) + 1)) return false;
    }
    if (base == 16) {
        int32_t r = static_cast<int32_t>(static_cast<uint32_t>(v));
        value = neg ? -r : r;
        return true;
    }
    if (neg) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return false;
    value = static_cast<int32_t>(v);
    return true;
}

int32_t StrToInt(std::string_view text) {
    int32_t v;
    if (!TryStrToInt(text, v))
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return v;
}

bool IsInteger(std::string_view text) {
    int32_t v;
    return TryStrToInt(text, v);
}

std::string DigitChar(int d) {
    if (d >= 0 && d <= 9) return std::string(1, static_cast<char>('0' + d));
    if (d >= 10 && d <= 35) return std::string(1, static_cast<char>('A' + d - 10));
    return {};
}

std::string ToBase(int base, uint32_t value) {
    if (base < 2 || base > 36) return {};
    std::string r;
    while (value != 0) {
        r += DigitChar(static_cast<int>(value % static_cast<uint32_t>(base)));
        value /= static_cast<uint32_t>(base);
    }
    std::reverse(r.begin(), r.end());
    return r;
}

int CompareInt(int a, int b) { return a == b ? 0 : (a < b ? -1 : 1); }

int Negate(int value) { return value == 0 ? 0 : -value; }

std::string Trim(std::string_view text) {
    size_t a = 0, b = text.size();
    while (a < b && IsBlank(text[a])) ++a;
    while (b > a && IsBlank(text[b - 1])) --b;
    return std::string(text.substr(a, b - a));
}

std::string TrimLeft(std::string_view text) {
    size_t a = 0;
    while (a < text.size() && IsBlank(text[a])) ++a;
    return std::string(text.substr(a));
}

std::string TrimRight(std::string_view text) {
    size_t b = text.size();
    while (b > 0 && IsBlank(text[b - 1])) --b;
    return std::string(text.substr(0, b));
}

std::string UpperCase(std::string_view text) {
    std::string r(text);
    for (auto& c : r) c = UpAscii(c);
    return r;
}

std::string LowerCase(std::string_view text) {
    std::string r(text);
    for (auto& c : r) c = LowAscii(c);
    return r;
}

std::string FontTag(std::string_view face, std::string_view size, std::string_view color) {
    std::string r = "<FONT FACE=\"";
    r += face;
    r += "\" SIZE=\"";
    r += size;
    r += "\" COLOR=\"";
    r += color;
    r += "\">";
    return r;
}

void SetSystemColorResolver(TSystemColorResolver resolver) { gColorResolver = resolver; }

std::string HtmlColor(uint32_t color) {
    if ((color & 0xFF000000u) != 0 && gColorResolver) color = gColorResolver(color);
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF,
                  (color >> 16) & 0xFF);
    return buf;
}

