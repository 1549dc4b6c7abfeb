// The main window over the sample edition the build shipped, rendered to
// PNG files under build/screenshots/ for people to look at.
#include "controls/vrnhtml.h"
#include "controls/vrntreeview.h"
#include "platform/dialogs_ui.h"
#include "shell/aboutdlg_ui.h"
#include "shell/initform_ui.h"
#include "shell/mainform_ui.h"
#include "shell/msgdlg_ui.h"
#include "support/edition_fixture.h"
#include "util/fileutils.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

class EditionWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = ProgramFolder();
        SetProgramFolder(HALVORA_PROGRAM_DIR);
        ResetFailureShown();
        handlers_ = SetVerificationHandlers(
            {[this](const std::string&, const std::string&) { ++reports_; }, [] {}});
        StoredPrefs() = DefaultPrefs();
        QDir().mkpath(QString(HALVORA_BUILD_DIR) + "/screenshots");
    }
    void TearDown() override {
        SetVerificationHandlers(handlers_);
        SetProgramFolder(old_);
        SetPageReady(false);
    }
    void Shot(QWidget& w, const char* name) {
        QApplication::processEvents();
        QString file = QString(HALVORA_BUILD_DIR) + "/screenshots/" + name;
        EXPECT_TRUE(w.grab().save(file)) << file.toStdString();
    }
    std::string old_;
    TVerificationHandlers handlers_;
    int reports_ = 0;
};

TEST_F(EditionWindowTest, ReadsTheShippedEdition) {
    TMainWindowOptions o;
    o.SelfCheck = std::make_unique<TPassingCheck>();
    // Any message would be a fault here: record it rather than wait for a reader.
    std::vector<QString> dialogs;
    TScopedDialogSeam seam({[&](QDialog& d) -> std::optional<int> {
                                dialogs.push_back(d.windowTitle());
                                return 1;
                            },
                            nullptr});
    TfrmInit init;
    TfrmMain w(&init, std::move(o));
    Shot(init, "startup.png");
    w.resize(1000, 720);
    w.show();
    EXPECT_EQ(reports_, 0);
    EXPECT_EQ(w.MainDocs->Count(), 5);
    Shot(w, "welcome.png");

    w.SelectTreeIndex(1);
    EXPECT_EQ(w.lblChapter->text(), "Software Features");
    EXPECT_NE(w.Browser->DocumentText().find("Features"), std::string::npos);
    Shot(w, "document.png");

    // The Translator's Note with its table of the translation's corrections.
    w.SelectTreeIndex(3);
    EXPECT_EQ(w.lblChapter->text(), "Translator's Note");
    EXPECT_NE(w.Browser->DocumentText().find("except these listed corrections"), std::string::npos);
    Shot(w, "translators-note.png");
    w.Browser->verticalScrollBar()->setValue(w.Browser->verticalScrollBar()->maximum() * 2 / 3);
    Shot(w, "translators-note-corrections.png");

    TfrmAboutDlg about;
    about.SetQuranModule(w.QuranModule.get());
    about.show();
    EXPECT_FALSE(about.lblQuote->text().isEmpty());
    Shot(about, "about.png");

    w.SelectProphet(12);
    EXPECT_EQ(w.lblChapter->text(), "Prophet Yusuf [Joseph]");
    TVrnTreeView* outline = w.CurrentOutlineTree();
    ASSERT_NE(outline, nullptr);
    QTreeWidgetItem* root = outline->topLevelItem(0);
    ASSERT_GE(root->childCount(), 4);
    outline->setCurrentItem(root->child(2));
    EXPECT_GT(w.Browser->verticalScrollBar()->value(), 0);
    Shot(w, "story.png");

    // The Tools menu open over the window.
    QMenu* tools = nullptr;
    for (QAction* a : w.menuBar()->actions())
        if (a->text() == "&Tools") tools = a->menu();
    ASSERT_NE(tools, nullptr);
    tools->popup(w.mapToGlobal(QPoint(40, 20)));
    Shot(*tools, "menu.png");
    tools->hide();
    EXPECT_EQ(reports_, 0);
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(EditionWindowTest, EverySubTopicCopiesItsOwnPassageAsPlainText) {
    TMainWindowOptions o;
    o.SelfCheck = std::make_unique<TPassingCheck>();
    TScopedDialogSeam seam({[](QDialog&) -> std::optional<int> { return mrYes; }, nullptr});
    TfrmInit init;
    TfrmMain w(&init, std::move(o));
    w.show();
    int copied = 0;
    for (int p = 1; p <= 29; ++p) {
        w.SelectProphet(p);
        TVrnTreeView* outline = w.CurrentOutlineTree();
        ASSERT_NE(outline, nullptr);
        QTreeWidgetItem* root = outline->topLevelItem(0);
        std::vector<QString> titles;
        for (int i = 0; i < root->childCount(); ++i) titles.push_back(root->child(i)->text(0));
        for (int i = 0; i < root->childCount(); ++i) {
            outline->setCurrentItem(root->child(i));
            w.CopyText();
            const QString text = QApplication::clipboard()->text();
            const std::string where = std::to_string(p) + " " + titles[size_t(i)].toStdString();
            // Its own heading first, no other heading ("The Flood" follows
            // "The People Before the Flood"), nothing but plain text.
            EXPECT_TRUE(text.startsWith(titles[size_t(i)] + "\n\n")) << where;
            for (size_t k = 0; k < titles.size(); ++k) {
                if (int(k) == i || titles[k] == titles[size_t(i)]) continue;
                EXPECT_FALSE(text.contains("\n" + titles[k] + "\n\n")) << where << " holds " << titles[k].toStdString();
            }
            for (QChar c : text)
                EXPECT_TRUE(c == QLatin1Char('\n') || c >= QLatin1Char(' ')) << where << " U+" << std::hex << int(c.unicode());
            for (int c : {0x2028, 0x2029, 0xFDD0, 0xFDD1, 0xFFFC, 0x00A0})
                EXPECT_FALSE(text.contains(QChar(c))) << where << " U+" << std::hex << c;
            ++copied;
        }
    }
    EXPECT_GT(copied, 100);
}

} // namespace
