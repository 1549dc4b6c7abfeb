#include "net/newsform_ui.h"

#include "controls/schemes.h"
#include "controls/vrnbutton.h"
#include "controls/vrntreeview.h"
#include "pages/controlutils_ui.h"
#include "platform/pictures_ui.h"
#include "platform/qtstrings_ui.h"
#include "platform/uihooks.h"
#include "util/fileutils.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

TfrmNews* frmNews = nullptr;

namespace {

constexpr int kNewsUpdateInterval = 300000;
constexpr int kDataRole = Qt::UserRole;

QWidget* BlackStrip(QWidget* parent, int height) {
    auto* w = new QWidget(parent);
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, Qt::black);
    w->setPalette(pal);
    w->setFixedHeight(height);
    return w;
}

QIcon NewsIcon(int index) {
    if (WindowsKind() == 1 || WindowsKind() == 4) return {};
    return QIcon(QPixmap::fromImage(Artwork(QString("News%1.png").arg(index))));
}

} // namespace

TfrmNews::TfrmNews(QWidget* parent) : QWidget(parent, Qt::Window), FManager(std::make_unique<TNewsManager>()) {
    setObjectName("frmNews");
    if (!frmNews) frmNews = this;
    setWindowTitle("Tarnwick Direct");
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    resize(440, 280);
    setMinimumSize(440, 280);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BlackStrip(this, 4));

    spnlName = new TepSchemePanel(this);
    spnlName->setFixedHeight(16);
    {
        auto* caption = new QLabel("Tarnwick Direct - Latest Project and Software Updates News", spnlName);
        caption->setFont(ProgramFont(8, true));
        caption->setStyleSheet("color: white; background: transparent;");
        auto* l = new QHBoxLayout(spnlName);
        l->setContentsMargins(6, 0, 6, 0);
        l->addWidget(caption);
    }
    layout->addWidget(spnlName);

    QWidget* pnlTools = BlackStrip(this, 40);
    auto* tools = new QHBoxLayout(pnlTools);
    tools->setContentsMargins(8, 8, 8, 8);
    tools->setSpacing(12);
    btnUpdate = new TVrnButton("Update", pnlTools);
    btnUpdate->setFixedSize(75, 24);
    btnUpdate->setToolTip("Fetch the latest news now.");
    chkStartUp = new QCheckBox("In Future, Show News at startup, if connection found", pnlTools);
    chkStartUp->setFont(ProgramFont(8));
    {
        // Through the palette: a style sheet colour would also paint the tick white on white.
        QPalette cp = chkStartUp->palette();
        cp.setColor(QPalette::WindowText, Qt::white);
        chkStartUp->setPalette(cp);
    }
    chkStartUp->setCursor(Qt::PointingHandCursor);
    tools->addWidget(btnUpdate);
    tools->addWidget(chkStartUp, 1);
    layout->addWidget(pnlTools);

    trvNews = new TVrnTreeView(this);
    trvNews->setHeaderHidden(true);
    trvNews->setIndentation(19);
    trvNews->setIconSize(QSize(16, 16));
    trvNews->setFont(ProgramFont(8));
    trvNews->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPalette tp = trvNews->palette();
    tp.setColor(QPalette::Base, ColorFromRef(15066597));
    tp.setColor(QPalette::Text, Qt::black);
    trvNews->setPalette(tp);
    trvNews->SetHotTrackColor(Qt::green);
    layout->addWidget(trvNews, 1);

    StatusBar = new QStatusBar(this);
    StatusBar->setSizeGripEnabled(false);
    StatusBar->setFont(ProgramFont(8));
    StatusBar->setStyleSheet("QStatusBar { background: black; color: white; }");
    layout->addWidget(StatusBar);

    tmrNewsUpdate.setInterval(kNewsUpdateInterval);
    connect(&tmrNewsUpdate, &QTimer::timeout, this, [this] { btnUpdateClick(); });
    connect(btnUpdate, &QPushButton::clicked, this, [this] { btnUpdateClick(); });
    connect(chkStartUp, &QCheckBox::clicked, this, [this](bool on) {
        ShowAtStartUp = on;
        if (OnStartUpChange) OnStartUpChange(on);
    });
    connect(trvNews, &QTreeWidget::itemClicked, this, [this] { trvNewsClick(); });
    connect(trvNews, &QTreeWidget::itemActivated, this, [this] { trvNewsClick(); });
    // Updates run every five minutes from creation until the window is first closed.
    tmrNewsUpdate.start();
}

TfrmNews::~TfrmNews() {
    tmrNewsUpdate.stop();
    if (frmNews == this) frmNews = nullptr;
}

void TfrmNews::ShowIfConnected() {
    bool reachable = false;
    std::string server = Server;
    RunWhileResponsive([&] { reachable = NewsServerReachable(server); });
    if (!reachable) return;
    show();
    raise();
    btnUpdateClick();
}

void TfrmNews::ApplyHotTrackColor(const QColor& colour) { trvNews->SetHotTrackColor(colour); }

void TfrmNews::ApplyScheme(TepScheme* scheme) {
    spnlName->SetScheme(scheme);
    spnlName->update();
    spnlName->repaint();
}

void TfrmNews::btnUpdateClick() {
    // A timer tick while an update waits for the server is the same update.
    if (FUpdating) return;
    FUpdating = true;
    btnUpdate->setEnabled(false);
    StatusBar->showMessage("Connecting to Tarnwick Server");
    if (!tmrNewsUpdate.isActive()) tmrNewsUpdate.start();
    // The requests run on a copy, so a click on the tree meanwhile sees a whole state.
    TNewsManager work = *FManager;
    std::string server = Server;
    try {
        RunWhileResponsive([&] {
            work.RequestNews(server + kNewsPath, 3);
            work.RequestSites(server + kSitesPath);
        });
    } catch (...) {
        work.Connected = false;
        work.ServerBusy = false;
    }
    *FManager = std::move(work);
    FillTree();
    StatusBar->clearMessage();
    btnUpdate->setEnabled(true);
    FUpdating = false;
}

void TfrmNews::FillTree() {
    QSignalBlocker block(trvNews);
    trvNews->clear();
    std::vector<QTreeWidgetItem*> items;
    for (const TTreeNodeSpec& n : FManager->FillTree()) {
        QTreeWidgetItem* item = n.Parent < 0 ? new QTreeWidgetItem(trvNews)
                                             : new QTreeWidgetItem(items[static_cast<size_t>(n.Parent)]);
        item->setText(0, FromAnsi(n.Text));
        item->setData(0, kDataRole, n.Data);
        item->setIcon(0, NewsIcon(n.ImageIndex));
        items.push_back(item);
    }
    trvNews->expandAll();
    ScrollToTop(trvNews);
}

void TfrmNews::trvNewsClick() {
    QTreeWidgetItem* node = trvNews->currentItem();
    if (!node) return;
    int32_t data = node->data(0, kDataRole).toInt();
    if (data == 0) return;
    FManager->OpenNode(data, ToAnsi(node->text(0)));
}

void TfrmNews::showEvent(QShowEvent* e) {
    chkStartUp->setChecked(ShowAtStartUp);
    QWidget::showEvent(e);
}

void TfrmNews::closeEvent(QCloseEvent* e) {
    tmrNewsUpdate.stop();
    QWidget::closeEvent(e);
}
