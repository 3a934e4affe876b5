// ini_writer PATH FIRST [STOPFILE]: saves the INI tests' writer file over and
// over (versions FIRST, FIRST + 1, ...) until STOPFILE exists or the process
// is killed. The tests start it to kill or stop it half-way through a save.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "unit/ini_writer.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: ini_writer PATH FIRST [STOPFILE]\n");
        return 2;
    }
    const unsigned first = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10));
    return initest::RunWriter(argv[1], first, argc > 3 ? argv[3] : "");
}
