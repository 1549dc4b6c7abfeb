#pragma once
// The desktop around the program: opening addresses and files with the
// user's applications, the message pump, the busy cursor, and the start-up
// wiring of the model's hooks to this window layer.
#include <QString>

#include <functional>
#include <string>

class QUrl;

// Opens a web address or a file with the desktop's application for it. A text
// with a scheme ("http://", "ftp://", "file:///") is taken as a URL; a
// "\\server\share" path as an SMB address; anything else as a local path.
bool ShellOpen(const std::string& target);
// Converts ShellOpen's text to the URL handed to the desktop.
QUrl ShellOpenUrl(const std::string& target);
// Replaces the desktop for tests; returns the previous handler (empty = the
// real desktop).
using TShellOpenHandler = std::function<bool(const QUrl&)>;
TShellOpenHandler SetShellOpenHandler(TShellOpenHandler handler);

// Lets pending window messages run (input, painting, timers).
void PumpMessages();
// (Waiting while the windows stay responsive: PauseResponsive in
// platform/uihooks.h, once InstallWindowLayer has connected the pump.)

// The hourglass over every window while the model works; nests.
void SetBusyCursor(bool busy);
class TBusyCursor {
public:
    TBusyCursor() { SetBusyCursor(true); }
    ~TBusyCursor() { SetBusyCursor(false); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};
