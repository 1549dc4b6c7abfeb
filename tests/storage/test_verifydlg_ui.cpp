#include "controls/vrnbutton.h"
#include "platform/dialogs_ui.h"
#include "platform/uihooks.h"
#include "storage/verification.h"
#include "storage/verifydlg_ui.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>

#include <functional>
#include <string>
#include <vector>

namespace {

class TFakeModule : public TVerifiableObject {
public:
    TFakeModule(std::string name, TfrmVerifydlg*& dlg) : FName(std::move(name)), FDlg(dlg) {}
    bool Verify() override {
        ++Calls;
        if (FDlg) {
            ButtonsEnabledDuringRun = ButtonsEnabledDuringRun || FDlg->btnOK->isEnabled() ||
                                      FDlg->btnVerify->isEnabled();
            TickedBefore = FDlg->chklbxVerify->item(0)->checkState() == Qt::Checked;
        }
        if (OnVerify) OnVerify();
        ShowVerifyItemText("checking " + FName);
        if (!Intact) FatalVerificationFailure();
        return Intact;
    }
    std::string GetName() override { return FName; }
    bool Intact = true;
    std::function<void()> OnVerify;
    int Calls = 0;
    bool ButtonsEnabledDuringRun = false;
    bool TickedBefore = false;

private:
    std::string FName;
    TfrmVerifydlg*& FDlg;
};

class VerifyDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFailureShown();
        previous = SetVerificationHandlers({
            [this](const std::string& heading, const std::string&) { severe.push_back(heading); },
            [this] { ++terminations; },
        });
        const char* names[6] = {"Program Integrity Self-Check", "Main Documents Module",
                                "Internal Qur'an Translation", "Prophets Biographies Module",
                                "Remote Audio Recitation Module", "Glossary Module"};
        for (const char* n : names) modules.emplace_back(n, dlgRef);
    }
    void TearDown() override {
        SetVerificationHandlers(previous);
        ResetFailureShown();
    }
    void RegisterAll() {
        for (auto& m : modules) manager.Register(m);
    }
    std::vector<int> Ticks(TfrmVerifydlg& dlg) {
        std::vector<int> t;
        for (int i = 0; i < dlg.chklbxVerify->count(); ++i)
            t.push_back(dlg.chklbxVerify->item(i)->checkState() == Qt::Checked);
        return t;
    }

    std::vector<TFakeModule> modules;
    TVerificationManager manager;
    TfrmVerifydlg* dlgRef = nullptr;
    std::vector<std::string> severe;
    int terminations = 0;
    TVerificationHandlers previous;
};

TEST_F(VerifyDlgTest, AutomaticRunTicksEveryModuleAndClosesItself) {
    RegisterAll();
    TfrmVerifydlg dlg(nullptr, nullptr, &manager);
    dlgRef = &dlg;
    std::vector<int> ticksAtClose;
    QString statusAtClose;
    QObject::connect(&dlg, &QDialog::finished, [&] {
        ticksAtClose = Ticks(dlg);
        statusAtClose = dlg.lblItem_ID->text();
    });
    QElapsedTimer clock;
    clock.start();
    dlg.AutoVerify(); // runs for real: the timer starts the run, the run closes the dialog
    const qint64 took = clock.elapsed();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(dlg.AutoClose);
    EXPECT_EQ(ticksAtClose, std::vector<int>(6, 1));
    EXPECT_EQ(statusAtClose, QStringLiteral("Verification Complete - Passed."));
    // The timer's half second, then a pause after each of the six modules.
    EXPECT_GE(took, 500 + 6 * TfrmVerifydlg::kModulePauseMs);
    for (auto& m : modules) {
        EXPECT_EQ(m.Calls, 1);
        EXPECT_FALSE(m.ButtonsEnabledDuringRun);
    }
    EXPECT_TRUE(severe.empty());
}

TEST_F(VerifyDlgTest, ManualRunsRefillTheListAndFailuresAreReportedOnce) {
    modules[2].Intact = false;
    modules[5].Intact = false;
    RegisterAll();
    TfrmVerifydlg dlg(nullptr, nullptr, &manager);
    dlgRef = &dlg;
    std::vector<std::vector<int>> ticks;
    std::vector<QString> status;
    QString firstStatus;
    TScopedDialogSeam seam{{[&](QDialog&) -> std::optional<int> {
        firstStatus = dlg.lblItem_ID->text();
        for (int run = 0; run < 2; ++run) {
            dlg.btnVerify->click();
            ticks.push_back(Ticks(dlg));
            status.push_back(dlg.lblItem_ID->text());
            EXPECT_TRUE(dlg.btnOK->isEnabled());
            EXPECT_TRUE(dlg.isVisible()); // a manual run stays open
        }
        dlg.btnOK->click();
        return dlg.result();
    }, {}}};
    dlg.ShowVerify();
    EXPECT_EQ(firstStatus, QStringLiteral("Click on \"Verify Now\" to start..."));
    ASSERT_EQ(ticks.size(), 2u);
    const std::vector<int> expected = {1, 1, 0, 1, 1, 0};
    EXPECT_EQ(ticks[0], expected);
    EXPECT_EQ(ticks[1], expected);
    // The second run starts from an unticked list.
    EXPECT_FALSE(modules[0].TickedBefore);
    for (const QString& s : status) EXPECT_NE(s, QStringLiteral("Verification Complete - Passed."));
    EXPECT_EQ(status[0], QStringLiteral("checking Glossary Module")); // modules' own status text
    EXPECT_EQ(severe, std::vector<std::string>{"Verification Failed!"});
    EXPECT_EQ(terminations, 1);
    for (auto& m : modules) EXPECT_EQ(m.Calls, 2);
}

// What each line of the list shows: a box, and a tick in it.
std::vector<std::pair<bool, bool>> Boxes(TfrmVerifydlg& dlg) {
    const QImage img = dlg.chklbxVerify->viewport()->grab().toImage();
    std::vector<std::pair<bool, bool>> lines;
    for (int i = 0; i < dlg.chklbxVerify->count(); ++i) {
        const QRect row = dlg.chklbxVerify->visualItemRect(dlg.chklbxVerify->item(i));
        int silver = 0, white = 0;
        for (int y = row.top(); y <= row.bottom(); ++y)
            for (int x = row.left(); x < row.left() + 20; ++x) {
                const QColor c = img.pixelColor(x, y);
                silver += c == QColor(0xC0, 0xC0, 0xC0);
                white += c.lightness() > 200 && c != QColor(0xC0, 0xC0, 0xC0);
            }
        lines.push_back({silver >= 40, white > 4});
    }
    return lines;
}

void Shot(QWidget& w, const char* name) {
    const QString folder = QStringLiteral(HALVORA_BUILD_DIR "/screenshots");
    QDir().mkpath(folder);
    EXPECT_TRUE(w.grab().save(folder + "/" + name)) << name;
}

TEST_F(VerifyDlgTest, BoxesShowUntickedAndTickedBeforeDuringAndAfterAFailedRun) {
    modules[2].Intact = false;
    RegisterAll();
    TfrmVerifydlg dlg(nullptr, nullptr, &manager);
    dlgRef = &dlg;
    using Lines = std::vector<std::pair<bool, bool>>;
    Lines before, during, after;
    modules[4].OnVerify = [&] {
        during = Boxes(dlg);
        Shot(dlg, "verify_during.png");
    };
    TScopedDialogSeam seam{{[&](QDialog&) -> std::optional<int> {
        dlg.show();
        before = Boxes(dlg);
        Shot(dlg, "verify_before.png");
        dlg.btnVerify->click();
        after = Boxes(dlg);
        Shot(dlg, "verify_after_failure.png");
        dlg.btnOK->click();
        return dlg.result();
    }, {}}};
    dlg.ShowVerify();
    const std::pair<bool, bool> box{true, false}, ticked{true, true};
    EXPECT_EQ(before, Lines(6, box));
    EXPECT_EQ(during, (Lines{ticked, ticked, box, ticked, box, box}));
    EXPECT_EQ(after, (Lines{ticked, ticked, box, ticked, ticked, ticked}));
    EXPECT_EQ(terminations, 1);
}

TEST_F(VerifyDlgTest, ModuleRegisteredTwiceIsListedAndCheckedTwice) {
    manager.Register(modules[0]);
    manager.Register(modules[0]);
    TfrmVerifydlg dlg(nullptr, nullptr, &manager);
    TScopedDialogSeam seam{{[&](QDialog&) -> std::optional<int> {
        dlg.btnVerify->click();
        return 1;
    }, {}}};
    dlg.ShowVerify();
    EXPECT_EQ(dlg.chklbxVerify->count(), 2);
    EXPECT_EQ(Ticks(dlg), (std::vector<int>{1, 1}));
    EXPECT_EQ(modules[0].Calls, 2);
}

TEST_F(VerifyDlgTest, BusyDialogCannotBeClosedAndSetBusyTogglesButtons) {
    TfrmVerifydlg dlg(nullptr, nullptr, &manager);
    dlg.show();
    dlg.SetBusy(true);
    EXPECT_FALSE(dlg.btnOK->isEnabled());
    EXPECT_FALSE(dlg.btnVerify->isEnabled());
    dlg.close();
    EXPECT_TRUE(dlg.isVisible());
    dlg.SetBusy(false);
    EXPECT_TRUE(dlg.btnVerify->isEnabled());
    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
    // The modules' status hook reaches the program's dialog, and a second
    // dialog coming and going does not take it away.
    { TfrmVerifydlg other(nullptr, nullptr, &manager); }
    ShowVerifyItemText("5A1C-99E0-0000-2710");
    EXPECT_EQ(dlg.lblItem_ID->text(), QStringLiteral("5A1C-99E0-0000-2710"));
}

TEST_F(VerifyDlgTest, StatusHookGoesWithTheDialog) {
    {
        TfrmVerifydlg dlg(nullptr, nullptr, &manager);
        EXPECT_EQ(frmVerifydlg, &dlg);
    }
    EXPECT_EQ(frmVerifydlg, nullptr);
    ShowVerifyItemText("nobody shows this"); // must not reach a freed dialog
}

} // namespace
