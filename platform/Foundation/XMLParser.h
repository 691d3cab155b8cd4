#pragma once
// XMLParser: an event-driven XML parser (expat underneath) that reports elements
// and text to a delegate. Namespace processing is off: a prefixed name such as
// "ns:item" is reported whole, as both the element name and the qualified name.
// External entities are never loaded.
//
// Thread: a parser and its delegate are used by one thread at a time; parse()
// calls the delegate synchronously on the calling thread.

#include "Foundation/Data.h"
#include "Runtime/Runtime.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

class XMLParser;

struct XMLParserError {
    int code = 0;        // the parser's error code (non-zero)
    std::string message; // human-readable reason
    int line = 0;        // 1-based line where parsing stopped
    int column = 0;      // 0-based column
};

using XMLAttributes = std::map<std::string, std::string>;

// Receives the parse events. Every method has an empty default.
class XMLParserDelegate {
  public:
    virtual ~XMLParserDelegate() = default;
    virtual void parserDidStartDocument(XMLParser&) {}
    virtual void parserDidEndDocument(XMLParser&) {}
    // `qualifiedName` is the name as written (prefix included); `namespaceURI` is
    // absent while namespace processing is off.
    virtual void parserDidStartElement(XMLParser&, const std::string& elementName,
                                       const std::optional<std::string>& namespaceURI,
                                       const std::optional<std::string>& qualifiedName,
                                       const XMLAttributes& attributes) {}
    virtual void parserDidEndElement(XMLParser&, const std::string& elementName,
                                     const std::optional<std::string>& namespaceURI,
                                     const std::optional<std::string>& qualifiedName) {}
    // Text arrives in pieces; a delegate concatenates them.
    virtual void parserFoundCharacters(XMLParser&, const std::string& characters) {}
    virtual void parserParseErrorOccurred(XMLParser&, const XMLParserError& error) {}
};

class XMLParser : public NSObject {
  public:
    // The parser keeps its own copy of the document.
    explicit XMLParser(Data data);
    explicit XMLParser(std::string_view text);

    // Held weakly, as the platform does.
    std::weak_ptr<XMLParserDelegate> delegate;

    // Parses the whole document, calling the delegate. Returns false when the
    // document is malformed or parsing was aborted; parserError() then says why.
    // A parser parses once; later calls return the first result.
    bool parse();
    // Stops the parse in progress (call from a delegate method); parse() returns false.
    void abortParsing();
    const std::optional<XMLParserError>& parserError() const { return error; }

  private:
    struct Handlers;
    Data document;
    std::optional<bool> result;
    std::optional<XMLParserError> error;
    void* activeParser = nullptr;
    bool aborted = false;
};
