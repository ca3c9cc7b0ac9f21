// Prints its process id, then records COUNT records into the register at LOCATION and prints
// each id once record() has returned; the tests run several at once, or kill one in the middle.
#include "lot_register.h"

#include <cstdio>
#include <exception>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: register_writer LOCATION COUNT\n");
        return 2;
    }
    std::printf("%d\n", static_cast<int>(getpid()));
    std::fflush(stdout);
    try {
        const auto lotRegister =
            morvane::OpenLotRegister(argv[1], morvane::RegisterAccess::ReadWrite);
        morvane::RegisterRecord record;
        record.recordedAtUtc = "2026-12-07T10:57:04Z";
        record.workingPreparation = "burst";
        record.dataSetText = std::string(2000, 'x');
        record.verdict = morvane::kVerdictNotJudged;
        for (int i = 0; i < std::stoi(argv[2]); ++i) {
            record.identifier = "burst " + std::to_string(i);
            std::printf("%lld\n", static_cast<long long>(lotRegister->record(record)));
            std::fflush(stdout);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
