#include "support/edition_fixture.h"

#include "content/surahs.h"
#include "platform/pe.h"
#include "storage/cipher.h"
#include "util/fileutils.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

std::string BuildQuranModuleBytes(int lineCount) {
    std::string data;
    int written = 0;
    for (int s = 1; s <= 114 && written < lineCount; ++s) {
        data += UnscrambleText(std::to_string(s) + "|" + SurahTitle(s, 2)) + "\r\n";
        ++written;
        for (int v = 1; v <= VerseCount(s) && written < lineCount; ++v, ++written)
            data += UnscrambleText(std::to_string(v) + "|text " + std::to_string(s) + ":" +
                                   std::to_string(v)) + "\r\n";
    }
    return BuildResourceLibrary({{"QDATA", "QDATA", data}});
}

std::string BuildStoryModuleBytes(const std::map<int, TStringList>& stories) {
    std::vector<TPeResourceItem> items;
    for (int n = 1; n <= 29; ++n) {
        auto it = stories.find(n);
        TStringList lines = it != stories.end()
                                ? it->second
                                : TStringList{"<[Story " + std::to_string(n) + "]>", "A line."};
        std::string data;
        for (size_t i = 0; i < lines.size(); ++i)
            data += EncipherText(lines[i], static_cast<int32_t>(i)) + "\r\n";
        items.push_back({"HVDATA", "HV" + std::to_string(n), data});
    }
    return BuildResourceLibrary(items);
}

TFixtureFolder::TFixtureFolder() {
    char tmpl[] = "/tmp/hvfixtureXXXXXX";
    FPath = std::string(mkdtemp(tmpl)) + "/";
    FOldFolder = ProgramFolder();
    SetProgramFolder(FPath);
    ResetFailureShown();
    FOld = SetVerificationHandlers({[this](const std::string& heading, const std::string&) {
                                        ++Reports;
                                        Headings.push_back(heading);
                                    },
                                    [this] { ++Terminations; }});
}

TFixtureFolder::~TFixtureFolder() {
    SetVerificationHandlers(FOld);
    ResetFailureShown();
    SetProgramFolder(FOldFolder);
    std::filesystem::remove_all(FPath);
}

std::string TFixtureFolder::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(FPath + name, std::ios::binary | std::ios::trunc) << bytes;
    return FileSignature(FPath + name);
}

int CountOf(const std::string& text, const std::string& sub) {
    int n = 0;
    for (size_t p = text.find(sub); p != std::string::npos; p = text.find(sub, p + sub.size())) ++n;
    return n;
}

TStringList MainDocSource(const std::string& name, const std::string& title, int priority,
                          const TStringList& body) {
    TStringList l = {"<<CRCSL3:>>+",
                     "<<N:" + name + ">>|<<T:" + title + ">>+",
                     "<<SORT_PRIORITY:" + std::to_string(priority) +
                         ">>|<<PL:FALSE>>|<<WORDHL:TRUE>>|<<FONT:FACE=\"Verdana\">>+",
                     "<<D:" + title + ">>",
                     "<<AUTHOR:a>>",
                     "<<PUBLISHER:p>>",
                     "<<EDITION:e>>",
                     "<<REVISION:1>>"};
    l.insert(l.end(), body.begin(), body.end());
    return l;
}

std::unique_ptr<TQuranDLLHelper> LoadedQuranModule(const TFixtureFolder& folder) {
    auto quran = std::make_unique<TQuranDLLHelper>(
        "DAZaruro2.dll", folder.Write("DAZaruro2.dll", BuildQuranModuleBytes()));
    TNoProgress progress;
    TfrmInitBase* previous = AppfrmInit;
    AppfrmInit = &progress;
    quran->Load();
    AppfrmInit = previous;
    return quran;
}

std::unique_ptr<TProphetsHelper> LoadedStoryModule(const TFixtureFolder& folder, TQuranHelper* quran,
                                                   const std::map<int, TStringList>& stories) {
    auto h = std::make_unique<TProphetsHelper>(
        "HVModule.dll", quran, folder.Write("HVModule.dll", BuildStoryModuleBytes(stories)));
    h->LoadAll();
    return h;
}
