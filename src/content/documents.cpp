#include "content/documents.h"

#include "platform/uihooks.h"

#include "storage/cipher.h"
#include "storage/modules.h"
#include "util/errors.h"
#include "util/fileutils.h"

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>
#include <utility>

const char* const kBuiltInDocuments[3] = {"Introduction.dbi", "SoftFeat.dbi", "Distribution.dbi"};

namespace {

// Header markers; each field runs from its start marker to the first end
// marker of the line.
const char* const kSigOpen = "<<CRCSL3:";
const char* const kSigClose = ">>+";
const char* const kNameOpen = "<<N:";
const char* const kNameClose = ">>";
const char* const kTitleOpen = "|<<T:";
const char* const kTitleClose = ">>+";
const char* const kPriorityOpen = "<<SORT_PRIORITY:";
const char* const kPriorityClose = ">>|<<";
const char* const kPLOpen = "<<PL:";
const char* const kPLClose = ">>|<<WORDHL:";
const char* const kWordHLOpen = "<<WORDHL:";
const char* const kWordHLClose = ">>|<<FONT:";
const char* const kFontOpen = "<<FONT:";
const char* const kFontClose = ">>+";
const char* const kDescOpen = "<<D:";
const char* const kDescClose = ">>";

TMainDocHooks& Hooks() {
    static TMainDocHooks hooks;
    return hooks;
}

void Pause(int ms) {
    if (Hooks().Pause)
        Hooks().Pause(ms);
    else
        PauseResponsive(ms);
}

bool IsTrueFlag(std::string_view value) { return SameTextTrimmed(value, "TRUE"); }

// The stored bytes of lines as a file holds them: each line and CR LF.
std::string StoredBytes(const TStringList& lines, size_t from) {
    std::string bytes;
    for (size_t i = from; i < lines.size(); ++i) {
        bytes += lines[i];
        bytes += "\r\n";
    }
    return bytes;
}

std::string BytesSignature(const std::string& bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes at most 4 GiB a call; a document is far below that.
    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
    return SignatureText(static_cast<uint32_t>(crc), bytes.size());
}

// A field is present when both markers are there and the end marker comes
// after the start marker's text (the reader takes the first end marker).
bool HasField(std::string_view line, std::string_view open, std::string_view close) {
    size_t a = line.find(open);
    size_t b = line.find(close);
    return a != std::string_view::npos && b != std::string_view::npos && a + open.size() <= b;
}

} // namespace

TMainDocHooks SetMainDocHooks(TMainDocHooks hooks) { return std::exchange(Hooks(), std::move(hooks)); }

// ---------------------------------------------------------------------------
// TMainDoc

TMainDoc::TMainDoc(const std::string& fileName) : FileName(fileName) {
    try {
        Load();
    } catch (const std::exception&) {
        Valid = false;
    }
}

void TMainDoc::Load() {
    Valid = false;
    if (FileByteCount(FileName) < 0) return;
    try {
        TStringList lines;
        if (!ReadFileLines(FileName, lines)) return;
        if (lines.size() < static_cast<size_t>(kMainDocHeaderLines)) return;

        int64_t headerSize = 0;
        for (int i = 0; i < kMainDocHeaderLines; ++i)
            headerSize += static_cast<int64_t>(lines[i].size()) + 2;
        if (headerSize > INT32_MAX) return;
        HeaderSize = static_cast<int32_t>(headerSize);

        for (int i = 0; i < kMainDocHeaderLines; ++i) lines[i] = DecipherText(lines[i], i);

        ExpectedSignature = TextBetween(lines[0], kSigOpen, kSigClose);
        DocName = TextBetween(lines[1], kNameOpen, kNameClose);
        Title = TextBetween(lines[1], kTitleOpen, kTitleClose);
        int32_t priority;
        SortPriority = TryStrToInt(TextBetween(lines[2], kPriorityOpen, kPriorityClose), priority)
                           ? priority
                           : 100;
        PLFlag = IsTrueFlag(TextBetween(lines[2], kPLOpen, kPLClose));
        WordHighlight = IsTrueFlag(TextBetween(lines[2], kWordHLOpen, kWordHLClose));
        DocFontTag = "<FONT " + TextBetween(lines[2], kFontOpen, kFontClose) + ">";
        Description = TextBetween(lines[3], kDescOpen, kDescClose);

        bool valid = Verify();

        TStringList body(lines.begin() + kMainDocHeaderLines, lines.end());
        for (size_t j = 0; j < body.size(); ++j) body[j] = DecipherText(body[j], static_cast<int32_t>(j));
        Body = std::move(body);
        Valid = valid;
    } catch (const std::exception&) {
        Valid = false;
    }
}

bool TMainDoc::Verify() {
    std::string actual;
    // A file cut short since loading no longer reaches past its header.
    int64_t size = FileByteCount(FileName);
    if (size >= HeaderSize) actual = FileSignature(FileName, HeaderSize);
    if (Hooks().ShowItemText)
        Hooks().ShowItemText(actual);
    else
        ShowVerifyItemText(actual);
    // An unreadable file has the empty signature; it never passes, even
    // against a header that carries none.
    return !actual.empty() && actual == ExpectedSignature;
}

std::string TMainDoc::BodyText() const { return StoredBytes(Body, 0); }

// ---------------------------------------------------------------------------
// TMainDocManager

void TMainDocManager::Add(std::unique_ptr<TMainDoc> doc) {
    if (doc) FDocs.push_back(std::move(doc));
}

bool TMainDocManager::ContainsDoc(const TMainDoc& doc) const { return IndexOfName(doc.DocName) >= 0; }

int TMainDocManager::IndexOfName(std::string_view name) const {
    for (size_t i = 0; i < FDocs.size(); ++i)
        if (SameTextTrimmed(FDocs[i]->DocName, name)) return static_cast<int>(i);
    return -1;
}

void TMainDocManager::LoadAll() {
    TStringList names;
    ListFolder(ProgramFolder() + "*.dbi", faReadOnly | faHidden | faSysFile | faArchive, names);
    for (const auto& name : names) {
        std::string path = ProgramFolder() + name;
        // Only regular files: reading a pipe or device would block or never end.
        if (FileByteCount(path) < 0) {
            FSkipped.push_back(name + ": not a plain file");
            continue;
        }
        try {
            auto doc = std::make_unique<TMainDoc>(path);
            if (!doc->Valid)
                FSkipped.push_back(name + ": damaged or incomplete");
            else if (ContainsDoc(*doc))
                FSkipped.push_back(name + ": the link name " + doc->DocName + " is already listed");
            else
                Add(std::move(doc));
        } catch (const std::exception& e) {
            FSkipped.push_back(name + ": " + e.what());
        }
    }
    // Stable, so documents of equal priority keep the order they came in.
    std::stable_sort(FDocs.begin(), FDocs.end(), [](const auto& a, const auto& b) {
        return a->SortPriority < b->SortPriority;
    });
}

TMainDoc& TMainDocManager::Items(int index) const {
    if (index < 0 || index >= Count()) throw ERangeError("List index out of bounds (" + std::to_string(index) + ")");
    return *FDocs[static_cast<size_t>(index)];
}

bool TMainDocManager::Verify() {
    for (auto& doc : FDocs) {
        doc->Verify();
        Pause(200);
    }
    return true;
}

void OpenBuiltInDocuments(TMainDocManager& manager) {
    for (const char* name : kBuiltInDocuments) {
        auto doc = std::make_unique<TMainDoc>(ProgramFolder() + name);
        if (!doc->Valid) FatalVerificationFailure();
        doc->MarkBuiltIn();
        manager.Add(std::move(doc));
    }
}

// ---------------------------------------------------------------------------
// Placeholders

std::string MainDocProgramFile() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::string name = ec ? std::string("halvora") : exe.filename().string();
    return ProgramFolder() + name;
}

std::string ExpandPlaceholders(std::string_view text, std::string_view versionText) {
    std::string out = ReplaceAll(text, "<VER>", versionText);
    if (out.find("<APP_IMG>") != std::string::npos)
        out = ReplaceAll(out, "<APP_IMG>", "res://" + MainDocProgramFile());
    return out;
}

// ---------------------------------------------------------------------------
// Authoring

TStringList CheckDocumentSource(const TStringList& plain) {
    TStringList problems;
    auto problem = [&](size_t index, const std::string& text) {
        problems.push_back("line " + std::to_string(index + 1) + ": " + text);
    };
    if (plain.size() < static_cast<size_t>(kMainDocHeaderLines)) {
        problem(plain.size(), "the header ends here; it needs " + std::to_string(kMainDocHeaderLines) +
                                  " lines before the body");
    }
    struct Field {
        size_t line;
        const char* open;
        const char* close;
        const char* what;
    };
    const Field fields[] = {
        {0, kSigOpen, kSigClose, "signature"},
        {1, kNameOpen, kNameClose, "link name"},
        {1, kTitleOpen, kTitleClose, "title"},
        {2, kPriorityOpen, kPriorityClose, "sort priority"},
        {2, kPLOpen, kPLClose, "PL flag"},
        {2, kWordHLOpen, kWordHLClose, "WORDHL flag"},
        {2, kFontOpen, kFontClose, "font"},
        {3, kDescOpen, kDescClose, "description"},
    };
    for (const auto& f : fields) {
        if (f.line >= plain.size()) continue;
        if (!HasField(plain[f.line], f.open, f.close))
            problem(f.line, std::string("no ") + f.what + " field (\"" + f.open + "\" ... \"" + f.close + "\")");
    }
    if (plain.size() > 1 && HasField(plain[1], kNameOpen, kNameClose)) {
        std::string name = TextBetween(plain[1], kNameOpen, kNameClose);
        if (Trim(name).empty())
            problem(1, "the link name is empty");
        else if (name.find("MDOC_") == std::string::npos)
            problem(1, "the link name " + name + " does not contain \"MDOC_\"; no page link could reach it");
    }
    if (plain.size() > 2) {
        const std::string& line = plain[2];
        int32_t priority;
        if (HasField(line, kPriorityOpen, kPriorityClose) &&
            !TryStrToInt(TextBetween(line, kPriorityOpen, kPriorityClose), priority))
            problem(2, "the sort priority is not a whole number");
        for (auto [open, close] : {std::pair{kPLOpen, kPLClose}, std::pair{kWordHLOpen, kWordHLClose}}) {
            if (!HasField(line, open, close)) continue;
            std::string v = TextBetween(line, open, close);
            if (!SameTextTrimmed(v, "TRUE") && !SameTextTrimmed(v, "FALSE"))
                problem(2, std::string("the ") + std::string(open).substr(2) + " value \"" + v +
                               "\" is neither TRUE nor FALSE");
        }
    }
    return problems;
}

TStringList PackMainDocument(const TStringList& plain) {
    TStringList problems = CheckDocumentSource(plain);
    if (!problems.empty()) {
        std::string msg = "The document source is not well-formed:";
        for (const auto& p : problems) msg += "\n" + p;
        throw EConvertError(msg);
    }
    TStringList stored(plain);
    for (size_t j = kMainDocHeaderLines; j < stored.size(); ++j)
        stored[j] = EncipherText(plain[j], static_cast<int32_t>(j - kMainDocHeaderLines));
    std::string sig = BytesSignature(StoredBytes(stored, kMainDocHeaderLines));

    // The reader takes the text between the start marker and the first end
    // marker of the line: put the signature exactly there.
    std::string& line0 = stored[0];
    size_t start = line0.find(kSigOpen) + std::string_view(kSigOpen).size();
    size_t end = line0.find(kSigClose);
    line0 = line0.substr(0, start) + sig + line0.substr(end);

    for (int i = 0; i < kMainDocHeaderLines; ++i) stored[i] = EncipherText(stored[i], i);
    return stored;
}

void WriteMainDocument(const std::string& fileName, const TStringList& plain) {
    WriteFileLines(fileName, PackMainDocument(plain));
}
