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

#include <chrono>
#include <thread>

void PauseResponsive(int milliseconds) {
    using clock = std::chrono::steady_clock;
    auto end = clock::now() + std::chrono::milliseconds(milliseconds);
    while (clock::now() < end) {
        ProcessMessages();
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - clock::now());
        std::this_thread::sleep_for(std::min(left, std::chrono::milliseconds(10)));
    }
}
