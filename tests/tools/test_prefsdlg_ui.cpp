// The preferences dialog over the main window of the shipped edition: the
// preview in every window, Cancel, Defaults and OK, a stored value that
// matches no colour; and the menu items and page links of the reader tools.
#include "controls/schemes.h"
#include "controls/vrnbutton.h"
#include "controls/vrnhtml.h"
#include "platform/dialogs_ui.h"
#include "platform/pictures_ui.h"
#include "platform/profile.h"
#include "platform/qtstrings_ui.h"
#include "shell/initform_ui.h"
#include "shell/mainform_ui.h"
#include "support/edition_fixture.h"
#include "tools/glossarywin_ui.h"
#include "tools/prefsdlg_ui.h"
#include "tools/tipsdlg_ui.h"
#include "util/fileutils.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A point of the panel's wallpaper clear of its border and of the
// captions, which all start at the left.
QPoint Sample(QWidget* panel) { return {panel->width() - 20, 10}; }
QRgb PanelPixel(QWidget* panel) { return panel->grab().toImage().pixel(Sample(panel)); }
QRgb TilePixel(int scheme, QWidget* panel) {
    const QImage tile = WallpaperTile(scheme);
    return tile.pixel(Sample(panel).x() % tile.width(), Sample(panel).y() % tile.height());
}

class PrefsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config_.isValid());
        oldConfig_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
        old_ = ProgramFolder();
        SetProgramFolder(HALVORA_PROGRAM_DIR);
        QFile::remove(QString::fromStdString(SettingsFileName()));
        StoredPrefs() = DefaultPrefs();
        TMainWindowOptions o;
        o.SelfCheck = std::make_unique<TPassingCheck>();
        main_ = std::make_unique<TfrmMain>(&init_, std::move(o));
        prefs_ = std::make_unique<TfrmPrefsDlg>(main_.get());
        tips_ = std::make_unique<TfrmTipsDlg>(main_->Scheme, main_.get());
        gloss_ = std::make_unique<TfrmGloss>(main_->Glossary.get(), main_->Scheme, main_.get());
        main_->show();
        main_->tmrStartUp.stop();
    }
    void TearDown() override {
        gloss_.reset();
        tips_.reset();
        prefs_.reset();
        main_.reset();
        SetPageReady(false);
        SetProgramFolder(old_);
        qputenv("XDG_CONFIG_HOME", oldConfig_);
    }
    // Every scheme panel of every window shows the tile of this scheme.
    void ExpectPanels(int scheme) {
        for (QWidget* p : std::initializer_list<QWidget*>{main_->spnlMain, main_->spnlName, main_->spnlTitle,
                                                         gloss_->spnlName, tips_->spnlName})
            EXPECT_EQ(PanelPixel(p), TilePixel(scheme, p)) << p->objectName().toStdString() << " of "
                                                            << p->window()->objectName().toStdString();
    }
    // Runs the dialog, answering it with the given steps.
    int Run(const std::function<void()>& steps) {
        int result = -1;
        TScopedDialogSeam seam({[&](QDialog& d) -> std::optional<int> {
                                    EXPECT_EQ(&d, prefs_.get());
                                    steps();
                                    result = d.result();
                                    return result;
                                },
                                nullptr});
        prefs_->Execute();
        return result;
    }
    bool Checked(const char* item) {
        auto found = prefs_->chklbxGen->findItems(item, Qt::MatchExactly);
        return !found.isEmpty() && found.front()->checkState() == Qt::Checked;
    }

    // A settings file of the test's own.
    QTemporaryDir config_;
    QByteArray oldConfig_;
    std::string old_;
    TfrmInit init_;
    std::unique_ptr<TfrmMain> main_;
    std::unique_ptr<TfrmPrefsDlg> prefs_;
    std::unique_ptr<TfrmTipsDlg> tips_;
    std::unique_ptr<TfrmGloss> gloss_;
};

TEST_F(PrefsDialogTest, PreviewReachesEveryWindowAndCancelRestoresTheStoredColours) {
    ASSERT_NE(TilePixel(scBlue, tips_->spnlName), TilePixel(scPurple, tips_->spnlName));
    ExpectPanels(scBlue);
    main_->SelectProphet(1);
    int result = Run([&] {
        EXPECT_TRUE(prefs_->SchemeRadios[scBlue]->isChecked());
        EXPECT_TRUE(prefs_->HighlightRadios[scSilver]->isChecked());
        EXPECT_TRUE(Checked("Show tips on startup"));
        EXPECT_FALSE(Checked("Maximise on startup"));
        QTest::mousePress(prefs_->SchemeSwatches[scPurple], Qt::LeftButton);
        EXPECT_TRUE(prefs_->SchemeRadios[scPurple]->isChecked());
        EXPECT_EQ(main_->AppliedSettings().ColorScheme, scPurple);
        ExpectPanels(scPurple);
        prefs_->HighlightRadios[scGreen]->click();
        EXPECT_EQ(gloss_->LinkColour(), 25600u);
        EXPECT_EQ(main_->Browser->palette().color(QPalette::Link), ColorFromRef(25600));
        // The banner follows the working copy while the dialog shows.
        ASSERT_NE(BannerPicture(scGreen).convertToFormat(QImage::Format_RGB32).pixel(1, 1),
                  BannerPicture(scSilver).convertToFormat(QImage::Format_RGB32).pixel(1, 1));
        EXPECT_EQ(main_->BrowserImageRequest("Border.bmp").pixel(1, 1),
                  BannerPicture(scGreen).convertToFormat(QImage::Format_RGB32).pixel(1, 1));
        EXPECT_EQ(main_->lblChapter->text(), "Prophet Adam [Adam]"); // same page
        prefs_->btnCancel->click();
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(main_->AppliedSettings(), StoredPrefs());
    EXPECT_EQ(gloss_->LinkColour(), HighlightColour(scSilver));
    ExpectPanels(scBlue);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(SettingsFileName())));

    // Escape undoes the preview as well.
    Run([&] {
        prefs_->SchemeRadios[scAqua]->click();
        ExpectPanels(scAqua);
        QTest::keyClick(prefs_.get(), Qt::Key_Escape);
    });
    ExpectPanels(scBlue);
    EXPECT_EQ(main_->AppliedSettings(), StoredPrefs());
}

TEST_F(PrefsDialogTest, DefaultsThenOkWritesTheDefaults) {
    THVPrefs mine;
    mine.StartUpTips = false;
    mine.Maximise = true;
    mine.NewsOnStart = false;
    mine.ColorScheme = scGreen;
    mine.ColorWordHL = scAqua;
    mine.EnableRemoteAudio = true;
    mine.RemoteAudioServer = "recite.test:99";
    mine.DiskCacheDir = "/tmp/elsewhere";
    StoredPrefs() = mine;
    main_->ApplySettings(mine);
    int result = Run([&] {
        EXPECT_FALSE(Checked("Show tips on startup"));
        EXPECT_TRUE(Checked("Maximise on startup"));
        EXPECT_TRUE(prefs_->SchemeRadios[scGreen]->isChecked());
        EXPECT_TRUE(prefs_->HighlightRadios[scAqua]->isChecked());
        prefs_->btnDefaults->click();
        EXPECT_TRUE(prefs_->isVisible());
        EXPECT_EQ(prefs_->WorkingCopy(), DefaultPrefs());
        EXPECT_TRUE(Checked("Show tips on startup"));
        EXPECT_TRUE(Checked("News on startup (if connected)"));
        EXPECT_TRUE(prefs_->SchemeRadios[scBlue]->isChecked());
        ExpectPanels(scBlue); // previewed
        EXPECT_EQ(StoredPrefs(), mine); // nothing stored yet
        // An option changes nothing visible until OK.
        prefs_->chklbxGen->item(2)->setCheckState(Qt::Unchecked);
        EXPECT_TRUE(main_->AppliedSettings().NewsOnStart);
        prefs_->btnOK->click();
    });
    EXPECT_EQ(result, mrOk);
    THVPrefs expected = DefaultPrefs();
    expected.NewsOnStart = false;
    EXPECT_EQ(StoredPrefs(), expected);
    EXPECT_EQ(main_->AppliedSettings(), expected);
    StoredPrefs() = mine;
    LoadSettings();
    EXPECT_EQ(StoredPrefs(), expected); // the file holds the defaults, server and folder too
    TIniFile ini(SettingsFileName());
    EXPECT_EQ(ini.ReadString("RemoteAudio", "RemoteAudioServer", ""), DefaultPrefs().RemoteAudioServer);
    EXPECT_EQ(ini.ReadString("ColorScheme", "ColorScheme", ""), "3");
}

TEST_F(PrefsDialogTest, StoredSchemeOfNineMatchesNoButtonAndOkStoresGold) {
    StoredPrefs().ColorScheme = 9;
    StoredPrefs().ColorWordHL = 9;
    main_->ApplySettings(StoredPrefs());
    // Above 5: the green wallpaper but the gold highlight.
    ExpectPanels(scGreen);
    EXPECT_EQ(gloss_->LinkColour(), 31097u);
    Run([&] {
        EXPECT_TRUE(prefs_->SchemeRadios[scGold]->isChecked());
        EXPECT_TRUE(prefs_->HighlightRadios[scGold]->isChecked());
        prefs_->btnOK->click();
    });
    EXPECT_EQ(StoredPrefs().ColorScheme, scGold);
    EXPECT_EQ(StoredPrefs().ColorWordHL, scGold);
    ExpectPanels(scGold);
}

TEST_F(PrefsDialogTest, MenuItemsAndFeatureLinksOpenTheReaderTools) {
    std::vector<std::string> opened;
    TScopedDialogSeam seam({[&](QDialog& d) -> std::optional<int> {
                                opened.push_back(d.objectName().toStdString());
                                return mrCancel;
                            },
                            nullptr});
    auto trigger = [&](const char* caption) {
        for (QAction* menu : main_->menuBar()->actions())
            for (QAction* a : menu->menu()->actions())
                if (a->text() == caption) return a->trigger();
        ADD_FAILURE() << caption;
    };
    trigger("Preferences");
    trigger("Display Tips and Info");
    EXPECT_EQ(opened, (std::vector<std::string>{"frmPrefsDlg", "frmTipsDlg"}));
    trigger("Glossary of Islamic Terms");
    EXPECT_TRUE(gloss_->isVisible());
    EXPECT_FALSE(gloss_->pnlWordQuery->isVisible());
    gloss_->hide();

    main_->DispatchLink("FEAT_PREFS");
    main_->DispatchLink("FEAT_TIPS");
    EXPECT_EQ(opened.size(), 4u);
    EXPECT_EQ(opened[2], "frmPrefsDlg");
    EXPECT_EQ(opened[3], "frmTipsDlg");
    main_->DispatchLink("FEAT_WORD_SPELL");
    EXPECT_TRUE(gloss_->isVisible());
    EXPECT_TRUE(gloss_->pnlWordQuery->isVisible());
    gloss_->hide();
    main_->DispatchLink("FEAT_GLOSSARY");
    EXPECT_TRUE(gloss_->isVisible());
}

} // namespace
