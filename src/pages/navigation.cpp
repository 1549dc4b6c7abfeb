#include "pages/navigation.h"

TVrnNavPointer::TVrnNavPointer(int32_t count) : FCount(count) { UpdateState(); }

void TVrnNavPointer::SetButtons(TNavButton back, TNavButton forward) {
    FBackButton = std::move(back);
    FForwardButton = std::move(forward);
    UpdateState();
}

void TVrnNavPointer::UpdateState() {
    FGoBackEnabled = FPosition != 0 && FPosition != -1;
    FGoForwardEnabled = FPosition != FCount - 1 && FPosition != -1;
    if (FBackButton) FBackButton(FGoBackEnabled);
    if (FForwardButton) FForwardButton(FGoForwardEnabled);
}

void TVrnNavPointer::SetPosition(int32_t index) {
    if (index < 0 || index >= FCount) throw EListError("Pointer Index out of bounds!");
    FPosition = index;
    UpdateState();
    if (OnChange) OnChange(*this, FPosition);
}

void TVrnNavPointer::GoForward() {
    if (FCount == 0) return;
    if (FPosition < FCount - 1) ++FPosition;
    UpdateState();
    if (FPosition == FCount - 1 && OnReachEnd) OnReachEnd(*this, FPosition);
}

void TVrnNavPointer::GoBack() {
    if (FCount == 0) return;
    if (FPosition > 0) --FPosition;
    UpdateState();
    if (FPosition == 0 && OnReachStart) OnReachStart(*this, FPosition);
}

void TVrnNavPointer::SetCount(int32_t count) {
    FCount = count;
    UpdateState();
}

TVrnHistoryList::TVrnHistoryList() : FPointer(0) {
    FPointer.OnReachStart = [this](TVrnNavPointer& p, int32_t pos) {
        if (OnReachStart) OnReachStart(p, pos);
    };
    FPointer.OnReachEnd = [this](TVrnNavPointer& p, int32_t pos) {
        if (OnReachEnd) OnReachEnd(p, pos);
    };
}

int TVrnHistoryList::Add(const std::string& text) {
    FStrings.push_back(text);
    FPointer.SetCount(static_cast<int32_t>(FStrings.size()));
    FPointer.SetPosition(static_cast<int32_t>(FStrings.size()) - 1);
    return static_cast<int>(FStrings.size()) - 1;
}

void TVrnHistoryList::Assign(const TStringList& source) {
    FStrings = source;
    FPointer.SetCount(static_cast<int32_t>(FStrings.size()));
    FPointer.SetPosition(0);
}

void TVrnHistoryList::Put(int index, const std::string& text) {
    if (index < 0 || index >= Count()) throw ERangeError();
    FStrings[static_cast<size_t>(index)] = text;
}

void TVrnHistoryList::DropAhead() {
    if (Current() < 0 || Current() >= Count() - 1) return;
    FStrings.resize(static_cast<size_t>(Current()) + 1);
    FPointer.SetCount(static_cast<int32_t>(FStrings.size()));
}
