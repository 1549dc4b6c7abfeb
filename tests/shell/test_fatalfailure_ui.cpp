// The fatal verification failure as the program sees it: the severe message,
// then the end of the event loop. It ends every loop of this process, so it
// lives in a test program of its own.
#include "controls/vrnbutton.h"
#include "shell/msgdlg_ui.h"
#include "storage/verification.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>

namespace {

TEST(FatalFailure, SevereMessageOnceThenTheLoopEnds) {
    ResetFailureShown();
    int shown = 0;
    QString caption, heading;
    int height = 0;
    bool okOnly = false;
    TScopedDialogSeam seam{{[&](QDialog& d) -> std::optional<int> {
        auto& dlg = static_cast<TfrmMsgDlg&>(d);
        ++shown;
        caption = dlg.windowTitle();
        heading = dlg.lblHeading->text();
        height = dlg.frameGeometry().height(); // the whole window
        okOnly = dlg.btnR1->isVisible() && dlg.btnR1->text() == QLatin1String("OK") && !dlg.btnR2->isVisible();
        EXPECT_TRUE(dlg.lblMessage->text().startsWith(QStringLiteral("Severe Software Error:  Verification Failed\n")));
        return mrOk;
    }, {}}};
    EXPECT_FALSE(THalvoraApplication::TerminateRequested());
    FatalVerificationFailure();
    FatalVerificationFailure(); // a second failing module: no second message
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(caption, QStringLiteral("  Severe/Critical Error!"));
    EXPECT_EQ(heading, QStringLiteral("Verification Failed!"));
    EXPECT_EQ(height, 280);
    EXPECT_TRUE(okOnly);
    EXPECT_TRUE(FailureShown());
    EXPECT_TRUE(THalvoraApplication::TerminateRequested());

    // The caller carried on; the loop it returns to ends at once.
    QEventLoop loop;
    bool timedOut = false;
    QTimer::singleShot(3000, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    QElapsedTimer clock;
    clock.start();
    loop.exec();
    EXPECT_FALSE(timedOut);
    EXPECT_LT(clock.elapsed(), 3000);
    // A program asked to end before its loop starts does not start it.
    EXPECT_EQ(THalvoraApplication::Run(), 0);
}

} // namespace
