#pragma once
// Back/forward positions: a pointer over a counted range that keeps a pair
// of buttons enabled exactly when a step in their direction exists, and a
// list of visited items with such a pointer inside.
#include "util/errors.h"
#include "util/strutils.h"

#include <cstdint>
#include <functional>
#include <string>

class TVrnNavPointer;
using TNavEvent = std::function<void(TVrnNavPointer& pointer, int32_t position)>;
// A button as the pointer sees it: something to enable or disable.
using TNavButton = std::function<void(bool enabled)>;

// The list error of a pointer set outside its range.
class EListError : public EHalvoraError {
public:
    using EHalvoraError::EHalvoraError;
};

class TVrnNavPointer {
public:
    explicit TVrnNavPointer(int32_t count = 0);

    void SetButtons(TNavButton back, TNavButton forward);
    void UpdateState();
    void SetPosition(int32_t index);
    void GoForward();
    void GoBack();
    void SetCount(int32_t count);

    int32_t Count() const { return FCount; }
    int32_t Position() const { return FPosition; }
    bool GoForwardEnabled() const { return FGoForwardEnabled; }
    bool GoBackEnabled() const { return FGoBackEnabled; }

    TNavEvent OnReachStart;
    TNavEvent OnReachEnd;
    TNavEvent OnChange;

private:
    TNavButton FBackButton, FForwardButton;
    bool FGoForwardEnabled = false;
    bool FGoBackEnabled = false;
    int32_t FCount;
    int32_t FPosition = -1;
};

class TVrnHistoryList {
public:
    TVrnHistoryList();
    TVrnHistoryList(const TVrnHistoryList&) = delete;
    TVrnHistoryList& operator=(const TVrnHistoryList&) = delete;

    int Add(const std::string& text);
    void Assign(const TStringList& source);
    // Replaces the string at index (ERangeError outside the list).
    void Put(int index, const std::string& text);
    // Drops the strings after the current one, as a browser does when a new
    // page is visited after going back.
    void DropAhead();
    void GoBack() { FPointer.GoBack(); }
    void GoForward() { FPointer.GoForward(); }
    void SetButtons(TNavButton back, TNavButton forward) {
        FPointer.SetButtons(std::move(back), std::move(forward));
    }

    int32_t Current() const { return FPointer.Position(); }
    bool GoForwardEnabled() const { return FPointer.GoForwardEnabled(); }
    bool GoBackEnabled() const { return FPointer.GoBackEnabled(); }
    int Count() const { return static_cast<int>(FStrings.size()); }
    const std::string& operator[](int index) const { return FStrings.at(static_cast<size_t>(index)); }
    const TStringList& Strings() const { return FStrings; }

    TNavEvent OnReachStart;
    TNavEvent OnReachEnd;

private:
    TStringList FStrings;
    TVrnNavPointer FPointer;
};
