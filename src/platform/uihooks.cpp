#include "platform/uihooks.h"

TUiHooks& UiHooks() {
    static TUiHooks hooks;
    return hooks;
}

void ProcessMessages() {
    if (UiHooks().ProcessMessages) UiHooks().ProcessMessages();
}

void ShowPlainMessage(const std::string& text) {
    if (UiHooks().ShowMessage) UiHooks().ShowMessage(text);
}

void ShowVerifyItemText(const std::string& text) {
    if (UiHooks().ShowVerifyItemText) UiHooks().ShowVerifyItemText(text);
}
