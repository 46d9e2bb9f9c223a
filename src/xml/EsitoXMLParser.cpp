#include "xml/EsitoXMLParser.h"

#include "core/Log.h"
#include "xml/EsitoConstants.h"

#include <array>
#include <climits>
#include <cstring>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlmemory.h>
#include <memory>
#include <mutex>

namespace vestrino {

namespace {

enum OutcomeName : std::size_t { Risposta, Esito, CodiceEsito, Messaggio };
constexpr std::array<const char*, 4> kOutcomeNames{"risposta", "esito", "codice_esito",
                                                   "messaggio"};

// The XML library keeps global state and is cleaned up after every parse, so no two parses
// of the process may overlap.
std::mutex& xmlParseMutex() {
    static std::mutex m;
    return m;
}

const char* text(const xmlChar* s) {
    return reinterpret_cast<const char*>(s);
}

void startElementSAX(void* ctx, const xmlChar* localname, const xmlChar* prefix,
                     const xmlChar* /*URI*/, int /*nb_namespaces*/, const xmlChar** /*namespaces*/,
                     int /*nb_attributes*/, int /*nb_defaulted*/, const xmlChar** /*attributes*/) {
    auto* parser = static_cast<EsitoXMLParser*>(ctx);
    if (parser->done()) {
        return;
    }
    if (prefix == nullptr && parser->isOutcomeElement(text(localname), Risposta)) {
        parser->setParsingRisposta(true);
    } else {
        parser->startMatchString(text(localname));
    }
    // Every start tag begins a new element text.
    parser->clearCharacters();
}

void endElementSAX(void* ctx, const xmlChar* localname, const xmlChar* prefix,
                   const xmlChar* /*URI*/) {
    auto* parser = static_cast<EsitoXMLParser*>(ctx);
    if (!parser->parsingRisposta() || parser->done() || prefix != nullptr) {
        return;
    }
    const char* name = text(localname);
    if (parser->isOutcomeElement(name, Risposta)) {
        if (parser->esito() == std::string_view(ESITO_KO_STR)) {
            Log::debug("KO FOUND INTERROMPO IL PARSING!");
            parser->setDone(true);
        }
    } else if (parser->isOutcomeElement(name, Esito)) {
        parser->setEsito(parser->currentString());
    } else if (parser->isOutcomeElement(name, CodiceEsito)) {
        parser->setCodiceEsito(parser->currentString());
    } else if (parser->isOutcomeElement(name, Messaggio)) {
        parser->setMessaggio(parser->currentString());
    } else {
        parser->endMatchString(name);
    }
}

void charactersFoundSAX(void* ctx, const xmlChar* ch, int len) {
    auto* parser = static_cast<EsitoXMLParser*>(ctx);
    if (parser->parsingRisposta()) {
        parser->appendCharacters(text(ch), len);
    }
}

void endDocumentSAX(void* ctx) {
    static_cast<EsitoXMLParser*>(ctx)->setDone(true);
}

void errorEncounteredSAX(void* ctx, const char* /*msg*/, ...) {
    auto* parser = static_cast<EsitoXMLParser*>(ctx);
    parser->setFailed(true);
    parser->setDone(true);
}

void silentGenericError(void* /*ctx*/, const char* /*msg*/, ...) {}

// The handler table: SAX2 element callbacks, characters, end of document and errors, and
// nothing else (no entity, DTD, warning or CDATA handlers).
xmlSAXHandler makeHandler() {
    xmlSAXHandler h;
    std::memset(&h, 0, sizeof h);
    h.initialized = XML_SAX2_MAGIC;
    h.startElementNs = startElementSAX;
    h.endElementNs = endElementSAX;
    h.characters = charactersFoundSAX;
    h.endDocument = endDocumentSAX;
    h.error = errorEncounteredSAX;
    return h;
}

xmlSAXHandler simpleSAXHandlerStruct = makeHandler();

} // namespace

EsitoXMLParser::EsitoXMLParser(std::span<const char* const> names)
    : outcomeNames_(kOutcomeNames), names_(names), dateFormatter_("dd/MM/yyyy") {}

void EsitoXMLParser::bindNames(xmlDictPtr dict) {
    outcomeNames_.bind(dict);
    names_.bind(dict);
}

EsitoXMLParser::~EsitoXMLParser() = default;

bool EsitoXMLParser::parseWithHandler(const char* bytes, int length) {
    // What xmlSAXUserParseMemory does, with the reply's dictionary at hand before the first
    // callback, for the names to be looked up there.
    struct ContextDeleter {
        void operator()(xmlParserCtxtPtr c) const {
            c->sax = nullptr; // ours, not the library's to free
            if (c->myDoc) {
                xmlFreeDoc(c->myDoc);
                c->myDoc = nullptr;
            }
            xmlFreeParserCtxt(c);
        }
    };
    xmlInitParser();
    std::unique_ptr<xmlParserCtxt, ContextDeleter> context(
        xmlCreateMemoryParserCtxt(bytes, length));
    if (!context) {
        return false;
    }
    if (context->sax != reinterpret_cast<xmlSAXHandlerPtr>(&xmlDefaultSAXHandler)) {
        xmlFree(context->sax);
    }
    context->sax = &simpleSAXHandlerStruct; // the parse itself sees that it is a SAX2 table
    context->userData = this;
    bindNames(context->dict);
    xmlParseDocument(context.get());
    return context->wellFormed != 0;
}

bool EsitoXMLParser::parseXMLString(const std::optional<std::string>& textToParse) {
    done_ = false;
    failed_ = false;
    // The text is handed over as a C string: it ends at its first NUL.
    const char* bytes = textToParse ? textToParse->c_str() : "";
    const std::size_t length = std::strlen(bytes);
    if (length > static_cast<std::size_t>(INT_MAX)) {
        failed_ = true;
        return false;
    }
    std::lock_guard lock(xmlParseMutex());
    // The library's own messages (encoding errors and the like) would go to standard error;
    // failures are reported through the handler table instead.
    xmlSetGenericErrorFunc(nullptr, silentGenericError);
    if (!parseWithHandler(bytes, static_cast<int>(length))) {
        failed_ = true;
    }
    bindNames(nullptr); // the dictionary is gone
    xmlCleanupParser();
    xmlMemoryDump();
    return !failed_;
}

std::optional<std::string> EsitoXMLParser::currentString() {
    // The library hands its callbacks UTF-8 only (whatever the reply's encoding, and a reply
    // with a malformed sequence stops with an error), so the text needs no second check.
    std::optional<std::string> result(characterBuffer_);
    characterBuffer_.clear();
    return result;
}

void EsitoXMLParser::appendCharacters(const char* bytes, int length) {
    if (length > 0) {
        characterBuffer_.append(bytes, static_cast<std::size_t>(length));
    }
}

void EsitoXMLParser::startMatchString(const char* /*name*/) {}

void EsitoXMLParser::endMatchString(const char* /*name*/) {}

} // namespace vestrino
