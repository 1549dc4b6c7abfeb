// The main of the window-layer tests: one application object for the whole
// run, on the offscreen platform unless told otherwise.
#include "platform/pictures_ui.h"
#include "shell/msgdlg_ui.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    THalvoraApplication app(argc, argv);
    InstallWindowLayer();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
