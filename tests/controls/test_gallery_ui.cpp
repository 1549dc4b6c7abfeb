// Renders the control kit and the artwork into PNG files in the build folder
// ("gallery.png", "artwork.png"), for a person to look at; the checks make
// sure every piece actually drew.
#include "controls/menustyles.h"
#include "controls/schemes.h"
#include "controls/vrnbutton.h"
#include "controls/vrnhtml.h"
#include "controls/vrnurllabel.h"
#include "platform/pictures_ui.h"
#include "platform/qtstrings_ui.h"
#include "shell/msgdlg_ui.h"
#include "storage/verification.h"
#include "storage/verifydlg_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>

namespace {

const char* const kSchemes[6] = {"Green", "Gold", "Aqua", "Blue", "Purple", "Silver"};

QLabel* Heading(const QString& text, QWidget* parent, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->setFont(ProgramFont(10, true));
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(pal);
    l->move(x, y);
    l->adjustSize();
    return l;
}

TEST(Gallery, ControlKitAndArtwork) {
    QWidget form;
    form.resize(1040, 700);
    form.setAutoFillBackground(true);
    QPalette pal = form.palette();
    pal.setColor(QPalette::Window, Qt::black);
    form.setPalette(pal);

    // Buttons: normal, hot, disabled; a URL label.
    Heading(QStringLiteral("Buttons"), &form, 16, 12);
    auto* normal = new TVrnButton(QStringLiteral("OK"), &form);
    normal->move(16, 40);
    auto* hot = new TVrnButton(QStringLiteral("Verify Now"), &form);
    hot->move(100, 40);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(hot, &enter);
    auto* disabled = new TVrnButton(QStringLiteral("Cancel"), &form);
    disabled->move(184, 40);
    disabled->setEnabled(false);
    auto* url = new TVrnURLLabel(&form);
    url->SetNormalFont({ProgramFont(8), QColor(0xC0, 0xC0, 0xC0)});
    url->move(270, 46);
    url->adjustSize();
    auto* urlHot = new TVrnURLLabel(&form);
    QFont hl = ProgramFont(8, true);
    hl.setUnderline(true);
    urlHot->SetHighlightFont({hl, Qt::white});
    urlHot->move(420, 46);
    QApplication::sendEvent(urlHot, &enter);
    urlHot->adjustSize();

    // Scheme panels, one per wallpaper, framed by the border strip.
    Heading(QStringLiteral("Scheme panels"), &form, 16, 84);
    auto* store = new TepSchemeStore(&form);
    store->SetSmBorder(Artwork(QStringLiteral("SmBorder.png")));
    std::vector<TepSchemeStore*> stores;
    for (int i = 0; i < 6; ++i) {
        auto* st = new TepSchemeStore(&form);
        st->SetSmBorder(Artwork(QStringLiteral("SmBorder.png")));
        st->SetWallPaper(WallpaperTile(i));
        ASSERT_EQ(st->WallPaper().size(), QSize(64, 64)) << kSchemes[i];
        auto* scheme = new TepScheme(&form);
        scheme->SetSchemeStore(st);
        auto* panel = new TepSchemePanel(&form);
        panel->SetScheme(scheme);
        panel->setGeometry(16 + (i % 3) * 170, 112 + (i / 3) * 60, 160, 50);
        auto* name = new QLabel(QString::fromLatin1(kSchemes[i]), panel);
        name->setFont(ProgramFont(10, true));
        QPalette np = name->palette();
        np.setColor(QPalette::WindowText, Qt::white);
        name->setPalette(np);
        name->move(14, 15);
        name->adjustSize();
        stores.push_back(st);
    }

    // A styled pop-up menu, with an image, a selected, a disabled item and
    // both separators.
    Heading(QStringLiteral("Menu"), &form, 540, 84);
    auto* menu = new QMenu(&form);
    menu->setFont(ProgramFont(8));
    QAction* copy = menu->addAction(QIcon(QPixmap::fromImage(Artwork(QStringLiteral("Tree1.png")))),
                                    QStringLiteral("&Copy"));
    menu->addAction(QStringLiteral("Select &All"));
    menu->addSeparator();
    QAction* bookmark = menu->addAction(QStringLiteral("Add &Bookmark"));
    QAction* paste = menu->addAction(QStringLiteral("&Paste"));
    paste->setEnabled(false);
    menu->addSeparator();
    menu->addAction(QStringLiteral("E&xit"));
    TVrnPopUpMenuStyle style(&form);
    menu->setActiveAction(bookmark);
    menu->adjustSize();
    QImage menuImg = menu->grab().toImage();
    auto* menuShot = new QLabel(&form);
    menuShot->setPixmap(QPixmap::fromImage(menuImg));
    menuShot->move(540, 112);
    menuShot->adjustSize();
    const QRect copyRect = menu->actionGeometry(copy);
    EXPECT_EQ(menuImg.pixelColor(copyRect.right() - 4, copyRect.center().y()), QColor(Qt::black));

    // The HTML view with a banner, the welcome pictures and a recitation link.
    Heading(QStringLiteral("HTML view"), &form, 16, 236);
    auto* html = new TVrnHTML(&form);
    html->setGeometry(16, 264, 1008, 420);
    html->setFrameStyle(QFrame::NoFrame);
    html->SetImageRequest([](const std::string& name) {
        if (name == "Welcome1.jpg" || name == "Welcome2.jpg") return Artwork(FromAnsi(name));
        if (name == "Audio.jpg") return Artwork(QStringLiteral("Audio.png"));
        QImage banner = BannerPicture(2);
        QPainter p(&banner);
        p.setFont(ProgramFont(12, true));
        p.setPen(Qt::white);
        p.drawText(QRect(12, 0, 480, 39), Qt::AlignVCenter, QStringLiteral("Welcome to Halvora 1.5"));
        return banner;
    });
    html->SetLinkColors(QColor(0x2B, 0x77, 0x7D), QColor(0x2B, 0x77, 0x7D));
    html->LoadFromString(
        "<html><body bgcolor=\"#000000\" text=\"#FFFFFF\"><A NAME=\"TOP\"></A>"
        "<table width=\"100%\"><tr><td><img src=\"Border.bmp\"></td>"
        "<td align=\"right\"><img src=\"Welcome1.jpg\"></td></tr></table>"
        "<table><tr><td><img src=\"Welcome2.jpg\"></td><td valign=\"top\">"
        "<font face=\"Verdana\" size=\"2\" color=\"#FFFFFF\"><b>Adam [Adam]</b><br>"
        "The first of the prophets. <a href=\"PROF_1\">Read his story</a>.<br><br>"
        "<img src=\"Audio.jpg\"> <a href=\"RAUDIO_002.030\">002.030</a> "
        "<font color=\"#C0C0C0\">And when your Lord said to the angels...</font></font>"
        "</td></tr></table></body></html>");

    const QString out = QStringLiteral(HALVORA_BUILD_DIR "/gallery.png");
    QImage shot = form.grab().toImage();
    ASSERT_TRUE(shot.save(out));
    // The first panel shows its wallpaper, not a flat face.
    const QColor a = shot.pixelColor(16 + 40, 112 + 20), b = shot.pixelColor(16 + 41, 112 + 25);
    EXPECT_NE(a, QColor(Qt::black));
    EXPECT_TRUE(a != b || shot.pixelColor(16 + 60, 112 + 30) != a);

    // Every picture at its size, on one sheet.
    struct Pic {
        const char* name;
        QSize size;
    };
    const Pic pics[] = {
        {"Splash.jpg", {507, 281}},   {"About.png", {353, 81}},     {"Bismillah1.png", {50, 35}},
        {"Bismillah2.png", {121, 24}}, {"Welcome1.jpg", {497, 56}}, {"Welcome2.jpg", {450, 224}},
        {"Audio.png", {19, 16}},       {"SmBorder.png", {48, 5}},
    };
    QImage sheet(1040, 840, QImage::Format_RGB32);
    sheet.fill(QColor(0x20, 0x20, 0x20));
    QPainter p(&sheet);
    int x = 8, y = 8, rowH = 0;
    auto place = [&](const QImage& img, int scale = 1) {
        const QSize s = img.size() * scale;
        if (x + s.width() > sheet.width()) x = 8, y += rowH + 8, rowH = 0;
        p.drawImage(QRect(QPoint(x, y), s), img);
        x += s.width() + 8;
        rowH = std::max(rowH, s.height());
    };
    for (const Pic& pic : pics) {
        QImage img = Artwork(QString::fromLatin1(pic.name));
        EXPECT_EQ(img.size(), pic.size) << pic.name;
        place(img, img.width() < 60 ? 3 : 1);
    }
    for (int i = 0; i < 6; ++i) place(BannerPicture(i));
    for (int i = 0; i < 6; ++i) place(WallpaperTile(i));
    for (const char* icon : {"Status0", "Status1", "Status2", "Tree0", "Tree1", "Tree2", "News0", "News1",
                             "News2", "News3"}) {
        QImage img = Artwork(QString::fromLatin1(icon) + QStringLiteral(".png"));
        EXPECT_EQ(img.size(), QSize(16, 16)) << icon;
        place(img, 3);
    }
    p.end();
    ASSERT_TRUE(sheet.save(QStringLiteral(HALVORA_BUILD_DIR "/artwork.png")));
}

} // namespace

namespace {

class TNamed : public TVerifiableObject {
public:
    explicit TNamed(std::string n) : FName(std::move(n)) {}
    bool Verify() override { return true; }
    std::string GetName() override { return FName; }

private:
    std::string FName;
};

TEST(Gallery, Dialogs) {
    // The message dialog as the error report shows it.
    TfrmMsgDlg msg;
    QImage msgShot;
    int msgWindowHeight = 0;
    {
        TScopedDialogSeam seam{{[&](QDialog& d) -> std::optional<int> {
            msgShot = d.grab().toImage();
            msgWindowHeight = d.frameGeometry().height();
            return mrOk;
        }, {}}};
        ShowMsgDlg(msg, mkConfirmation, 184, mbYesNoCancel,
                   "Do you want to copy the text of this page to the clipboard?\r\n\r\nThe page holds 42 "
                   "Qur'an excerpts.",
                   "Copy Adam's text?", true);
    }
    ASSERT_EQ(msgShot.width(), 442);
    EXPECT_EQ(msgWindowHeight, 184); // the whole window, its title bar included
    EXPECT_EQ(msgShot.pixelColor(400, 150), QColor(0x3E, 0x3E, 0x3E)); // the button strip
    ASSERT_TRUE(msgShot.save(QStringLiteral(HALVORA_BUILD_DIR "/msgdlg.png")));

    // The verification dialog in the middle of a run, with the blue scheme:
    // ticked and unticked lines.
    QWidget form;
    auto* store = new TepSchemeStore(&form);
    store->SetWallPaper(WallpaperTile(3));
    store->SetSmBorder(Artwork(QStringLiteral("SmBorder.png")));
    auto* scheme = new TepScheme(&form);
    scheme->SetSchemeStore(store);
    TVerificationManager manager;
    std::vector<TNamed> modules = {TNamed("Program Integrity Self-Check"), TNamed("Main Documents Module"),
                                   TNamed("Internal Qur'an Translation"), TNamed("Prophets Biographies Module"),
                                   TNamed("Remote Audio Recitation Module"), TNamed("Glossary Module")};
    for (auto& m : modules) manager.Register(m);
    TfrmVerifydlg dlg(nullptr, scheme, &manager);
    TStringList names;
    manager.FillList(names);
    for (const auto& n : names) {
        auto* item = new QListWidgetItem(FromAnsi(n), dlg.chklbxVerify);
        item->setCheckState(dlg.chklbxVerify->count() <= 4 ? Qt::Checked : Qt::Unchecked);
    }
    dlg.lblItem_ID->setText(QStringLiteral("5A1C-99E0-0000-2710"));
    ASSERT_TRUE(dlg.grab().save(QStringLiteral(HALVORA_BUILD_DIR "/verifydlg.png")));
}

} // namespace
