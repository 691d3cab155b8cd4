#pragma once
// String(format:) for object arguments, as the library's messages use it: "%@" takes
// the next argument and "%n$@" the n-th (from 1), "%%" is a per cent sign. A
// conversion without its argument, and every other conversion, is left as it stands.
// Left out: numeric conversions, widths and precisions, locales.
// Thread: any.

#include <initializer_list>
#include <string>
#include <string_view>

std::string stringWithFormat(std::string_view format,
                             std::initializer_list<std::string_view> objects);
