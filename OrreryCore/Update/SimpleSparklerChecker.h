#pragma once
// Reads an update feed (an appcast) and finds the latest version it lists: every
// "sparkle:shortVersionString" element's text, trimmed, in document order; the
// latest is the one of highest weight (convertVersionToWeight), the earliest
// among equals. Malformed XML stops the scan; what was collected until then
// counts.
//
// Thread: one checker per check, used by one thread at a time; parse() runs the
// parser synchronously on the calling thread.

#include "Foundation/Data.h"
#include "Foundation/XMLParser.h"
#include "Runtime/Runtime.h"

#include <optional>
#include <string>
#include <vector>

class SimpleSparklerChecker : public NSObject, public XMLParserDelegate {
  public:
    void parse(const Data& data);
    std::optional<std::string> latestVersion() const;

    // XMLParserDelegate
    void parserDidStartElement(XMLParser&, const std::string& elementName,
                               const std::optional<std::string>& namespaceURI,
                               const std::optional<std::string>& qualifiedName,
                               const XMLAttributes& attributes) override;
    void parserFoundCharacters(XMLParser&, const std::string& characters) override;
    void parserDidEndElement(XMLParser&, const std::string& elementName,
                             const std::optional<std::string>& namespaceURI,
                             const std::optional<std::string>& qualifiedName) override;

  protected:
    // Create with make<SimpleSparklerChecker>(): the parser holds its delegate weakly.
    SimpleSparklerChecker() = default;

  private:
    std::vector<std::string> versions;
    std::string currentElement;
    std::string currentValue;
};
