#include "controls/vrnbutton.h"
#include "platform/qtstrings_ui.h"
#include "shell/msgdlg_ui.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QThread>
#include <QTimer>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

// What the reader saw when the dialog came up.
struct Seen {
    QString caption;
    QColor heading;
    QString headingText;
    QString message;
    std::vector<std::string> buttons; // visible captions, top to bottom
    int height = 0;
};

Seen Look(QDialog& d) {
    auto& dlg = static_cast<TfrmMsgDlg&>(d);
    Seen s;
    s.caption = dlg.windowTitle();
    s.heading = dlg.lblHeading->palette().color(QPalette::WindowText);
    s.headingText = dlg.lblHeading->text();
    s.message = dlg.lblMessage->text();
    for (TVrnButton* b : {dlg.btnR1, dlg.btnR2, dlg.btnR3})
        if (b->isVisible()) s.buttons.push_back(b->text().toStdString());
    s.height = dlg.frameGeometry().height(); // the whole window, title bar included
    return s;
}

// Answers every dialog by pressing the visible button with the caption.
struct Reader {
    std::vector<Seen> seen;
    std::string press;
    TScopedDialogSeam seam{{[this](QDialog& d) -> std::optional<int> {
        seen.push_back(Look(d));
        auto& dlg = static_cast<TfrmMsgDlg&>(d);
        if (press == "frame") {
            dlg.close();
            return dlg.result();
        }
        for (TVrnButton* b : {dlg.btnR1, dlg.btnR2, dlg.btnR3})
            if (b->isVisible() && b->text().toStdString() == press) b->click();
        return dlg.result();
    }, {}}};
};

TEST(MsgDlg, ButtonSetsAcrossConsecutiveCalls) {
    Reader r;
    TfrmMsgDlg dlg;
    struct Case {
        uint16_t set;
        std::vector<std::string> shown;
        std::string press;
        int result;
    };
    // Each call follows a set that showed more (or other) buttons.
    const Case cases[] = {
        {mbYesNoCancel, {"Yes", "No", "Cancel"}, "Cancel", mrCancel},
        {mbOKOnly, {"OK"}, "OK", mrOk},
        {mbYesNo, {"Yes", "No"}, "No", mrNo},
        {mbAbortRetryIgnore, {"Abort", "Retry", "Ignore"}, "Retry", mrRetry},
        {mbOKCancel, {"OK", "Cancel"}, "OK", mrOk},
        {mbYesNoCancel, {"Yes", "No", "Cancel"}, "Yes", mrYes},
        {mbAbortRetryIgnore, {"Abort", "Retry", "Ignore"}, "Ignore", mrIgnore},
        {mbAbortRetryIgnore, {"Abort", "Retry", "Ignore"}, "Abort", mrAbort},
    };
    for (const Case& c : cases) {
        r.press = c.press;
        EXPECT_EQ(ShowMsgDlg(dlg, mkConfirmation, 164, c.set, "text", "heading", true), c.result)
            << "set " << c.set;
        EXPECT_EQ(r.seen.back().buttons, c.shown) << "set " << c.set;
    }
    // An unknown set keeps the previous call's buttons.
    r.press = "Abort";
    EXPECT_EQ(ShowMsgDlg(dlg, mkConfirmation, 164, mbYes | mbOK, "text", "heading", true), mrAbort);
    EXPECT_EQ(r.seen.back().buttons, (std::vector<std::string>{"Abort", "Retry", "Ignore"}));
}

TEST(MsgDlg, CaptionAndHeadingColourPerKind) {
    Reader r;
    r.press = "OK";
    TfrmMsgDlg dlg;
    const struct {
        uint8_t kind;
        const char* caption;
        QColor colour;
    } kinds[] = {
        {mkWarning, " Warning!", QColor(0xFF, 0xFF, 0x00)},
        {mkError, " Error!", QColor(0xFF, 0x80, 0x40)},
        {mkInformation, " Information!", QColor(0x5B, 0xAD, 0xFF)},
        {mkConfirmation, " Confirmation!", QColor(0x00, 0xFF, 0x00)},
        {mkSevereError, "  Severe/Critical Error!", QColor(0xFF, 0x00, 0x00)},
    };
    for (const auto& k : kinds) {
        ShowMsgDlg(dlg, k.kind, 240, mbOKOnly, "m", "h", true);
        EXPECT_EQ(r.seen.back().caption, QString::fromLatin1(k.caption));
        EXPECT_EQ(r.seen.back().heading, k.colour) << int(k.kind);
        EXPECT_EQ(r.seen.back().height, 240);
    }
    // Uncoloured: the kind's caption but a white heading.
    ShowMsgDlg(dlg, mkError, 184, mbOKOnly, "m", "h", false);
    EXPECT_EQ(r.seen.back().caption, QStringLiteral(" Error!"));
    EXPECT_EQ(r.seen.back().heading, QColor(Qt::white));
    EXPECT_EQ(r.seen.back().height, 184);
    // A kind beyond the table changes neither caption nor colour.
    ShowMsgDlg(dlg, mkInformation, 184, mbOKOnly, "m", "h", true);
    ShowMsgDlg(dlg, 9, 184, mbOKOnly, "m", "h", true);
    EXPECT_EQ(r.seen.back().caption, QStringLiteral(" Information!"));
    EXPECT_EQ(r.seen.back().heading, QColor(0x5B, 0xAD, 0xFF));
}

TEST(MsgDlg, ClosingByTheFrameAnswersCancel) {
    Reader r;
    r.press = "frame";
    TfrmMsgDlg dlg;
    EXPECT_EQ(ShowMsgDlg(dlg, mkConfirmation, 184, mbYesNo, "Copy?", "Copy Adam's text?", true), mrCancel);
    EXPECT_FALSE(dlg.isVisible());
}

TEST(MsgDlg, TextsAreShownAsWindows1252WithLineBreaks) {
    Reader r;
    r.press = "OK";
    TfrmMsgDlg dlg;
    ShowMsgDlg(dlg, mkInformation, 164, mbOKOnly, "Line one\r\nCaf\xe9 \x93quoted\x94", "Bookmark Added!", true);
    EXPECT_EQ(r.seen.back().message, QString::fromUtf8("Line one\nCafé “quoted”"));
    EXPECT_EQ(r.seen.back().headingText, QStringLiteral("Bookmark Added!"));
}

// An object whose slot fails, as an event handler of a window might.
class Thrower : public QObject {
public:
    void Fire() { throw std::runtime_error("List index out of bounds (\"7\")"); }
};

TEST(ErrorReport, ExceptionFromASlotIsReportedAndTheProgramGoesOn) {
    Reader r;
    r.press = "OK";
    Thrower t;
    bool later = false;
    QTimer::singleShot(0, &t, [&t] { t.Fire(); });
    QTimer::singleShot(20, &t, [&later] { later = true; });
    for (int i = 0; i < 50 && !later; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10), QThread::msleep(2);
    ASSERT_EQ(r.seen.size(), 1u);
    const Seen& s = r.seen[0];
    EXPECT_EQ(s.headingText, QStringLiteral("A Software Error has occured!"));
    EXPECT_EQ(s.caption, QStringLiteral(" Error!"));
    EXPECT_EQ(s.height, 260);
    EXPECT_EQ(s.buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(s.message, QStringLiteral("The following Software error has occured: - \n\n\"List index out of "
                                        "bounds (\"7\")\"\n\n\n\nIf this problem persists, please report it."));
    EXPECT_TRUE(later) << "the event loop must carry on after the report";
}

TEST(ErrorReport, SecondRequestWhileShowingIsNotLost) {
    Reader r;
    std::vector<QString> headings;
    TScopedDialogSeam nested{{[&](QDialog& d) -> std::optional<int> {
        auto& dlg = static_cast<TfrmMsgDlg&>(d);
        headings.push_back(dlg.lblHeading->text());
        if (headings.size() == 1) ShowMsgDlg(mkWarning, 164, mbOKOnly, "inner", "Inner", true);
        return mrOk;
    }, {}}};
    EXPECT_EQ(ShowMsgDlg(mkInformation, 164, mbOKOnly, "outer", "Outer", true), mrOk);
    EXPECT_EQ(headings, (std::vector<QString>{"Outer", "Inner"}));
}

} // namespace

namespace {

TEST(Application, CaptionsAreThePrograms) {
    // A display name set on the application is added to every caption by the
    // window system ("Anti-Tamper — Halvora"): the program sets none, so the
    // display name is only ever the application's name.
    const QString name = QGuiApplication::applicationName();
    EXPECT_EQ(name, QStringLiteral("Halvora"));
    QGuiApplication::setApplicationName(QStringLiteral("Probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("Probe"));
    QGuiApplication::setApplicationName(name);
}

} // namespace
