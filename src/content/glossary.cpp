#include "content/glossary.h"

#include "storage/cipher.h"
#include "storage/modules.h"
#include "util/errors.h"
#include "util/fileutils.h"

#include <map>
#include <utility>

namespace {

const char* const kTermMarker = "<<T:";
const char* const kAltMarker = "|<<O:";
const char* const kPreferredMarker = "<<RW:";
const char* const kAltPreferredJoin = ">>|<<RW:";
const char* const kPMarker = "[P]";

bool IsTermLine(std::string_view line) { return line.find(kTermMarker) != std::string_view::npos; }

// Every comma followed by exactly one space.
std::string NormaliseCommas(std::string_view text) {
    std::string s = ReplaceAll(text, ",  ", ",");
    s = ReplaceAll(s, ", ", ",");
    return ReplaceAll(s, ",", ", ");
}

TGlossaryTerm ReadTermLine(std::string line) {
    TGlossaryTerm t;
    t.Term = NormaliseCommas(TextBetween(line, kTermMarker, ">>"));
    t.PFlag = line.find(kPMarker) != std::string::npos;
    if (t.PFlag) line = RemoveAll(line, kPMarker);
    if (line.find(kPreferredMarker) != std::string::npos) {
        t.AltSpellings = TextBetween(line, kAltMarker, kAltPreferredJoin);
        t.PreferredSpellings = RemoveAll(TextAfter(line, kAltPreferredJoin), ">>");
    } else {
        t.AltSpellings = RemoveAll(TextAfter(line, kAltMarker), ">>");
    }
    return t;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Why a term line is not of the form
// "<<T:" headword ">>|<<O:" alternates ">>" ["|<<RW:" preferred ">>"], with
// "[P]" anywhere; empty when it is.
std::string TermLineProblem(std::string_view line) {
    if (TextBetween(line, kTermMarker, ">>").find(kPMarker) != std::string::npos)
        return "the marker \"[P]\" stands inside the headword";
    std::string s = Trim(RemoveAll(line, kPMarker));
    if (!StartsWith(s, kTermMarker)) return "a term line must start with \"<<T:\"";
    size_t end = s.find(">>", 4);
    if (end == std::string::npos) return "the headword has no closing \">>\"";
    if (Trim(s.substr(4, end - 4)).empty()) return "the headword is empty";
    std::string rest = s.substr(end + 2);
    if (!StartsWith(rest, kAltMarker)) return "no \"|<<O:\" field after the headword";
    rest = rest.substr(5);
    end = rest.find(">>");
    if (end == std::string::npos) return "the alternate spellings have no closing \">>\"";
    rest = rest.substr(end + 2);
    if (rest.empty()) return {};
    if (!StartsWith(rest, "|<<RW:")) return "unexpected text after the alternate spellings: " + rest;
    rest = rest.substr(6);
    end = rest.find(">>");
    if (end == std::string::npos || end + 2 != rest.size())
        return "the preferred spellings must end the line with \">>\"";
    return {};
}

} // namespace

int GlossaryTableSize(int lineCount) {
    if (lineCount <= 0) return 0;
    int half = lineCount / 2;
    if (lineCount % 2 == 0) return half;
    return half % 2 == 0 ? half : half + 1;
}

TGlossaryHelper::TGlossaryHelper(std::string fileName, std::string expectedSignature)
    : FileName(std::move(fileName)), FExpectedSignature(std::move(expectedSignature)) {}

void TGlossaryHelper::Load() {
    TStringList lines;
    // Plain files only: a pipe or device would block the reader.
    if (FileByteCount(FileName) < 0 || !ReadFileLines(FileName, lines))
        throw EInOutError("Cannot open file \"" + FileName + "\"");

    std::vector<TGlossaryTerm> terms(static_cast<size_t>(GlossaryTableSize(static_cast<int>(lines.size()))));
    std::vector<int> skipped;
    size_t n = 0;
    // The entry that meaning lines belong to; -1 before the first term line
    // and after a term line the table has no room for, so that a stray
    // meaning never overwrites another entry's.
    int current = -1;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = DecipherText(lines[i], static_cast<int32_t>(i));
        if (!IsTermLine(line)) {
            if (current >= 0)
                terms[static_cast<size_t>(current)].Meaning = std::move(line);
            else
                skipped.push_back(static_cast<int>(i));
            continue;
        }
        if (n >= terms.size()) {
            skipped.push_back(static_cast<int>(i));
            current = -1;
            continue;
        }
        terms[n] = ReadTermLine(std::move(line));
        current = static_cast<int>(n);
        ++n;
    }
    Terms = std::move(terms);
    FSkippedLines = std::move(skipped);
    Loaded = true;
}

bool TGlossaryHelper::EnsureLoaded() {
    if (Loaded) return true;
    try {
        Load();
    } catch (const std::exception&) {
        // The verification reports a missing or damaged glossary; a look-up
        // simply finds nothing.
        return false;
    }
    return Loaded;
}

bool TGlossaryHelper::Verify() {
    std::string actual = FileSignature(FileName);
    // A missing file has the empty signature: it fails even an empty expectation.
    bool ok = !actual.empty() && actual == FExpectedSignature;
    if (!ok) FatalVerificationFailure();
    return ok;
}

void TGlossaryHelper::FillTerms(TStringList& list) const {
    list.clear();
    list.reserve(Terms.size());
    for (const auto& t : Terms) list.push_back(t.Term);
}

TGlossaryTerm TGlossaryHelper::GetTerm(int index) const {
    if (index < 0 || index >= Count())
        throw ERangeError("Glossary index out of bounds (" + std::to_string(index) + ")");
    return Terms[static_cast<size_t>(index)];
}

int TGlossaryHelper::FindTerm(std::string_view word) {
    if (!EnsureLoaded()) return -1;
    // An empty word would name the empty entries at the end of the table.
    if (Trim(word).empty()) return -1;
    std::string upper = UpperCase(word);
    for (size_t i = 0; i < Terms.size(); ++i) {
        const TGlossaryTerm& t = Terms[i];
        if (t.Term == word || UpperCase(t.Term) == upper ||
            (!t.AltSpellings.empty() && IndexOfSameText(SplitCommas(t.AltSpellings), word) >= 0))
            return static_cast<int>(i);
    }
    return -1;
}

int TGlossaryHelper::LookupWord(std::string_view word) {
    std::string w = Trim(word);
    if (w.empty()) return -1;
    if (!EnsureLoaded()) return -1;
    if (w.find("'s") != std::string::npos) w = RemoveAll(w, "'s");
    int i = FindTerm(w);
    if (i != -1) return i;
    char last = LastChar(w);
    if (last == 's' || last == 'S') return FindTerm(std::string_view(w).substr(0, w.size() - 1));
    return -1;
}

TProperSpelling TGlossaryHelper::ProperSpelling(std::string_view word, bool usePreferred) {
    TProperSpelling r;
    int i = FindTerm(word);
    if (i < 0) {
        r.Spelling = std::string(word);
        return r;
    }
    const TGlossaryTerm& t = Terms[static_cast<size_t>(i)];
    r.Spelling = t.Term;
    if (usePreferred && !t.PreferredSpellings.empty()) {
        r.PreferredUsed = true;
        size_t comma = t.PreferredSpellings.find(',');
        r.Spelling = comma == std::string::npos ? t.PreferredSpellings : t.PreferredSpellings.substr(0, comma);
    }
    return r;
}

std::string TGlossaryHelper::TermPage(int index, uint32_t colour) const {
    TGlossaryTerm t = GetTerm(index);
    TStringList lines;
    lines.push_back(FontTag("Verdana", "2", HtmlColor(colour)));
    lines.push_back("<B>" + t.Term + "</B>");
    lines.push_back("<HR NOSHADE COLOR=Silver SIZE=1");
    lines.push_back("</FONT>");
    if (!t.AltSpellings.empty()) {
        lines.push_back(FontTag("Verdana", "1", "Black"));
        lines.push_back("<B>Alternate Spellings</B><BR>");
        lines.push_back("</FONT>");
        lines.push_back("<I>" + t.AltSpellings + "</I>" + "<BR><BR>");
    }
    lines.push_back(FontTag("Verdana", "1", "Black"));
    lines.push_back("<BB><B>Meaning</B></BB><BR><BR>");
    lines.push_back(t.Meaning);
    lines.push_back("</FONT>");
    std::string page;
    for (const auto& l : lines) page += l + "\r\n";
    return page;
}

// ---------------------------------------------------------------------------
// Authoring

TStringList CheckGlossarySource(const TStringList& plain) {
    TStringList problems;
    auto problem = [&](size_t index, const std::string& text) {
        problems.push_back("line " + std::to_string(index + 1) + ": " + text);
    };
    if (plain.empty()) problem(0, "the glossary is empty");
    std::map<std::string, size_t> headwords; // upper-case headword -> line
    long lastTerm = -1;
    bool haveMeaning = false;
    for (size_t i = 0; i < plain.size(); ++i) {
        const std::string& line = plain[i];
        if (IsTermLine(line)) {
            if (lastTerm >= 0 && !haveMeaning)
                problem(static_cast<size_t>(lastTerm), "the term has no meaning line after it");
            std::string why = TermLineProblem(line);
            if (!why.empty()) {
                problem(i, why);
            } else {
                std::string key = UpperCase(NormaliseCommas(TextBetween(line, kTermMarker, ">>")));
                auto [it, fresh] = headwords.emplace(key, i);
                if (!fresh)
                    problem(i, "the headword is already on line " + std::to_string(it->second + 1) +
                                   "; this entry could never be found");
            }
            lastTerm = static_cast<long>(i);
            haveMeaning = false;
            continue;
        }
        if (StartsWith(Trim(line), "<<") && line.find(kAltMarker) != std::string::npos)
            problem(i, "looks like a term line but has no \"<<T:\"");
        else if (lastTerm < 0)
            problem(i, "a meaning line with no term line above it");
        else if (haveMeaning)
            problem(i, "a second meaning line for the term of line " + std::to_string(lastTerm + 1) +
                           "; it would replace the first");
        else if (Trim(line).empty())
            problem(i, "the meaning is empty");
        haveMeaning = true;
    }
    if (lastTerm >= 0 && !haveMeaning)
        problem(static_cast<size_t>(lastTerm), "the term has no meaning line after it");
    return problems;
}

TStringList PackGlossary(const TStringList& plain) {
    TStringList problems = CheckGlossarySource(plain);
    if (!problems.empty()) {
        std::string msg = "The glossary source is not well-formed:";
        for (const auto& p : problems) msg += "\n" + p;
        throw EConvertError(msg);
    }
    TStringList stored(plain);
    EncipherLines(stored);
    return stored;
}

void WriteGlossary(const std::string& fileName, const TStringList& plain) {
    WriteFileLines(fileName, PackGlossary(plain));
}
