#include "tools/prefsdlg_ui.h"

#include "controls/vrnbutton.h"
#include "platform/dialogs_ui.h"
#include "platform/qtstrings_ui.h"
#include "shell/mainform_ui.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QApplication>

#include <algorithm>
#include <functional>

TfrmPrefsDlg* frmPrefsDlg = nullptr;

namespace {

const char* const kTipsItem = "Show tips on startup";
const char* const kMaximiseItem = "Maximise on startup";
const char* const kNewsItem = "News on startup (if connected)";
const char* const kColourNames[6] = {"Grn", "Gold", "Aqua", "Blue", "Prpl", "Silver"};
// The swatches' names, Green to Silver, in each panel.
const int kSchemeShapes[6] = {3, 2, 4, 7, 6, 5};
const int kHighlightShapes[6] = {9, 8, 10, 13, 12, 11};

// A colour swatch with a white outline; a press checks the radio button below it.
class TSwatch : public QWidget {
public:
    TSwatch(const QColor& colour, QWidget* parent) : QWidget(parent), FColour(colour) {
        setFixedSize(14, 14);
        setCursor(Qt::PointingHandCursor);
    }
    std::function<void()> OnMouseDown;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), FColour);
        p.setPen(Qt::white);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && OnMouseDown) OnMouseDown();
    }

private:
    QColor FColour;
};

// Draws each item's check box white with a black tick: on the list's black
// background the style's own box would vanish.
class TCheckItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        if (!(opt.features & QStyleOptionViewItem::HasCheckIndicator)) {
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
            return;
        }
        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget);
        const int side = std::min({area.width(), area.height(), 13});
        const QRect box(area.left(), area.center().y() - side / 2, side, side);
        painter->save();
        painter->fillRect(box, Qt::white);
        painter->setPen(QColor(0x80, 0x80, 0x80));
        painter->drawRect(box.adjusted(0, 0, -1, -1));
        if (opt.checkState == Qt::Checked) {
            painter->setRenderHint(QPainter::Antialiasing, true);
            painter->setPen(QPen(Qt::black, 2));
            const QRectF r = QRectF(box).adjusted(3, 3, -3, -3);
            painter->drawPolyline(QPolygonF({QPointF(r.left(), r.center().y()),
                                             QPointF(r.left() + r.width() * 0.4, r.bottom()),
                                             QPointF(r.right(), r.top())}));
        }
        painter->restore();
        opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        opt.rect.setLeft(area.right() + 5);
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    }
};

QLabel* WhiteLabel(const QString& text, QWidget* parent, int size, bool bold, QRect geometry) {
    auto* l = new QLabel(text, parent);
    l->setFont(ProgramFont(size, bold));
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(pal);
    l->setGeometry(geometry);
    return l;
}

void ApplyToMainWindow(const THVPrefs& r) {
    if (frmMain) frmMain->ApplySettings(r);
}

} // namespace

TfrmPrefsDlg::TfrmPrefsDlg(QWidget* parent) : QDialog(parent), FWorking(StoredPrefs()) {
    setObjectName("frmPrefsDlg");
    setWindowTitle("Preferences");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::CustomizeWindowHint);
    setFixedSize(351, 281);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);

    lblHeading = WhiteLabel("Halvora Options", this, 10, true, {12, 8, 240, 20});
    Shape1 = new QWidget(this);
    Shape1->setGeometry(12, 31, 240, 1);
    Shape1->setAutoFillBackground(true);
    QPalette sp = Shape1->palette();
    sp.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    Shape1->setPalette(sp);

    Label1 = WhiteLabel("General Options", this, 8, true, {12, 40, 240, 16});
    chklbxGen = new QListWidget(this);
    chklbxGen->setGeometry(12, 58, 240, 62);
    chklbxGen->setFont(ProgramFont(8));
    chklbxGen->setFrameShape(QFrame::Box);
    chklbxGen->setItemDelegate(new TCheckItemDelegate(chklbxGen));
    {
        QPalette lp = chklbxGen->palette();
        lp.setColor(QPalette::Base, Qt::black);
        lp.setColor(QPalette::Text, Qt::white);
        lp.setColor(QPalette::WindowText, Qt::white);
        chklbxGen->setPalette(lp);
    }

    Label2 = WhiteLabel("Colour Scheme", this, 8, true, {12, 128, 240, 16});
    pnlColorScheme = new QFrame(this);
    pnlColorScheme->setGeometry(12, 146, 157, 45);
    Label3 = WhiteLabel("Text Highlight Colour", this, 8, true, {12, 198, 240, 16});
    pnlColorWordHL = new QFrame(this);
    pnlColorWordHL->setGeometry(12, 216, 157, 45);
    BuildColourPanel(pnlColorScheme, SchemeRadios, SchemeSwatches, "");
    BuildColourPanel(pnlColorWordHL, HighlightRadios, HighlightSwatches, "2");
    // The form's design choice; a stored value that matches no button keeps it.
    SchemeRadios[scGold]->setChecked(true);
    HighlightRadios[scGold]->setChecked(true);
    for (auto* radios : {&SchemeRadios, &HighlightRadios})
        for (QRadioButton* rb : *radios)
            connect(rb, &QRadioButton::toggled, this, [this](bool on) {
                if (on) ColourClick();
            });

    pnlRightBtns = new QWidget(this);
    pnlRightBtns->setGeometry(264, 0, 87, 281);
    pnlRightBtns->setAutoFillBackground(true);
    QPalette rp = pnlRightBtns->palette();
    rp.setColor(QPalette::Window, ColorFromRef(4079166));
    pnlRightBtns->setPalette(rp);
    btnOK = new TVrnButton("OK", pnlRightBtns);
    btnOK->setGeometry(6, 12, 75, 24);
    btnOK->SetModalResult(mrOk);
    btnCancel = new TVrnButton("Cancel", pnlRightBtns);
    btnCancel->setGeometry(6, 42, 75, 24);
    btnCancel->SetModalResult(mrCancel);
    btnDefaults = new TVrnButton("Defaults", pnlRightBtns);
    btnDefaults->setGeometry(6, 245, 75, 24);
    for (TVrnButton* b : {btnOK, btnCancel, btnDefaults}) b->setFont(ProgramFont(8));
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
    connect(btnDefaults, &QPushButton::clicked, this, [this] { btnDefaultsClick(); });

    if (!frmPrefsDlg) frmPrefsDlg = this;
}

TfrmPrefsDlg::~TfrmPrefsDlg() {
    if (frmPrefsDlg == this) frmPrefsDlg = nullptr;
}

void TfrmPrefsDlg::BuildColourPanel(QFrame* panel, std::array<QRadioButton*, 6>& radios,
                                    std::array<QWidget*, 6>& swatches, const char* suffix) {
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::black);
    panel->setPalette(pal);
    auto* group = new QButtonGroup(panel);
    group->setExclusive(true);
    const int* shapes = suffix[0] ? kHighlightShapes : kSchemeShapes;
    for (int i = 0; i < 6; ++i) {
        const int left = 8 + 24 * i;
        auto* swatch = new TSwatch(ColorFromRef(kSwatchColours[static_cast<size_t>(i)]), panel);
        swatch->setObjectName(QString("Shape%1").arg(shapes[i]));
        swatch->move(left, 6);
        auto* rb = new QRadioButton(panel);
        rb->setObjectName(QString("rb%1%2").arg(kColourNames[i], suffix));
        rb->setProperty("tag", i);
        rb->setGeometry(left - 1, 23, 16, 16);
        rb->setCursor(Qt::PointingHandCursor);
        group->addButton(rb, i);
        swatch->OnMouseDown = [rb] { rb->setChecked(true); };
        radios[static_cast<size_t>(i)] = rb;
        swatches[static_cast<size_t>(i)] = swatch;
    }
}

void TfrmPrefsDlg::Execute() {
    FWorking = StoredPrefs();
    ShowSettings(FWorking);
}

void TfrmPrefsDlg::ShowSettings(THVPrefs r) {
    chklbxGen->clear();
    auto add = [this](const char* text, bool checked) {
        auto* item = new QListWidgetItem(text, chklbxGen);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    };
    add(kTipsItem, r.StartUpTips);
    add(kMaximiseItem, r.Maximise);
    add(kNewsItem, r.NewsOnStart);
    // A button that becomes checked previews at once.
    for (QRadioButton* rb : SchemeRadios)
        if (rb->property("tag").toInt() == r.ColorScheme) rb->setChecked(true);
    for (QRadioButton* rb : HighlightRadios)
        if (rb->property("tag").toInt() == r.ColorWordHL) rb->setChecked(true);
    if (isVisible()) return;
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    ExecModal(*this);
}

void TfrmPrefsDlg::ReadControls() {
    auto checked = [this](const char* text) {
        for (int i = 0; i < chklbxGen->count(); ++i)
            if (chklbxGen->item(i)->text() == QLatin1String(text))
                return chklbxGen->item(i)->checkState() == Qt::Checked;
        return false;
    };
    FWorking.StartUpTips = checked(kTipsItem);
    FWorking.Maximise = checked(kMaximiseItem);
    FWorking.NewsOnStart = checked(kNewsItem);
    for (QRadioButton* rb : SchemeRadios)
        if (rb->isChecked()) FWorking.ColorScheme = static_cast<uint8_t>(rb->property("tag").toInt());
    for (QRadioButton* rb : HighlightRadios)
        if (rb->isChecked()) FWorking.ColorWordHL = static_cast<uint8_t>(rb->property("tag").toInt());
}

void TfrmPrefsDlg::ColourClick() {
    ReadControls();
    ApplyToMainWindow(FWorking);
}

void TfrmPrefsDlg::btnOKClick() {
    ReadControls();
    StoredPrefs() = FWorking;
    SaveSettings();
    ApplyToMainWindow(StoredPrefs());
}

void TfrmPrefsDlg::btnCancelClick() { ApplyToMainWindow(StoredPrefs()); }

void TfrmPrefsDlg::reject() {
    // Escape and the window's close undo the preview as Cancel does.
    btnCancelClick();
    QDialog::reject();
}

void TfrmPrefsDlg::btnDefaultsClick() {
    FWorking = DefaultPrefs();
    ShowSettings(FWorking);
}
