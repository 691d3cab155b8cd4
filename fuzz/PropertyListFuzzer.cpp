// XML property lists: what the reader accepts, the writer must write, and the written
// text must read back to the same value (compared through a second writing, since a
// NaN real differs from itself).
#include "Foundation/PropertyList.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::optional<PropertyListValue> value = PropertyListSerialization::read(text);
    if (!value)
        return 0;
    std::optional<std::string> written = PropertyListSerialization::write(*value);
    if (!written) {
        std::fprintf(stderr, "a property list that was read cannot be written\n");
        std::abort();
    }
    std::string error;
    std::optional<PropertyListValue> again = PropertyListSerialization::read(*written, &error);
    if (!again) {
        std::fprintf(stderr, "the written property list does not read: %s\n%s\n", error.c_str(),
                     written->c_str());
        std::abort();
    }
    std::optional<std::string> rewritten = PropertyListSerialization::write(*again);
    if (!rewritten || *rewritten != *written) {
        std::fprintf(stderr, "the property list changed in a round trip:\n%s\n---\n%s\n",
                     written->c_str(), rewritten ? rewritten->c_str() : "(not written)");
        std::abort();
    }
    return 0;
}
