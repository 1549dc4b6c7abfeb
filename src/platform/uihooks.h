#pragma once
// What the model asks of the user interface without knowing it: letting
// pending window messages run, a plain message, and the verification
// dialog's status text. The window layer installs the handlers; without them
// each call does nothing.
#include <functional>
#include <string>

struct TUiHooks {
    std::function<void()> ProcessMessages;
    std::function<void(const std::string&)> ShowMessage;
    // Null while the verification dialog does not exist.
    std::function<void(const std::string&)> ShowVerifyItemText;
};

TUiHooks& UiHooks();

void ProcessMessages();
void ShowPlainMessage(const std::string& text);
// Shows a signature in the verification dialog's status label, when it exists.
void ShowVerifyItemText(const std::string& text);
// Waits the given time while letting pending window messages run.
void PauseResponsive(int milliseconds);
