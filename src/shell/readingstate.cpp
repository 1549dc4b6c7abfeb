#include "shell/readingstate.h"

#include "platform/profile.h"
#include "platform/userdirs.h"
#include "shell/prefs.h"
#include "util/fileutils.h"

#include <algorithm>

namespace {
const char* const kReading = "Reading";
}

THVReadingState LoadReadingState() {
    THVReadingState s;
    TIniFile ini(SettingsFileName());
    int zoom = ini.ReadInteger(kReading, "Zoom", 0);
    s.Zoom = zoom < kMinZoom || zoom > kMaxZoom ? 0 : zoom;
    s.LastPage = ini.ReadString(kReading, "LastPage", "");
    return s;
}

void SaveReadingState(const THVReadingState& state) {
    CreateFolderPath(ConfigFolder());
    TIniFile ini(SettingsFileName());
    ini.WriteInteger(kReading, "Zoom", std::clamp(state.Zoom, kMinZoom, kMaxZoom));
    ini.WriteString(kReading, "LastPage", state.LastPage);
}
