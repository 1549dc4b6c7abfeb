#pragma once
// The program's life between the application object and the process end: the
// windows in their order, the message loop, and the windows' release.
#include "shell/mainform_ui.h"

// Creates the windows, runs the message loop and returns the exit code. A
// check that fails while the windows are created or first shown ends it with
// one "Verification Failed!" message and no page. Tests pass options of their
// own (another self-check); the program passes none.
int RunProgram(TMainWindowOptions options = {});
