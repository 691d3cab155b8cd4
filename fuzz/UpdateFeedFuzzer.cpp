// Update feeds: any bytes read as a feed through the XML parser, without a fault; the
// latest version found is trimmed and has a weight.
#include "Update/SimpleSparklerChecker.h"
#include "Update/VersionWeight.h"

#include "Foundation/Data.h"
#include "Runtime/Runtime.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto checker = make<SimpleSparklerChecker>();
    checker->parse(Data(data, data + size));
    std::optional<std::string> latest = checker->latestVersion();
    constexpr const char* space = " \t\n\r\f\v";
    if (latest && !latest->empty() &&
        (latest->find_first_of(space) == 0 || latest->find_last_of(space) == latest->size() - 1)) {
        std::fprintf(stderr, "the latest version is not trimmed: '%s'\n", latest->c_str());
        std::abort();
    }
    if (latest)
        (void)convertVersionToWeight(*latest);
    return 0;
}
