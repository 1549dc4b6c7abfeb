#include "shell/initform_ui.h"

#include "platform/pictures_ui.h"
#include "platform/qtstrings_ui.h"

#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QGuiApplication>
#include <QScreen>

TfrmInit::TfrmInit(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("frmInit");
    setFixedSize(505 + 4, 280 + 4); // client area and its 2-pixel border
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);

    Image1 = new QLabel(this);
    Image1->setGeometry(0, 0, 507, 281);
    Image1->setPixmap(QPixmap::fromImage(Artwork("Splash.jpg")));

    Progress = new QProgressBar(this);
    Progress->setGeometry(324 + 2, 224 + 2, 165, 13);
    Progress->setRange(0, 113);
    Progress->setValue(0);
    Progress->setTextVisible(false);
    Progress->setStyleSheet("QProgressBar { background: #808080; border: none; }"
                            "QProgressBar::chunk { background: #C0C0C0; }");

    Label9 = new QLabel("Loading...", this);
    Label9->setFont(ProgramFont(10, true));
    Label9->setStyleSheet("color: #C0C0C0; background: transparent;");
    Label9->move(248 + 2, 222 + 2);
    Label9->adjustSize();

    lblVersion = new QLabel(this);
    lblVersion->setFont(ProgramFont(8, true));
    lblVersion->setStyleSheet("color: white; background: transparent;");
    lblVersion->move(44 + 2, 252 + 2);

    // Centred on the screen, and visible as soon as it exists.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TfrmInit::showEvent(QShowEvent* e) {
    setWindowTitle(QString("%1 %2").arg(kAppName, kAppVersion));
    lblVersion->setText(QString("Version %1").arg(kAppVersion));
    lblVersion->adjustSize();
    QWidget::showEvent(e);
}

void TfrmInit::SetProgressMax(int32_t count) {
    Progress->setMaximum(count);
    FLastPercent = -1;
}

void TfrmInit::SetProgress(int32_t position) {
    int32_t max = Progress->maximum();
    int32_t pos = std::clamp<int32_t>(position, 0, std::max<int32_t>(max, 0));
    Progress->setValue(pos);
    int percent = max > 0 ? static_cast<int>(int64_t(pos) * 100 / max) : 100;
    if (percent != FLastPercent) {
        FLastPercent = percent;
        ++FRepaints;
        if (isVisible()) Progress->repaint();
    }
}

int32_t TfrmInit::ProgressMax() const { return Progress->maximum(); }
int32_t TfrmInit::ProgressPosition() const { return Progress->value(); }
