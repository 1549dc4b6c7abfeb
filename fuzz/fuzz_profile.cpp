// Any file may be the settings file: every read answers, and a write keeps the
// file readable with the new value in it.
#include "fuzz_target.h"
#include "platform/profile.h"
#include "util/errors.h"

HALVORA_FUZZ_TARGET(profile) {
    TIniFile ini(FuzzInputFile(data, size, ".ini"));
    for (const char* section : {"General", "RemoteAudio", "ColorScheme", ""})
        for (const char* key : {"StartUpTips", "DiskCacheDir", "ColorScheme", ""}) {
            ini.ValueExists(section, key);
            ini.ReadString(section, key, "default");
            ini.ReadInteger(section, key, 7);
            ini.ReadBool(section, key, true);
        }
    try {
        ini.WriteString("General", "Fuzz", "value");
    } catch (const EIniFileError&) {
        return 0;
    }
    if (ini.ReadString("General", "Fuzz", "") != "value") __builtin_trap();
    return 0;
}
