#include "content/quran.h"

#include "platform/resources.h"
#include "platform/uihooks.h"
#include "shell/appbase.h"
#include "storage/cipher.h"
#include "storage/modules.h"
#include "storage/tree.h"
#include "util/errors.h"
#include "util/fileutils.h"

const char* const kQuranModuleFile = "DAZaruro2.dll";

namespace {
const std::unique_ptr<TQuranIndexHelper> gQuranIndex = std::make_unique<TQuranIndexHelper>();
} // namespace

TQuranIndexHelper* QuranIndexHelper() { return gQuranIndex.get(); }

std::string TQuranHelper::SurahHeading(int surah) { return SurahTitle(surah, 2); }

std::string TQuranHelper::VerseTextByRef(const std::string& ref) {
    int surah = 0, verse = 0;
    ParseVerseRef(ref, surah, verse);
    return VerseText(surah, verse);
}

int TQuranHelper::FindInVerse(int surah, int verse, const std::string& word, bool wholeWord,
                              bool caseSensitive) {
    return FindFrom(word, VerseText(surah, verse), 0, wholeWord, caseSensitive);
}

TQuranDLLHelper::TQuranDLLHelper(std::string moduleFile, std::string expectedSignature,
                                 bool rightToLeft)
    : FModuleFile(std::move(moduleFile)), FExpectedSignature(std::move(expectedSignature)),
      FRightToLeft(rightToLeft) {
    Verify();
}

TQuranDLLHelper::~TQuranDLLHelper() = default;

std::string TQuranDLLHelper::GetName() { return "Internal Qur'an Translation"; }

bool TQuranDLLHelper::Verify() {
    // Module files are found beside the program, whatever the current folder.
    std::string path = ProgramFolder() + FModuleFile;
    if (FileByteCount(path) < 0) {
        FatalVerificationFailure();
        return false;
    }
    std::string sig = FileSignature(path);
    ShowVerifyItemText(sig);
    bool ok = sig == FExpectedSignature;
    if (!ok) FatalVerificationFailure();
    return ok;
}

void TQuranDLLHelper::Load() {
    if (FailureShown()) return;
    FModuleHandle = std::make_unique<TResourceLibrary>();
    FModuleHandle->Open(ProgramFolder() + FModuleFile);
    std::string bytes;
    if (!FModuleHandle->ReadResource("QDATA", "QDATA", bytes)) {
        FatalVerificationFailure();
        return;
    }
    TStringList lines = ReadTextLines(bytes);
    ProcessMessages();
    FLines = std::move(lines); // the list is not used again: a copy would only cost time
    ProcessMessages();
    if (!AppfrmInit) {
        ShowPlainMessage("AppfrmInit Base Class is Nil!");
        return;
    }
    int32_t last = static_cast<int32_t>(FLines.size()) - 1;
    AppfrmInit->SetProgressMax(last);
    for (int32_t i = 0; i <= last; ++i) AppfrmInit->SetProgress(i);
}

std::string TQuranDLLHelper::VerseText(int surah, int verse) {
    if (!IsValidSurah(surah)) throw ERangeError();
    int64_t index = static_cast<int64_t>(SurahLineOffset(surah)) + verse;
    if (index > INT32_MAX || index < INT32_MIN) throw EIntOverflow();
    if (index < 0 || index >= static_cast<int64_t>(FLines.size()))
        throw ERangeError("List index out of bounds (" + std::to_string(index) + ")");
    std::string line = UnscrambleText(FLines[static_cast<size_t>(index)]);
    std::string text = TextAfter(line, std::to_string(verse) + "|");
    if (FRightToLeft) text = "<BDO DIR=RTL>" + text + "</BDO>";
    return text;
}

std::string VerseHtml(TQuranHelper& module, int surah, int verse, const std::string& image,
                      bool audio, bool bold, bool numbered) {
    std::string ref = FormatVerseRef(surah, verse);
    if (!numbered) return module.VerseText(surah, verse);
    std::string html = bold ? "<B>" + ref + "</B> " + module.VerseText(surah, verse)
                            : ref + " " + module.VerseText(surah, verse);
    if (bold && audio)
        html = "<BR><A HREF=\"RAUDIO_" + ref + "\"><IMG BORDER=\"0\" SRC=\"" + image +
               "\" ALT=\"Remote Audio\"></A>" + html;
    return html;
}

std::string ExcerptHtml(TQuranHelper& module, const TQuranVerseRange& range,
                        const std::string& image, bool audio, bool bold) {
    if (IsSingleVerse(range))
        return VerseHtml(module, range.FromSurah, range.FromVerse, image, audio, bold, true);
    std::string html;
    for (int v = range.FromVerse; v <= range.ToVerse; ++v) {
        if (v != range.FromVerse) html += "\r\n\r\n";
        html += VerseHtml(module, range.FromSurah, v, image, audio, bold, true);
    }
    return html;
}
