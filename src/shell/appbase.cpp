#include "shell/appbase.h"

TfrmMainBase* AppfrmMain = nullptr;
TfrmInitBase* AppfrmInit = nullptr;
TfrmBookmarksBase* AppfrmBookmarks = nullptr;
