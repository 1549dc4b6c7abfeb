// The reader tools over the shipped edition, rendered to PNG files under
// build/screenshots/ in a dark (Blue) and a light (Silver) scheme.
#include "controls/vrnbutton.h"
#include "platform/dialogs_ui.h"
#include "shell/initform_ui.h"
#include "shell/mainform_ui.h"
#include "support/edition_fixture.h"
#include "tools/glossarywin_ui.h"
#include "tools/prefsdlg_ui.h"
#include "tools/tipsdlg_ui.h"
#include "util/fileutils.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void Shot(QWidget& w, const QString& name) {
    QApplication::processEvents();
    const QString file = QString(HALVORA_BUILD_DIR) + "/screenshots/" + name;
    EXPECT_TRUE(w.grab().save(file)) << file.toStdString();
}

TEST(ToolsGallery, EachWindowInADarkAndALightScheme) {
    const std::string old = ProgramFolder();
    SetProgramFolder(HALVORA_PROGRAM_DIR);
    QDir().mkpath(QString(HALVORA_BUILD_DIR) + "/screenshots");
    StoredPrefs() = DefaultPrefs();
    {
        TMainWindowOptions o;
        o.SelfCheck = std::make_unique<TPassingCheck>();
        TfrmInit init;
        TfrmMain w(&init, std::move(o));
        TfrmPrefsDlg prefs(&w);
        TfrmTipsDlg tips(w.Scheme, &w);
        TfrmGloss gloss(w.Glossary.get(), w.Scheme, &w);
        w.show();
        w.tmrStartUp.stop();
        tips.RandomIndex = [](int) { return 0; };
        for (auto [scheme, name] : {std::pair<uint8_t, const char*>{scBlue, "dark"}, {scSilver, "light"}}) {
            THVPrefs p = DefaultPrefs();
            p.ColorScheme = scheme;
            p.ColorWordHL = scheme;
            StoredPrefs() = p;
            w.ApplySettings(p);

            gloss.ShowWord("Iblis", true);
            gloss.txtTerm2->setText("nuh");
            gloss.ShowWordQuery();
            gloss.btnProperSpelling->click();
            Shot(gloss, QString("glossary-%1.png").arg(name));
            gloss.hide();

            TScopedDialogSeam seam({[&](QDialog& d) -> std::optional<int> {
                                        if (&d == &tips) {
                                            // The dark one at the third tip, the light one at
                                            // the longest, the last.
                                            for (int i = 0; i < (scheme == scBlue ? 2 : 10); ++i)
                                                tips.btnNext->click();
                                            Shot(d, QString("tips-%1.png").arg(name));
                                        } else {
                                            Shot(d, QString("preferences-%1.png").arg(name));
                                        }
                                        return mrCancel;
                                    },
                                    nullptr});
            tips.ShowTips();
            prefs.Execute();
        }
        SetPageReady(false);
    }
    SetProgramFolder(old);
}

} // namespace
