// The tips dialog: its stored tips, Prev and Next, the shuffle, the check
// box, and the start-up timer showing it only when asked.
#include "controls/vrnbutton.h"
#include "platform/dialogs_ui.h"
#include "shell/initform_ui.h"
#include "shell/mainform_ui.h"
#include "platform/qtstrings_ui.h"
#include "shell/prefs.h"
#include "storage/verifydlg_ui.h"
#include "support/edition_fixture.h"
#include "tools/tipsdlg_ui.h"
#include "util/fileutils.h"

#include <QCheckBox>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace {

const char* const kTitles[11] = {"Double-clicking unfamilier words",
                                 "Bookmarking a Glossary Word",
                                 "Find the proper spelling of Islamic Words",
                                 "Visit the Halvora web site",
                                 "Colour Scheme!",
                                 "Tarnwick Direct - Latest project news!",
                                 "Outline Window",
                                 "Helping Hints",
                                 "Bookmarking an area of a Prophet's Story",
                                 "Copying Text",
                                 "Remote Qur'an Recitation"};

// Points the settings file into a folder of its own for its lifetime.
class TOwnSettings {
public:
    TOwnSettings() : FOld(qgetenv("XDG_CONFIG_HOME")) { qputenv("XDG_CONFIG_HOME", FDir.path().toUtf8()); }
    ~TOwnSettings() { qputenv("XDG_CONFIG_HOME", FOld); }

private:
    QTemporaryDir FDir;
    QByteArray FOld;
};

class TipsDialogTest : public ::testing::Test {
protected:
    void SetUp() override { StoredPrefs() = DefaultPrefs(); }
    TOwnSettings settings_;
    std::string Heading() const { return dlg_.lblHeading->text().toStdString(); }
    std::string Title(int i) const { return dlg_.tsTips.Storage().Items(i).Title; }

    TfrmTipsDlg dlg_;
};

TEST_F(TipsDialogTest, HoldsTheElevenTipsInStoredOrder) {
    const TTextStoreItems& tips = dlg_.tsTips.Storage();
    ASSERT_EQ(tips.Count(), 11);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(tips.Items(i).Title, kTitles[i]) << i;
    EXPECT_EQ(tips.Items(5).Text, "Tarnwick Direct brings you the latest Tarnwick project news and updates "
                                  "info.\r\n\r\nTarnwick Direct is accessible from the \"About Menu\".");
    EXPECT_EQ(tips.Items(6).Text,
              "The Outline window displays an organised list of topics and Qur'an references that are "
              "part of each Prophet's biography. The outline window can display topics alone or topics "
              "with Qur'an references and can also be hidden.");
    EXPECT_NE(tips.Items(10).Text.find("\r\n\r\n"), std::string::npos); // two paragraphs
    // Every tip fits its label whole.
    const QFontMetrics fm(dlg_.lblMessage->font());
    for (int i = 0; i < 11; ++i) {
        const QRect need = fm.boundingRect(QRect(0, 0, dlg_.lblMessage->width(), 10000), Qt::TextWordWrap,
                                           FromAnsiLines(tips.Items(i).Text));
        EXPECT_LE(need.height(), dlg_.lblMessage->height()) << kTitles[i];
    }
    EXPECT_EQ(dlg_.windowTitle(), "Tips and Info!");
    EXPECT_TRUE(dlg_.chkStartUpTips->isChecked());
}

TEST_F(TipsDialogTest, PrevAndNextStepWithoutWrapping) {
    dlg_.RandomIndex = [](int) { return 0; };
    int shown = 0;
    TScopedDialogSeam seam({[&](QDialog& d) -> std::optional<int> {
                                ++shown;
                                EXPECT_TRUE(d.isVisible());
                                // Each opening starts at the first tip, Prev disabled.
                                EXPECT_EQ(dlg_.Navigator().Position(), 0);
                                EXPECT_FALSE(dlg_.btnPrev->isEnabled());
                                EXPECT_TRUE(dlg_.btnNext->isEnabled());
                                EXPECT_EQ(Heading(), "\"Double-clicking unfamilier words\"");
                                for (int i = 0; i < 10; ++i) dlg_.btnNext->click();
                                EXPECT_EQ(Heading(), "\"Remote Qur'an Recitation\"");
                                EXPECT_FALSE(dlg_.btnNext->isEnabled());
                                EXPECT_TRUE(dlg_.btnPrev->isEnabled());
                                dlg_.btnNext->click(); // disabled: nothing
                                EXPECT_EQ(dlg_.Navigator().Position(), 10);
                                dlg_.btnPrev->click();
                                EXPECT_EQ(Heading(), "\"Copying Text\"");
                                EXPECT_EQ(dlg_.lblMessage->text().toStdString(),
                                          dlg_.tsTips.Storage().Items(9).Text);
                                dlg_.btnR3->click();
                                return dlg_.result();
                            },
                            nullptr});
    dlg_.ShowTips();
    dlg_.ShowTips();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(dlg_.result(), mrOk);
}

TEST_F(TipsDialogTest, ShuffleSwapsTheFirstTipWithTheChosenOne) {
    dlg_.RandomIndex = [](int count) {
        EXPECT_EQ(count, 11);
        return 4;
    };
    TScopedDialogSeam seam({[](QDialog&) -> std::optional<int> { return mrOk; }, nullptr});
    dlg_.ShowTips();
    EXPECT_EQ(Title(0), kTitles[4]);
    EXPECT_EQ(Title(4), kTitles[0]);
    EXPECT_EQ(Title(1), kTitles[1]);
    EXPECT_EQ(Heading(), std::string("\"") + kTitles[4] + "\"");
    // The swap stays: the same choice again swaps the two back.
    dlg_.ShowTips();
    EXPECT_EQ(Title(0), kTitles[0]);

    // The clock-seeded choice reaches more than one tip and stays in range.
    TfrmTipsDlg fresh;
    std::set<std::string> firsts;
    for (int i = 0; i < 200; ++i) {
        fresh.ShuffleFirstTip();
        firsts.insert(fresh.tsTips.Storage().Items(0).Title);
        EXPECT_EQ(fresh.Navigator().Position(), 0);
    }
    EXPECT_GT(firsts.size(), 5u);
    EXPECT_EQ(fresh.tsTips.Storage().Count(), 11);
}

TEST_F(TipsDialogTest, CheckBoxSavesTheSettingAtOnce) {
    QFile::remove(QString::fromStdString(SettingsFileName()));
    dlg_.chkStartUpTips->click();
    EXPECT_FALSE(StoredPrefs().StartUpTips);
    StoredPrefs() = DefaultPrefs();
    LoadSettings();
    EXPECT_FALSE(StoredPrefs().StartUpTips);
    dlg_.chkStartUpTips->click();
    StoredPrefs() = DefaultPrefs();
    StoredPrefs().StartUpTips = false;
    LoadSettings();
    EXPECT_TRUE(StoredPrefs().StartUpTips);
    // The box keeps the reader's state; showing the dialog does not reset it.
    dlg_.chkStartUpTips->click();
    StoredPrefs().StartUpTips = true;
    TScopedDialogSeam seam({[](QDialog&) -> std::optional<int> { return mrOk; }, nullptr});
    dlg_.ShowTips();
    EXPECT_FALSE(dlg_.chkStartUpTips->isChecked());
}

// The start-up timer over the shipped edition shows the tips only when the setting is on.
TEST(TipsAtStartUp, FollowTheSetting) {
    const std::string old = ProgramFolder();
    SetProgramFolder(HALVORA_PROGRAM_DIR);
    TOwnSettings settings;
    for (bool on : {true, false}) {
        SCOPED_TRACE(on);
        // The main window reads the file at its creation.
        StoredPrefs() = DefaultPrefs();
        StoredPrefs().StartUpTips = on;
        StoredPrefs().NewsOnStart = false;
        SaveSettings();
        std::vector<std::string> shown;
        TScopedDialogSeam seam({[&](QDialog& d) -> std::optional<int> {
                                    shown.push_back(d.objectName().toStdString());
                                    return mrOk;
                                },
                                nullptr});
        TMainWindowOptions o;
        o.SelfCheck = std::make_unique<TPassingCheck>();
        TfrmInit init;
        TfrmMain w(&init, std::move(o));
        TfrmTipsDlg tips(w.Scheme, &w);
        w.show();
        QSignalSpy finished(&w, &TfrmMain::StartUpFinished);
        ASSERT_TRUE(finished.wait(5000));
        EXPECT_EQ(shown, on ? std::vector<std::string>{"frmTipsDlg"} : std::vector<std::string>{});
        SetPageReady(false);
    }
    SetProgramFolder(old);
}

} // namespace
