#pragma once
// The three base window classes through which lower layers reach the main,
// start-up and bookmarks windows, and the application-wide references to them.
// They carry no toolkit type: the windows derive from their Qt class and from
// one of these.
#include <cstdint>
#include <string>

class TfrmMainBase {
public:
    virtual ~TfrmMainBase() = default;
    virtual void HandleLink(const std::string& link) = 0;
    virtual void SetBusyState(uint8_t state) = 0;
};

class TfrmInitBase {
public:
    virtual ~TfrmInitBase() = default;
    virtual void SetProgressMax(int32_t count) = 0;
    virtual void SetProgress(int32_t position) = 0;
};

class TfrmBookmarksBase {
public:
    virtual ~TfrmBookmarksBase() = default;
    virtual void AddGlossaryTermBookmark(const std::string& term) = 0;
};

// Empty until the main window's creation fills them; check before use.
extern TfrmMainBase* AppfrmMain;
extern TfrmInitBase* AppfrmInit;
extern TfrmBookmarksBase* AppfrmBookmarks;

// Application information, set by the main window's creation.
inline constexpr const char* kAppName = "Halvora";
inline constexpr const char* kAppVersion = "1.5";
