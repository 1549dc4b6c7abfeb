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

int ShowMessageDialog(uint8_t kind, int32_t height, uint16_t buttons, const std::string& message,
                      const std::string& heading, bool colouredHeading) {
    if (!UiHooks().ShowMessageDialog) return mrNone;
    return UiHooks().ShowMessageDialog(kind, height, buttons, message, heading, colouredHeading);
}

bool OpenWithShell(const std::string& target) {
    return UiHooks().ShellOpen && UiHooks().ShellOpen(target);
}

void ShowVerifyItemText(const std::string& text) {
    if (UiHooks().ShowVerifyItemText) UiHooks().ShowVerifyItemText(text);
}

#include <atomic>
#include <chrono>
#include <exception>
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

void RunWhileResponsive(const std::function<void()>& work) {
    std::exception_ptr error;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            error = std::current_exception();
        }
        done = true;
    });
    while (!done) {
        ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    worker.join();
    if (error) std::rethrow_exception(error);
}
