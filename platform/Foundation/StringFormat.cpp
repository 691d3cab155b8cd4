#include "Foundation/StringFormat.h"

#include <cctype>
#include <vector>

std::string stringWithFormat(std::string_view format,
                             std::initializer_list<std::string_view> objects) {
    const std::vector<std::string_view> arguments(objects);
    std::string out;
    size_t next = 0; // the argument a plain "%@" takes
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        if (format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // "%@" or "%n$@": the argument's index and where the conversion ends.
        size_t end = i + 1, index = next;
        if (std::isdigit(static_cast<unsigned char>(format[end]))) {
            size_t n = 0;
            while (end < format.size() && std::isdigit(static_cast<unsigned char>(format[end])))
                n = n * 10 + size_t(format[end++] - '0');
            if (end + 1 < format.size() && format[end] == '$' && n > 0) {
                index = n - 1;
                ++end;
            } else {
                end = format.size(); // not a positional object conversion
            }
        }
        if (end < format.size() && format[end] == '@' && index < arguments.size()) {
            out += arguments[index];
            if (index == next)
                ++next;
            i = end;
        } else {
            out += '%';
        }
    }
    return out;
}
