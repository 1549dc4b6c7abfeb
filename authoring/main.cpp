// halvora-pack: turns the plain sources of an edition into the module files the
// reader opens, and reads them back, with the reader's own storage code.
#include "commands.h"

#include "util/errors.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return RunPackCommand(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "halvora-pack: %s\n", e.what());
        return 1;
    }
}
