// The whole program over a copy of the program folder the build laid out.
// Every shipped file deleted, cut short, with one byte changed, or with a
// character that is not Base64 inside a stored line must end the program with
// exactly one "Verification Failed!" and nothing else; with every file intact
// the automatic verification passes.
#include "content/documents.h"
#include "platform/dialogs_ui.h"
#include "platform/pe.h"
#include "shell/entry_ui.h"
#include "shell/initform_ui.h"
#include "shell/msgdlg_ui.h"
#include "storage/modules.h"
#include "storage/verification.h"
#include "storage/verifydlg_ui.h"
#include "util/fileutils.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace {

// Files whose damage the program must notice before any reading starts.
const char* const kCheckedFiles[] = {"halvora",      "halvora.sig",      "DAZaruro2.dll",
                                     "HVModule.dll", "Introduction.dbi", "SoftFeat.dbi",
                                     "Distribution.dbi", "QGloss.dbx", "QRemoteAud.dbx"};
// Documents beyond the built-in three: the program cannot know they were
// shipped, and a damaged one is left out of the list without a message.
const char* const kOptionalDocuments[] = {"PublishersNote.dbi", "TranslatorsNote.dbi"};
// Shipped files the reader does not open: the index (nothing loads it) and
// the notices for people.
const char* const kUnreadFiles[] = {"QIndex.dbx", "ThirdPartyNotices.txt"};

enum class TDamage { Deleted, Truncated, ByteChanged, InvalidCharacter };

std::string DamageName(TDamage d) {
    switch (d) {
    case TDamage::Deleted: return "Deleted";
    case TDamage::Truncated: return "Truncated";
    case TDamage::ByteChanged: return "ByteChanged";
    case TDamage::InvalidCharacter: return "InvalidCharacter";
    }
    return {};
}

std::string ReadAll(const fs::path& p) {
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(p.string(), bytes)) << p;
    return bytes;
}

void WriteAll(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

// Where the stored lines of a file lie: a module library's first resource of
// its line type, or the whole file for a line file.
std::pair<size_t, size_t> StoredLinesRange(const std::string& name, const std::string& bytes) {
    auto resource = [&](const char* res, const char* type) -> std::pair<size_t, size_t> {
        TPeImage image;
        EXPECT_TRUE(image.Parse(bytes));
        auto data = image.FindResource(TPeResourceId::FromText(res), TPeResourceId::FromText(type));
        EXPECT_TRUE(data.has_value()) << name;
        if (!data) return {0, bytes.size()};
        return {static_cast<size_t>(data->data() - bytes.data()), data->size()};
    };
    if (name == "HVModule.dll") return resource("HV15", "HVDATA");
    if (name == "DAZaruro2.dll") return resource("QDATA", "QDATA");
    return {0, bytes.size()};
}

// A character that is not Base64 in the middle of a stored line half-way
// through the stored text; for the program file, its middle byte.
void PutInvalidCharacter(const std::string& name, std::string& bytes) {
    auto [from, size] = StoredLinesRange(name, bytes);
    size_t pos = from + size / 2;
    if (name != "halvora") {
        // Step back to the start of the line, then to its middle.
        size_t start = pos;
        while (start > from && bytes[start - 1] != '\n' && bytes[start - 1] != '\r') --start;
        size_t end = pos;
        while (end < from + size && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        ASSERT_GT(end, start) << name << " has an empty line at its middle";
        pos = start + (end - start) / 2;
    }
    bytes[pos] = '!';
}

void Damage(const fs::path& file, TDamage d) {
    std::string name = file.filename().string();
    if (d == TDamage::Deleted) {
        ASSERT_TRUE(fs::remove(file));
        return;
    }
    std::string bytes = ReadAll(file);
    ASSERT_GT(bytes.size(), 2u);
    switch (d) {
    case TDamage::Truncated: bytes.resize(bytes.size() / 2); break;
    case TDamage::ByteChanged: {
        // A letter for a letter: inside a stored line it is still Base64.
        char& b = bytes[bytes.size() / 2];
        b = b == 'A' ? 'B' : 'A';
        break;
    }
    case TDamage::InvalidCharacter: PutInvalidCharacter(name, bytes); break;
    case TDamage::Deleted: break;
    }
    WriteAll(file, bytes);
}

// What one run of the program showed.
struct TRun {
    std::vector<std::string> Headings; // of every message dialog, in order
    bool TerminateRequested = false;
    bool TimedOut = false;
    bool StartUpFinished = false;
    QString VerifyStatus; // the verification dialog's status when start-up finished
    int Ticked = 0, Listed = 0;
    int Documents = -1;
    int ExitCode = -1;
};

class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = ProgramFolder();
        char tmpl[] = "/tmp/hvprogramXXXXXX";
        copy_ = fs::path(mkdtemp(tmpl));
        fs::copy(HALVORA_PROGRAM_DIR, copy_, fs::copy_options::recursive);
        previousHandlers_ = SetVerificationHandlers({});
        InstallWindowLayer();
    }
    void TearDown() override {
        SetVerificationHandlers(previousHandlers_);
        SetProgramFolder(old_);
        ResetFailureShown();
        THalvoraApplication::ResetTerminateRequest();
        fs::remove_all(copy_);
    }

    // Runs the program over the copy as its entry does, answering every message
    // with OK, leaving the verification dialog to run for real and closing
    // whatever follows it (the tips).
    TRun Run() {
        TRun run;
        ResetFailureShown();
        THalvoraApplication::ResetTerminateRequest();
        SetProgramFolder(copy_.string() + "/");
        TScopedDialogSeam seam({[&](QDialog& d) -> std::optional<int> {
                                    if (auto* m = dynamic_cast<TfrmMsgDlg*>(&d)) {
                                        run.Headings.push_back(m->lblHeading->text().toStdString());
                                        if (!shot_.isEmpty()) Shot(*m, shot_);
                                        return mrOk;
                                    }
                                    if (dynamic_cast<TfrmVerifydlg*>(&d)) return std::nullopt;
                                    return mrOk;
                                },
                                nullptr});
        // Start-up ends with the verification's last step; the program would
        // run on from there, so the test ends it.
        QMetaObject::Connection finished;
        QTimer watch;
        watch.setInterval(20);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!frmMain || finished) return;
            finished = QObject::connect(frmMain, &TfrmMain::StartUpFinished, [&] {
                run.StartUpFinished = true;
                if (frmVerifydlg) {
                    run.VerifyStatus = frmVerifydlg->lblItem_ID->text();
                    run.Listed = frmVerifydlg->chklbxVerify->count();
                    for (int i = 0; i < run.Listed; ++i)
                        run.Ticked += frmVerifydlg->chklbxVerify->item(i)->checkState() == Qt::Checked;
                }
                run.Documents = frmMain->MainDocs ? frmMain->MainDocs->Count() : -1;
                QCoreApplication::exit(0);
            });
        });
        watch.start();
        // An object, not a single shot: it must not outlive this run.
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, [&] {
            run.TimedOut = true;
            QCoreApplication::exit(99);
        });
        limit.start(30000);
        TMainWindowOptions options;
        options.SelfCheck = std::make_unique<TProgramSelfCheck>((copy_ / "halvora").string());
        run.ExitCode = RunProgram(std::move(options));
        run.TerminateRequested = THalvoraApplication::TerminateRequested();
        // A request made while no loop ran is still queued: let it go now.
        QCoreApplication::processEvents();
        return run;
    }

    // What the reader sees: the message, and the start-up window behind it.
    void Shot(TfrmMsgDlg& message, const QString& name) {
        QApplication::processEvents();
        QDir().mkpath(QString(HALVORA_BUILD_DIR) + "/screenshots");
        const QString base = QString(HALVORA_BUILD_DIR) + "/screenshots/" + name;
        EXPECT_TRUE(message.grab().save(base + "-message.png"));
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* init = dynamic_cast<TfrmInit*>(w);
            if (init && init->isVisible()) {
                EXPECT_TRUE(init->grab().save(base + "-startup.png"));
            }
        }
        mainVisibleAtMessage_ = frmMain && frmMain->isVisible();
    }

    std::string old_;
    fs::path copy_;
    QString shot_;
    bool mainVisibleAtMessage_ = false;
    TVerificationHandlers previousHandlers_;
};

TEST_F(ProgramFolderTest, IntactFolderPassesTheAutomaticVerification) {
    TRun run = Run();
    EXPECT_TRUE(run.Headings.empty()) << run.Headings.front();
    EXPECT_FALSE(run.TerminateRequested);
    EXPECT_FALSE(run.TimedOut);
    ASSERT_TRUE(run.StartUpFinished);
    EXPECT_EQ(run.VerifyStatus, "Verification Complete - Passed.");
    EXPECT_GT(run.Listed, 0);
    EXPECT_EQ(run.Ticked, run.Listed);
    EXPECT_EQ(run.Documents, 5);
}

TEST_F(ProgramFolderTest, EveryShippedFileIsCovered) {
    // A file added to the program folder must be added to one of the lists.
    std::set<std::string> known;
    for (auto* n : kCheckedFiles) known.insert(n);
    for (auto* n : kOptionalDocuments) known.insert(n);
    for (auto* n : kUnreadFiles) known.insert(n);
    for (const auto& e : fs::directory_iterator(HALVORA_PROGRAM_DIR))
        EXPECT_TRUE(known.count(e.path().filename().string())) << e.path().filename();
    for (const auto& n : known) EXPECT_TRUE(fs::exists(fs::path(HALVORA_PROGRAM_DIR) / n)) << n;
}

class DamagedFileTest : public ProgramFolderTest,
                        public ::testing::WithParamInterface<std::tuple<std::string, TDamage>> {};

TEST_P(DamagedFileTest, OneVerificationFailureThenTheEnd) {
    auto [name, damage] = GetParam();
    Damage(copy_ / name, damage);
    if (name == "HVModule.dll" && damage == TDamage::InvalidCharacter) shot_ = "damaged-module";
    TRun run = Run();
    EXPECT_EQ(run.Headings, std::vector<std::string>{"Verification Failed!"});
    EXPECT_TRUE(run.TerminateRequested);
    EXPECT_FALSE(run.TimedOut);
    EXPECT_EQ(run.ExitCode, 0);
    // The start-up never finished in a passed verification.
    EXPECT_NE(run.VerifyStatus, "Verification Complete - Passed.");
}

INSTANTIATE_TEST_SUITE_P(
    ShippedFiles, DamagedFileTest,
    ::testing::Combine(::testing::ValuesIn(std::vector<std::string>(std::begin(kCheckedFiles),
                                                                      std::end(kCheckedFiles))),
                       ::testing::Values(TDamage::Deleted, TDamage::Truncated, TDamage::ByteChanged,
                                         TDamage::InvalidCharacter)),
    [](const auto& info) {
        std::string n = std::get<0>(info.param);
        for (char& c : n)
            if (c == '.') c = '_';
        return n + "_" + DamageName(std::get<1>(info.param));
    });

class DamagedOptionalDocumentTest : public ProgramFolderTest,
                                    public ::testing::WithParamInterface<TDamage> {};

TEST_P(DamagedOptionalDocumentTest, IsLeftOutQuietly) {
    for (auto* n : kOptionalDocuments) Damage(copy_ / n, GetParam());
    TRun run = Run();
    EXPECT_TRUE(run.Headings.empty()) << run.Headings.front();
    EXPECT_FALSE(run.TerminateRequested);
    ASSERT_TRUE(run.StartUpFinished);
    EXPECT_EQ(run.VerifyStatus, "Verification Complete - Passed.");
    EXPECT_EQ(run.Documents, 3);
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedOptionalDocumentTest,
                         ::testing::Values(TDamage::Deleted, TDamage::Truncated, TDamage::ByteChanged,
                                           TDamage::InvalidCharacter),
                         [](const auto& info) { return DamageName(info.param); });

} // namespace
