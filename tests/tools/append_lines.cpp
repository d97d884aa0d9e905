// Appends numbered lines to a log file the way velbrook.exe appends its run
// lines, as fast as it can, so that several copies at once contend for the file.
//   append_lines FILE COUNT TAG
// Each line: TAG, a tab, the line's number, a tab, filler, CR LF.
// Exit code 0 when every line was written, 1 when one was refused, 2 on bad usage.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/files.h"

int main(int argc, char** argv) {
    if (argc != 4)
        return 2;
    const int count = std::atoi(argv[2]);
    const std::string filler(2000, '.');
    for (int i = 0; i < count; ++i) {
        const std::string line = std::string(argv[3]) + '\t' + std::to_string(i) + '\t' + filler;
        std::string reason;
        if (!velbrook::AppendToFile(argv[1], line + "\r\n", reason)) {
            std::fprintf(stderr, "%s\n", reason.c_str());
            return 1;
        }
    }
    return 0;
}
