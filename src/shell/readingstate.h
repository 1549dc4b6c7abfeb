#pragma once
// How the reader reads, beyond the preferences: the page text's zoom and the
// page and position at exit. Kept in the section "Reading" of "Halvora.ini";
// a settings file from before that section reads as the defaults.
#include <string>

inline constexpr int kMinZoom = -4;
inline constexpr int kMaxZoom = 10;

struct THVReadingState {
    int Zoom = 0;         // steps from the page's normal size, kMinZoom to kMaxZoom
    std::string LastPage; // a page location text (pages/pagelocation.h); empty for none

    bool operator==(const THVReadingState&) const = default;
};

// Reads the section; a missing file or section, or values out of range, give the defaults.
THVReadingState LoadReadingState();
// Writes the section, leaving the rest of the file as it was; raises
// EIniFileError when the file cannot be written.
void SaveReadingState(const THVReadingState& state);
