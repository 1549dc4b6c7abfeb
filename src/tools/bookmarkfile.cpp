#include "tools/bookmarkfile.h"

#include "storage/cipher.h"
#include "util/fileutils.h"

#include <cerrno>
#include <sys/stat.h>

const char* const TypeNames[kBookmarkTypeCount] = {"Sub-Topic", "Qur'an Excerpt", "Commentary",
                                                     "Glossary Term", "Search Term"};

namespace {

const char* const kSeparator = "||";

std::string LineError(int line, const std::string& fileName, const std::string& why) {
    return "Line " + std::to_string(line + 1) + " of the bookmark file \"" + fileName +
           "\" is not a bookmark: " + why;
}

} // namespace

int FurtherFieldCount(int32_t type) {
    switch (type) {
    case btSubTopic:
    case btExcerpt:
    case btGlossaryTerm:
        return 1;
    case btSearchTerm:
        return 3;
    default:
        return 0;
    }
}

std::string BookmarkFieldText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '|' || out.empty() || out.back() != '|') out += c;
    std::string t = Trim(out);
    while (!t.empty() && t.front() == '|') t = Trim(t.substr(1));
    while (!t.empty() && t.back() == '|') t = Trim(t.substr(0, t.size() - 1));
    return t;
}

std::string FormatBookmarkRecord(const TBookmark& b) {
    std::string r = std::to_string(b.Type) + kSeparator + BookmarkFieldText(b.Name) + kSeparator +
                    BookmarkFieldText(b.Description) + kSeparator;
    const int n = FurtherFieldCount(b.Type);
    for (int i = 0; i < n; ++i) {
        if (i > 0) r += kSeparator;
        if (size_t(i) < b.Fields.size()) r += BookmarkFieldText(b.Fields[size_t(i)]);
    }
    return r;
}

TBookmark ParseBookmarkRecord(std::string_view record) {
    TStringList fields;
    size_t from = 0;
    for (;;) {
        size_t at = record.find(kSeparator, from);
        fields.push_back(Trim(record.substr(from, at == std::string_view::npos ? at : at - from)));
        if (at == std::string_view::npos) break;
        from = at + 2;
    }
    TBookmark b;
    if (!TryStrToInt(fields[0], b.Type) || b.Type < 0 || b.Type >= kBookmarkTypeCount)
        throw EBookmarkFileError("its type \"" + fields[0] + "\" is not a number from 0 to 4.");
    const size_t needed = 3 + size_t(FurtherFieldCount(b.Type));
    if (fields.size() < needed)
        throw EBookmarkFileError("a " + std::string(TypeNames[b.Type]) + " bookmark has " +
                                 std::to_string(needed) + " fields, this one " +
                                 std::to_string(fields.size()) + ".");
    b.Name = fields[1];
    b.Description = fields[2];
    b.Fields.assign(fields.begin() + 3, fields.begin() + std::ptrdiff_t(needed));
    return b;
}

TBookmarkReadResult ReadBookmarkFile(const std::string& fileName,
                                     const std::function<void()>& beforeEachLine) {
    TBookmarkReadResult r;
    struct stat st {};
    if (stat(fileName.c_str(), &st) != 0 && errno == ENOENT) {
        r.Missing = true;
        r.Complete = true;
        return r;
    }
    if (int64_t(st.st_size) > kMaxBookmarkFileBytes) {
        r.Error = "The file \"" + fileName + "\" is too large to be a bookmark file.";
        return r;
    }
    std::string bytes;
    // Only a regular file: opening a pipe or a device could wait for ever.
    if (!S_ISREG(st.st_mode) || !ReadFileBytes(fileName, bytes)) {
        r.Error = "The bookmark file \"" + fileName + "\" cannot be read.";
        return r;
    }
    const TStringList lines = SplitLines(bytes);
    for (size_t k = 0; k < lines.size(); ++k) {
        if (beforeEachLine) beforeEachLine();
        try {
            r.Bookmarks.push_back(ParseBookmarkRecord(DecipherText(lines[k], int32_t(k))));
        } catch (const EHalvoraError& e) {
            r.Error = LineError(int(k), fileName, e.what());
            return r;
        }
    }
    r.Complete = true;
    return r;
}

void WriteBookmarkFile(const std::string& fileName, const std::vector<TBookmark>& bookmarks) {
    TAtomicFileWriter w(fileName);
    for (size_t k = 0; k < bookmarks.size(); ++k) {
        w.Write(EncipherText(FormatBookmarkRecord(bookmarks[k]), int32_t(k)));
        w.Write("\r\n");
    }
    w.Commit();
}
