// Records COUNT sample records into the register at LOCATION and prints each id once record()
// has returned; the tests run several at once, or kill one in the middle.
#include "lot_register.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: register_writer LOCATION COUNT\n");
        return 2;
    }
    try {
        const auto lotRegister =
            morvane::OpenLotRegister(argv[1], morvane::RegisterAccess::ReadWrite);
        const int count = std::stoi(argv[2]);
        morvane::RegisterRecord record;
        record.recordedAtUtc = "2026-12-07T10:57:04Z";
        record.workingPreparation = "burst";
        record.dataSetText = std::string(2000, 'x');
        record.verdict = morvane::kVerdictNotJudged;
        for (int i = 0; i < count; ++i) {
            record.identifier = "burst " + std::to_string(i);
            std::printf("%lld\n", static_cast<long long>(lotRegister->record(record)));
            std::fflush(stdout);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
