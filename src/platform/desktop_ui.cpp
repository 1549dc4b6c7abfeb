#include "platform/desktop_ui.h"

#include "platform/qtstrings_ui.h"
#include "platform/uihooks.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFile>
#include <QUrl>

#include <utility>

namespace {

TShellOpenHandler& ShellHandler() {
    static TShellOpenHandler handler;
    return handler;
}

} // namespace

QUrl ShellOpenUrl(const std::string& target) {
    QString t = FromAnsi(target);
    if (t.startsWith(QLatin1String("\\\\"))) {
        QString path = t.mid(2);
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        return QUrl(QStringLiteral("smb://") + path);
    }
    static const char* const kSchemes[] = {"http://", "https://", "ftp://", "file://", "mailto:"};
    for (const char* s : kSchemes)
        if (t.startsWith(QLatin1String(s), Qt::CaseInsensitive)) return QUrl(t, QUrl::TolerantMode);
    return QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(target)));
}

bool ShellOpen(const std::string& target) {
    QUrl url = ShellOpenUrl(target);
    if (ShellHandler()) return ShellHandler()(url);
    return QDesktopServices::openUrl(url);
}

TShellOpenHandler SetShellOpenHandler(TShellOpenHandler handler) {
    return std::exchange(ShellHandler(), std::move(handler));
}

void PumpMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void SetBusyCursor(bool busy) {
    if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}
