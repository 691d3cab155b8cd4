#include "Update/SimpleSparklerChecker.h"

#include "Update/VersionWeight.h"

namespace {

const std::string versionElement = "sparkle:shortVersionString";

// Leading and trailing white space and newlines removed.
std::string trimmed(const std::string& text) {
    constexpr const char* space = " \t\n\r\f\v";
    const auto first = text.find_first_not_of(space);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

} // namespace

void SimpleSparklerChecker::parse(const Data& data) {
    auto parser = make<XMLParser>(data);
    parser->delegate = weakAs<XMLParserDelegate>();
    parser->parse(); // a malformed feed keeps what was collected before the fault
}

std::optional<std::string> SimpleSparklerChecker::latestVersion() const {
    if (versions.empty())
        return std::nullopt;
    const std::string* best = &versions.front();
    std::int64_t bestWeight = convertVersionToWeight(*best);
    for (const std::string& version : versions) {
        const std::int64_t weight = convertVersionToWeight(version);
        if (weight > bestWeight) {
            best = &version;
            bestWeight = weight;
        }
    }
    return *best;
}

void SimpleSparklerChecker::parserDidStartElement(XMLParser&, const std::string& elementName,
                                                  const std::optional<std::string>&,
                                                  const std::optional<std::string>& qualifiedName,
                                                  const XMLAttributes&) {
    currentElement = qualifiedName.value_or(elementName);
    currentValue.clear();
}

void SimpleSparklerChecker::parserFoundCharacters(XMLParser&, const std::string& characters) {
    currentValue += characters;
}

// The test looks at the most recently started element, so an enclosing
// element's end tag repeats the version; that only repeats an entry.
void SimpleSparklerChecker::parserDidEndElement(XMLParser&, const std::string&,
                                                const std::optional<std::string>&,
                                                const std::optional<std::string>&) {
    if (currentElement == versionElement)
        versions.push_back(trimmed(currentValue));
}
