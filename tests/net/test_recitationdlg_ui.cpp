// The recitation settings dialog, answered through the dialog seam.
#include "controls/vrnbutton.h"
#include "net/recitation.h"
#include "net/recitationdlg_ui.h"
#include "platform/dialogs_ui.h"
#include "platform/profile.h"
#include "shell/msgdlg_ui.h"
#include "storage/modules.h"
#include "support/edition_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

void Shot(QWidget& w, const char* name) {
    QDir().mkpath(QString(HALVORA_BUILD_DIR) + "/screenshots");
    QApplication::processEvents();
    QString file = QString(HALVORA_BUILD_DIR) + "/screenshots/" + name;
    EXPECT_TRUE(w.grab().save(file)) << file.toStdString();
}

class RecitationDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A settings file of this test's own: tests of this file run side by side.
        const char* old = std::getenv("XDG_CONFIG_HOME");
        oldConfig_ = old ? old : "";
        setenv("XDG_CONFIG_HOME", (folder_.Path() + "config").c_str(), 1);
        StoredPrefs() = DefaultPrefs();
        StoredPrefs().RemoteAudioServer = "audio.example.test";
        StoredPrefs().DiskCacheDir = folder_.Path() + "cache";
        fs::remove(SettingsFileName());
        dlg_.ApplySettings = [this](const THVPrefs& r) { applied_.push_back(r); };
    }
    void TearDown() override { setenv("XDG_CONFIG_HOME", oldConfig_.c_str(), 1); }
    // Opens the dialog; the action runs while it shows, then it is closed
    // with the given button unless the action closed it.
    int Open(const std::function<void()>& action, TVrnButton* closeWith) {
        TScopedDialogSeam seam({[&](QDialog& d) -> std::optional<int> {
                                    if (&d != &dlg_) return msgAnswer_;
                                    action();
                                    if (closeWith && d.isVisible()) QTest::mouseClick(closeWith, Qt::LeftButton);
                                    return d.result();
                                },
                                [&](TFileDialogKind kind, const TFileDialogRequest& r) -> std::optional<std::string> {
                                    EXPECT_EQ(kind, TFileDialogKind::Folder);
                                    EXPECT_EQ(r.Caption, "Choose Temp Dir");
                                    return chosen_;
                                }});
        return dlg_.OpenSettings();
    }
    TFixtureFolder folder_;
    std::string oldConfig_;
    TfrmRemoteAudioDlg dlg_;
    std::vector<THVPrefs> applied_;
    std::optional<std::string> chosen_;
    int msgAnswer_ = mrYes;
};

TEST_F(RecitationDialogTest, ShowsTheStoredSettingsAndThePanelsFollowTheBox) {
    bool seen = false;
    int r = Open(
        [&] {
            seen = true;
            EXPECT_EQ(dlg_.windowTitle(), "Remote Qur'an Audio");
            EXPECT_EQ(dlg_.size(), QSize(456, 364));
            EXPECT_FALSE(dlg_.chkRemoteAudio->isChecked());
            EXPECT_FALSE(dlg_.pnlRemoteAudio->isEnabled());
            EXPECT_FALSE(dlg_.pnlTempFiles->isEnabled());
            EXPECT_EQ(dlg_.txtRAServer->text(), "audio.example.test");
            EXPECT_EQ(dlg_.lblDiskCacheDir->text().toStdString(), folder_.Path() + "cache");
            Shot(dlg_, "recitation-dialog-off.png");
            QTest::mouseClick(dlg_.chkRemoteAudio, Qt::LeftButton, {}, QPoint(6, 10));
            EXPECT_TRUE(dlg_.pnlRemoteAudio->isEnabled());
            EXPECT_TRUE(dlg_.pnlTempFiles->isEnabled());
            EXPECT_TRUE(dlg_.txtRAServer->isEnabled());
            ASSERT_FALSE(applied_.empty());
            EXPECT_TRUE(applied_.back().EnableRemoteAudio) << "the box applies the working copy at once";
            Shot(dlg_, "recitation-dialog-on.png");
        },
        dlg_.btnCancel);
    EXPECT_TRUE(seen);
    EXPECT_EQ(r, mrCancel);
    EXPECT_FALSE(StoredPrefs().EnableRemoteAudio) << "Cancel stores nothing";
    EXPECT_FALSE(fs::exists(SettingsFileName()));
}

TEST_F(RecitationDialogTest, DefaultsKeepTheBoxAndOKStoresAndSaves) {
    StoredPrefs().EnableRemoteAudio = true;
    std::string chosen = folder_.Path() + "chosen";
    chosen_ = chosen;
    int r = Open(
        [&] {
            EXPECT_TRUE(dlg_.pnlTempFiles->isEnabled());
            QTest::mouseClick(dlg_.btnDefaults, Qt::LeftButton);
            EXPECT_EQ(dlg_.txtRAServer->text(), "localhost:8020");
            EXPECT_EQ(dlg_.lblDiskCacheDir->text().toStdString(), DefaultPrefs().DiskCacheDir);
            EXPECT_TRUE(dlg_.chkRemoteAudio->isChecked());
            dlg_.txtRAServer->setText("other.example.test");
            QTest::mouseClick(dlg_.VrnButton2, Qt::LeftButton);
            EXPECT_EQ(dlg_.txtRAServer->text(), "localhost:8020") << "Default Server";
            dlg_.txtRAServer->setText("mine.example.test:8020");
            QTest::mouseClick(dlg_.VrnButton3, Qt::LeftButton);
            EXPECT_EQ(dlg_.lblDiskCacheDir->text().toStdString(), chosen);
        },
        dlg_.btnOK);
    EXPECT_EQ(r, mrOk);
    EXPECT_TRUE(StoredPrefs().EnableRemoteAudio);
    EXPECT_EQ(StoredPrefs().RemoteAudioServer, "mine.example.test:8020");
    EXPECT_EQ(StoredPrefs().DiskCacheDir, chosen);
    ASSERT_FALSE(applied_.empty());
    EXPECT_EQ(applied_.back(), StoredPrefs());
    TIniFile ini(SettingsFileName());
    EXPECT_EQ(ini.ReadString("RemoteAudio", "RemoteAudioServer", ""), "mine.example.test:8020");
    EXPECT_EQ(ini.ReadString("RemoteAudio", "DiskCacheDir", ""), chosen);
}

TEST_F(RecitationDialogTest, ClearTempFilesAsksTheModule) {
    StoredPrefs().EnableRemoteAudio = true;
    WriteFileLines(folder_.Path() + kRecitationFileName, [] {
        TStringList l = {"h0", "h1", "h2", "h3", "Q001001.ram", "Q001002.ram"};
        EncipherLines(l);
        return l;
    }());
    TQRemoteAudio module(nullptr, "");
    module.CacheFolder = folder_.Path() + "cache";
    module.Load();
    dlg_.SetModule(&module);
    for (const char* f : {"Q001001.ram", "keep.txt"}) std::ofstream(folder_.Path() + "cache/" + f) << "x";
    msgAnswer_ = mrNo;
    Open([&] { QTest::mouseClick(dlg_.VrnButton4, Qt::LeftButton); }, dlg_.btnCancel);
    EXPECT_TRUE(fs::exists(folder_.Path() + "cache/Q001001.ram"));
    msgAnswer_ = mrYes;
    Open([&] { QTest::mouseClick(dlg_.VrnButton4, Qt::LeftButton); }, dlg_.btnCancel);
    EXPECT_FALSE(fs::exists(folder_.Path() + "cache/Q001001.ram"));
    EXPECT_TRUE(fs::exists(folder_.Path() + "cache/keep.txt"));
}

TEST_F(RecitationDialogTest, TheQuestionBeforeClearing) {
    // Rendered for people to read: the message says what is deleted and where.
    TQRemoteAudio module(nullptr, "");
    module.CacheFolder = folder_.Path() + "cache";
    QImage shot;
    TScopedDialogSeam seam({[&](QDialog& d) -> std::optional<int> {
                                QApplication::processEvents();
                                shot = d.grab().toImage();
                                return mrNo;
                            },
                            nullptr});
    module.ClearCache();
    ASSERT_FALSE(shot.isNull());
    QDir().mkpath(QString(HALVORA_BUILD_DIR) + "/screenshots");
    EXPECT_TRUE(shot.save(QString(HALVORA_BUILD_DIR) + "/screenshots/recitation-clear-question.png"));
}

} // namespace
