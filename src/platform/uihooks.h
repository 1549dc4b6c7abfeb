#pragma once
// What the model asks of the user interface without knowing it: letting
// pending window messages run, a plain message, the program's message
// dialog, opening a file or address with the desktop, and the verification
// dialog's status text. The window layer installs the handlers; without them
// each call does nothing.
#include "platform/msgcodes.h"

#include <cstdint>
#include <functional>
#include <string>

struct TUiHooks {
    std::function<void()> ProcessMessages;
    std::function<void(const std::string&)> ShowMessage;
    // The message dialog: kind, height, buttons, message, heading, coloured heading.
    std::function<int(uint8_t, int32_t, uint16_t, const std::string&, const std::string&, bool)>
        ShowMessageDialog;
    // The desktop's "open" on a file path or a web address.
    std::function<bool(const std::string&)> ShellOpen;
    // Null while the verification dialog does not exist.
    std::function<void(const std::string&)> ShowVerifyItemText;
};

TUiHooks& UiHooks();

void ProcessMessages();
void ShowPlainMessage(const std::string& text);
// The message dialog's answer (a TModalResult); mrNone without a window layer.
int ShowMessageDialog(uint8_t kind, int32_t height, uint16_t buttons, const std::string& message,
                      const std::string& heading, bool colouredHeading);
// Opens a file or web address with the desktop; false without a window layer.
bool OpenWithShell(const std::string& target);
// Shows a signature in the verification dialog's status label, when it exists.
void ShowVerifyItemText(const std::string& text);
// Waits the given time while letting pending window messages run.
void PauseResponsive(int milliseconds);
// Runs blocking work (a network request) on a thread of its own while the
// windows stay responsive; returns when it is done and passes on its error.
// The work must not touch the windows or the model's shared state.
void RunWhileResponsive(const std::function<void()>& work);
