// Program entry: the application object, the window layer, then the program.
#include "shell/entry_ui.h"
#include "shell/msgdlg_ui.h"

int main(int argc, char** argv) {
    THalvoraApplication app(argc, argv);
    InstallWindowLayer();
    return RunProgram();
}
