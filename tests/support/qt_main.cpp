// The main of the window-layer tests: one application object for the whole
// run, on the offscreen platform unless told otherwise.
#include "platform/pictures_ui.h"
#include "shell/msgdlg_ui.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Listing the tests (CTest's discovery) needs no application, nor its warnings.
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--gtest_list_tests") {
            ::testing::InitGoogleTest(&argc, argv);
            return RUN_ALL_TESTS();
        }
    THalvoraApplication app(argc, argv);
    InstallWindowLayer();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
