#include "platform/userdirs.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace {

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    if (const passwd* pw = getpwuid(getuid())) return pw->pw_dir;
    return "/tmp";
}

// An XDG variable counts only when it holds an absolute path.
std::string XdgFolder(const char* var, const char* fallback) {
    const char* v = std::getenv(var);
    std::string f = (v && *v == '/') ? std::string(v) : HomeFolder() + "/" + fallback;
    if (f.back() != '/') f += '/';
    return f;
}

} // namespace

std::string ConfigFolder() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }
std::string UserDataFolder() { return XdgFolder("XDG_DATA_HOME", ".local/share") + "Halvora/"; }
std::string UserCacheFolder() { return XdgFolder("XDG_CACHE_HOME", ".cache") + "Halvora/"; }
