#include "platform/desktop_ui.h"
#include "platform/dialogs_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QUrl>

namespace {

TFileDialogRequest Request(const char* caption, const char* fileName = "") {
    TFileDialogRequest r;
    r.Caption = QString::fromLatin1(caption);
    r.FileName = QString::fromLatin1(fileName);
    return r;
}

TEST(DialogSeam, FileDialogsAnsweredWithoutAScreen) {
    std::vector<TFileDialogKind> asked;
    TScopedDialogSeam seam{{{}, [&](TFileDialogKind kind, const TFileDialogRequest& r) -> std::optional<std::string> {
        asked.push_back(kind);
        if (r.Caption == QLatin1String("Cancel me")) return std::nullopt;
        return "/tmp/" + r.FileName.toStdString();
    }}};
    std::string path = "unchanged";
    EXPECT_TRUE(ChooseSaveFile(Request("Export", "Mine.sbk"), path));
    EXPECT_EQ(path, "/tmp/Mine.sbk");
    path = "unchanged";
    EXPECT_FALSE(ChooseOpenFile(Request("Cancel me"), path));
    EXPECT_EQ(path, "unchanged");
    EXPECT_TRUE(ChooseFolder(Request("Cache folder"), path));
    EXPECT_EQ(asked, (std::vector<TFileDialogKind>{TFileDialogKind::Save, TFileDialogKind::Open,
                                                    TFileDialogKind::Folder}));
}

TEST(DialogSeam, ModalAnswerAndRestore) {
    QDialog dlg;
    {
        TScopedDialogSeam seam{{[](QDialog& d) -> std::optional<int> {
            EXPECT_TRUE(d.isVisible()); // shown while answered
            return mrYes;
        }, {}}};
        EXPECT_EQ(ExecModal(dlg), mrYes);
        EXPECT_FALSE(dlg.isVisible());
        {
            TScopedDialogSeam inner{{[](QDialog& d) -> std::optional<int> {
                d.done(mrNo); // the answer may close the dialog itself
                return d.result();
            }, {}}};
            EXPECT_EQ(ExecModal(dlg), mrNo);
        }
        EXPECT_EQ(ExecModal(dlg), mrYes); // the outer answer is back
    }
}

TEST(Desktop, ShellOpenTargets) {
    EXPECT_EQ(ShellOpenUrl("http://www.example.org/a b"), QUrl(QStringLiteral("http://www.example.org/a b")));
    EXPECT_EQ(ShellOpenUrl("HTTP://Example.org").scheme(), QStringLiteral("http"));
    EXPECT_EQ(ShellOpenUrl("/home/reader/.cache/Halvora/DiskCache/001001.ram"),
              QUrl::fromLocalFile(QStringLiteral("/home/reader/.cache/Halvora/DiskCache/001001.ram")));
    EXPECT_EQ(ShellOpenUrl("file:///tmp/x.html"), QUrl(QStringLiteral("file:///tmp/x.html")));
    std::vector<QUrl> opened;
    auto previous = SetShellOpenHandler([&](const QUrl& u) {
        opened.push_back(u);
        return false;
    });
    EXPECT_FALSE(ShellOpen("ftp://files.example.org/q.zip"));
    SetShellOpenHandler(previous);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("ftp"));
}

TEST(Desktop, BusyCursorNests) {
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    {
        TBusyCursor outer;
        SetBusyCursor(true);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        SetBusyCursor(false);
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    SetBusyCursor(false); // one too many does no harm
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
