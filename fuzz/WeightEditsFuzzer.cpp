// Structure-aware: the input is a list of edits applied to a shipped weight document
// (its numbers rounded)
// (a number set to any value or magnitude, an array scaled, an entry of another type,
// an entry removed, added or wrapped, a key dropped or added). The edited document
// goes to the loader as text; whatever it accepts must run to finite output.
#include "NetworkCheck.h"

#include "BinaryData.h"
#include "Korvane/ModelWeights.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

using Json = nlohmann::json;

// Every number rounded to three significant digits: the same magnitudes in a third of
// the text, so that each run spends its time on the edits rather than on reading.
void round(Json& value) {
    if (value.is_number()) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3g", value.get<double>());
        value = std::strtod(text, nullptr);
    } else if (value.is_array()) {
        for (Json& item : value)
            round(item);
    }
}

const Json& shippedDocument() {
    static const Json document = [] {
        Json parsed = Json::parse(BinaryData::model12_json,
                                  BinaryData::model12_json + BinaryData::model12_jsonSize);
        for (auto& item : parsed.items())
            round(item.value());
        return parsed;
    }();
    return document;
}

// Every number under value multiplied by factor.
void scale(Json& value, double factor) {
    if (value.is_number())
        value = value.get<double>() * factor;
    else if (value.is_array())
        for (Json& item : value)
            scale(item, factor);
}

Json otherKind(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 5)) {
    case 0:
        return nullptr;
    case 1:
        return input.ConsumeBool();
    case 2:
        return input.ConsumeRandomLengthString(16);
    case 3:
        return Json::object();
    case 4:
        return Json::array();
    default:
        return input.ConsumeIntegral<std::int64_t>();
    }
}

void applyEdit(Json& document, const std::vector<std::string>& keys, FuzzedDataProvider& input) {
    const int operation = input.ConsumeIntegralInRange(0, 8);
    const std::string& key = keys[input.ConsumeIntegralInRange<std::size_t>(0, keys.size() - 1)];
    if (operation == 7) {
        document.erase(key);
        return;
    }
    if (operation == 8) {
        document[input.ConsumeBool() ? key + "x" : input.ConsumeRandomLengthString(24)] =
            otherKind(input);
        return;
    }
    auto found = document.find(key);
    if (found == document.end())
        return;
    // Down into the arrays as far as the input says.
    Json* value = &*found;
    while (value->is_array() && !value->empty() && input.ConsumeBool())
        value = &(*value)[input.ConsumeIntegralInRange<std::size_t>(0, value->size() - 1)];
    switch (operation) {
    case 0: // any double, as the input's bytes give it
        *value = input.ConsumeFloatingPoint<double>();
        break;
    case 1: { // a magnitude from the subnormal to beyond float's range
        const double mantissa = input.ConsumeFloatingPointInRange(-10.0, 10.0);
        *value = mantissa * std::pow(10.0, input.ConsumeIntegralInRange(-46, 40));
        break;
    }
    case 2:
        scale(*value, std::pow(10.0, input.ConsumeIntegralInRange(-10, 40)));
        break;
    case 3:
        *value = otherKind(input);
        break;
    case 4:
        if (value->is_array() && !value->empty())
            value->erase(input.ConsumeIntegralInRange<std::size_t>(0, value->size() - 1));
        break;
    case 5:
        if (value->is_array())
            value->push_back(value->empty() ? Json(0.5) : Json(value->back()));
        break;
    default:
        *value = Json::array({*value});
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::cerr.rdbuf(nullptr); // the loader reports each refusal there
    shippedDocument();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Json document = shippedDocument();
    std::vector<std::string> keys;
    for (const auto& item : document.items())
        keys.push_back(item.key());
    for (int edits = 0; edits < 8 && input.remaining_bytes() > 0; ++edits)
        applyEdit(document, keys, input);
    // Keys and strings of any bytes: what is not UTF-8 is written as U+FFFD.
    const std::string text = document.dump(-1, ' ', false, Json::error_handler_t::replace);
    auto weights = Korvane::parseModelWeights(reinterpret_cast<const unsigned char*>(text.data()),
                                              static_cast<unsigned int>(text.size()));
    if (weights)
        fuzzing::requireFiniteOutput(weights);
    return 0;
}
