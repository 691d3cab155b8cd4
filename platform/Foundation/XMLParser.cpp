#include "Foundation/XMLParser.h"

#include <expat.h>

#include <algorithm>

struct XMLParser::Handlers {
    static XMLParser& self(void* data) { return *static_cast<XMLParser*>(data); }
    // After an abort expat may still deliver a few events; the delegate sees none.
    static std::shared_ptr<XMLParserDelegate> target(XMLParser& parser) {
        return parser.aborted ? nullptr : parser.delegate.lock();
    }

    static void start(void* data, const XML_Char* name, const XML_Char** attrs) {
        XMLParser& parser = self(data);
        auto delegate = target(parser);
        if (!delegate)
            return;
        XMLAttributes attributes;
        for (int i = 0; attrs[i] && attrs[i + 1]; i += 2)
            attributes[attrs[i]] = attrs[i + 1];
        std::string element(name);
        delegate->parserDidStartElement(parser, element, std::nullopt, element, attributes);
    }

    static void end(void* data, const XML_Char* name) {
        XMLParser& parser = self(data);
        if (auto delegate = target(parser)) {
            std::string element(name);
            delegate->parserDidEndElement(parser, element, std::nullopt, element);
        }
    }

    static void text(void* data, const XML_Char* characters, int length) {
        XMLParser& parser = self(data);
        if (auto delegate = target(parser))
            delegate->parserFoundCharacters(parser, std::string(characters, length));
    }
};

XMLParser::XMLParser(Data data) : document(std::move(data)) {}
XMLParser::XMLParser(std::string_view text) : document(dataFromString(text)) {}

void XMLParser::abortParsing() {
    if (activeParser && !aborted) {
        aborted = true;
        XML_StopParser(static_cast<XML_Parser>(activeParser), XML_FALSE);
    }
}

bool XMLParser::parse() {
    if (result)
        return *result;
    XML_Parser parser = XML_ParserCreate("UTF-8");
    if (!parser)
        fatalError("XMLParser: out of memory");
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, &Handlers::start, &Handlers::end);
    XML_SetCharacterDataHandler(parser, &Handlers::text);
    activeParser = parser;

    if (auto d = delegate.lock())
        d->parserDidStartDocument(*this);
    // Fed in pieces: expat takes an int length.
    constexpr std::size_t piece = std::size_t{1} << 20;
    XML_Status status = XML_STATUS_OK;
    std::size_t offset = 0;
    do {
        std::size_t length = std::min(piece, document.size() - offset);
        bool last = offset + length == document.size();
        status = XML_Parse(parser, reinterpret_cast<const char*>(document.data()) + offset,
                           static_cast<int>(length), last ? XML_TRUE : XML_FALSE);
        offset += length;
    } while (status == XML_STATUS_OK && offset < document.size());
    bool ok = status == XML_STATUS_OK && !aborted;
    if (!ok) {
        XMLParserError failure;
        failure.code = aborted ? -1 : static_cast<int>(XML_GetErrorCode(parser));
        failure.message = aborted ? "parsing aborted" : XML_ErrorString(XML_GetErrorCode(parser));
        failure.line = static_cast<int>(XML_GetCurrentLineNumber(parser));
        failure.column = static_cast<int>(XML_GetCurrentColumnNumber(parser));
        error = failure;
    }
    activeParser = nullptr;
    XML_ParserFree(parser);

    if (auto d = delegate.lock()) {
        if (ok)
            d->parserDidEndDocument(*this);
        else
            d->parserParseErrorOccurred(*this, *error);
    }
    result = ok;
    return ok;
}
