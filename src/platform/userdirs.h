#pragma once
// Where the reader's own files live: per user, because an installed program
// folder is read-only. Each folder name ends in "/".
#include <string>

// The configuration folder (XDG_CONFIG_HOME, else ~/.config).
std::string ConfigFolder();
// Halvora's data folder (XDG_DATA_HOME, else ~/.local/share, + "Halvora/").
std::string UserDataFolder();
// Halvora's cache folder (XDG_CACHE_HOME, else ~/.cache, + "Halvora/").
std::string UserCacheFolder();
