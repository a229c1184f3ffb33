// unpack.exe ZIP DIR: ExtractZip, for the benchmark. Exit code 0 when every
// entry was written.
#include <cstdio>

#include "updater/package/package_files.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: unpack ZIP DIR\n");
        return 2;
    }
    return ExtractZip(argv[1], argv[2]) == kExtractDone ? 0 : 1;
}
