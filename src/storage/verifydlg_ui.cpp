#include "storage/verifydlg_ui.h"

#include "controls/schemes.h"
#include "controls/vrnbutton.h"
#include "platform/desktop_ui.h"
#include "platform/dialogs_ui.h"
#include "platform/qtstrings_ui.h"
#include "platform/uihooks.h"
#include "storage/verification.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <QScreen>

TfrmVerifydlg* frmVerifydlg = nullptr;

namespace {
const char* const kFirstStatus = "Click on \"Verify Now\" to start...";

// The list is disabled so that the reader cannot tick it, and a disabled
// check box comes out black on black: every line gets a silver box of its
// own, with a white tick once its module has passed.
class TCheckLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QRect r = opt.rect;
        const QRect box(r.left() + 3, r.top() + (r.height() - kBox) / 2, kBox, kBox);
        p->save();
        p->fillRect(r, Qt::black);
        p->setPen(QColor(0xC0, 0xC0, 0xC0));
        p->setBrush(Qt::NoBrush);
        p->drawRect(box.adjusted(0, 0, -1, -1));
        if (index.data(Qt::CheckStateRole).toInt() == Qt::Checked) {
            p->setRenderHint(QPainter::Antialiasing);
            p->setPen(QPen(Qt::white, 2));
            const QPointF tick[3] = {QPointF(box.left() + 3, box.center().y()),
                                     QPointF(box.left() + 5.5, box.bottom() - 3),
                                     QPointF(box.right() - 2.5, box.top() + 3)};
            p->drawPolyline(tick, 3);
            p->setRenderHint(QPainter::Antialiasing, false);
        }
        p->setFont(opt.font);
        p->setPen(Qt::white);
        p->drawText(QRect(box.right() + 7, r.top(), r.right() - box.right() - 7, r.height()),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, opt.text);
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        return {s.width(), std::max(s.height(), kBox + 4)};
    }

private:
    static constexpr int kBox = 13;
};
} // namespace

TfrmVerifydlg::TfrmVerifydlg(QWidget* parent, TepScheme* scheme, TVerificationManager* manager)
    : QDialog(parent), FManager(manager ? manager : &VerificationManager()) {
    setWindowTitle(QStringLiteral("Anti-Tamper"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    pal.setColor(QPalette::Base, Qt::black);
    pal.setColor(QPalette::Text, Qt::white);
    setPalette(pal);
    setFixedSize(360, 268);

    spnlName = new TepSchemePanel(this);
    spnlName->setGeometry(0, 0, 360, 30);
    if (scheme) spnlName->SetScheme(scheme);
    lblWinName = new QLabel(QStringLiteral("Verifies All Ostravel Software Components"), spnlName);
    lblWinName->setFont(ProgramFont(10, true));
    lblWinName->setGeometry(12, 5, 340, 20);

    chklbxVerify = new QListWidget(this);
    chklbxVerify->setGeometry(12, 42, 336, 150);
    chklbxVerify->setFont(ProgramFont(8));
    chklbxVerify->setEnabled(false);
    chklbxVerify->setItemDelegate(new TCheckLineDelegate(chklbxVerify));
    // Disabled, but as legible as the rest of the dialog.
    QPalette lp = chklbxVerify->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        lp.setColor(group, QPalette::Base, Qt::black);
        lp.setColor(group, QPalette::Text, Qt::white);
    }
    chklbxVerify->setPalette(lp);

    lblItem_ID = new QLabel(QString::fromLatin1(kFirstStatus), this);
    lblItem_ID->setFont(ProgramFont(8));
    lblItem_ID->setGeometry(12, 198, 336, 20);
    QPalette sp = lblItem_ID->palette();
    sp.setColor(QPalette::WindowText, QColor(0xC0, 0xC0, 0xC0));
    lblItem_ID->setPalette(sp);

    btnVerify = new TVrnButton(QStringLiteral("Verify Now"), this);
    btnVerify->setGeometry(192, 230, 75, 25);
    btnOK = new TVrnButton(QStringLiteral("OK"), this);
    btnOK->setGeometry(273, 230, 75, 25);
    btnOK->SetModalResult(1);
    connect(btnVerify, &QPushButton::clicked, this, &TfrmVerifydlg::btnVerifyClick);

    tmrVerify.setInterval(500);
    tmrVerify.setSingleShot(true);
    tmrVerify.setTimerType(Qt::PreciseTimer);
    connect(&tmrVerify, &QTimer::timeout, this, &TfrmVerifydlg::tmrVerifyTimer);

    // The program's dialog shows the signatures modules compute while it exists.
    if (!frmVerifydlg) {
        frmVerifydlg = this;
        UiHooks().ShowVerifyItemText = [this](const std::string& text) { ShowItemText(text); };
    }
}

TfrmVerifydlg::~TfrmVerifydlg() {
    if (frmVerifydlg == this) {
        frmVerifydlg = nullptr;
        UiHooks().ShowVerifyItemText = nullptr;
    }
}

void TfrmVerifydlg::SetScheme(TepScheme* scheme) { spnlName->SetScheme(scheme); }

void TfrmVerifydlg::FillList() {
    TStringList names;
    FManager->FillList(names);
    chklbxVerify->clear();
    for (const auto& n : names) {
        auto* item = new QListWidgetItem(FromAnsi(n), chklbxVerify);
        item->setCheckState(Qt::Unchecked);
    }
}

void TfrmVerifydlg::ShowVerify() {
    lblItem_ID->setText(QString::fromLatin1(kFirstStatus));
    FillList();
    SetBusy(false);
    if (isVisible()) return;
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    ExecModal(*this);
}

void TfrmVerifydlg::AutoVerify() {
    AutoClose = true;
    tmrVerify.start();
    ShowVerify();
}

void TfrmVerifydlg::SetBusy(bool busy) {
    FBusy = busy;
    btnOK->setEnabled(!busy);
    btnVerify->setEnabled(!busy);
}

void TfrmVerifydlg::ShowItemText(const std::string& text) {
    lblItem_ID->setText(FromAnsi(text));
    PumpMessages();
}

void TfrmVerifydlg::VerifyAll() {
    FillList();
    SetBusy(true);
    repaint();
    bool allPassed = true;
    // Modules are looked up by position: a run may outlast a window that
    // unregisters its module, and the list may not hold a stale reference.
    for (std::size_t i = 0; i < FManager->Count(); ++i) {
        const bool ok = FManager->Module(i).Verify();
        PauseResponsive(kModulePauseMs);
        if (ok) {
            if (QListWidgetItem* item = chklbxVerify->item(int(i))) item->setCheckState(Qt::Checked);
        } else {
            allPassed = false;
        }
    }
    if (allPassed) lblItem_ID->setText(QStringLiteral("Verification Complete - Passed."));
    if (AutoClose) {
        FBusy = false;
        done(1);
    } else {
        SetBusy(false);
    }
}

void TfrmVerifydlg::btnVerifyClick() {
    SetBusy(true);
    VerifyAll();
    SetBusy(false);
}

void TfrmVerifydlg::tmrVerifyTimer() {
    tmrVerify.stop();
    VerifyAll();
}

void TfrmVerifydlg::closeEvent(QCloseEvent* e) {
    // A run in progress cannot be walked away from.
    if (FBusy) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

void TfrmVerifydlg::done(int result) {
    if (FBusy) return;
    AutoClose = false;
    tmrVerify.stop();
    QDialog::done(result);
}
