#include "cli_app.h"
#include "program_files.h"

#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // The report's CR LF line ends must reach the output unchanged.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const int status =
        morvane::RunCli(arguments, morvane::ExecutableFolder(argv[0]), stdout, stderr);
    std::fflush(stdout);
    return status;
}
