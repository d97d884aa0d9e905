// Undoes the last change of the places bar again and again, the way velbrook.exe
// -undo does, as fast as it can, so that several copies at once and runs of the
// program contend for the places bar.
//   undo_loop COUNT
// Exit code 0 when every undo was done, 1 when one was not, 2 on bad usage.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "core/places_bar.h"

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const int count = std::atoi(argv[1]);
    try {
        for (int i = 0; i < count; ++i) {
            if (!velbrook::UndoPlacesBarChange())
                return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
