#include "FileSystemService.h"

#include <cstdio>
#include <cstring>
#include <string>

// Runs one core operation on real input and prints one line, so the whole process can be
// timed beside a standard tool working on the same input.
namespace {

int usage()
{
    std::fprintf(stderr, "usage: kivbench list DIR [--hidden]\n");
    return 2;
}

int listCommand(int argc, char** argv)
{
    if (argc < 3) return usage();
    bool showHidden = argc > 3 && std::strcmp(argv[3], "--hidden") == 0;
    auto rows = kiv::FileSystemService().listDirectory(argv[2], showHidden);
    std::printf("%zu\n", rows.size());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return usage();
    std::string command = argv[1];
    try {
        if (command == "list") return listCommand(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kivbench: %s\n", error.what());
        return 1;
    }
    return usage();
}
