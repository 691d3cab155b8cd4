#include "Utilities/Utilities.h"

#include <glib.h>

#include <memory>

std::string paddedIndexString(long value) {
    return value > 9 ? std::to_string(value) : "0" + std::to_string(value);
}

namespace {
std::string converted(const std::string& text, gchar* (*convert)(const gchar*, gssize)) {
    if (!g_utf8_validate(text.data(), gssize(text.size()), nullptr))
        return text; // not text glib can map; left as it is
    std::unique_ptr<gchar, decltype(&g_free)> result(convert(text.data(), gssize(text.size())),
                                                     &g_free);
    return result ? std::string(result.get()) : text;
}
} // namespace

std::string uppercased(const std::string& text) {
    return converted(text, &g_utf8_strup);
}

std::string lowercased(const std::string& text) {
    return converted(text, &g_utf8_strdown);
}

const URL& companySite() {
    static const URL site = *URL::string("https://www.korvane.audio");
    return site;
}
