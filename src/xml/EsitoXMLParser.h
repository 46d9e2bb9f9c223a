#pragma once

#include "core/DateFormatter.h"
#include "xml/ElementName.h"

#include <optional>
#include <string>

namespace vestrino {

// Event-driven reader of one service reply. It reads the outcome block (`risposta` with
// `esito`, `codice_esito`, `messaggio`), gathers the character data of the current element,
// stops reading when the outcome is "KO", and hands every other element to the hooks that the
// operation parsers override. One instance reads one reply.
class EsitoXMLParser {
public:
    // `names`: the element names the hooks look for (kept by the caller), see is().
    explicit EsitoXMLParser(std::span<const char* const> names = {});
    virtual ~EsitoXMLParser();
    EsitoXMLParser(const EsitoXMLParser&) = delete;
    EsitoXMLParser& operator=(const EsitoXMLParser&) = delete;

    // Reads the reply text; true when the XML library reported no error. Absent or empty text
    // is not a document. Parses of the whole process never overlap.
    bool parseXMLString(const std::optional<std::string>& text);

    // The text gathered since it was last taken (absent when it is not UTF-8); empties it.
    std::optional<std::string> currentString();
    void appendCharacters(const char* bytes, int length);

    // Called at every start tag other than that of `risposta`, until reading stops.
    virtual void startMatchString(const char* name);
    // Called at every end tag after the start of `risposta` that the outcome block does not
    // take, until reading stops.
    virtual void endMatchString(const char* name);

    const std::optional<std::string>& esito() const { return esito_; }
    void setEsito(std::optional<std::string> v) { esito_ = std::move(v); }
    const std::optional<std::string>& codiceEsito() const { return codiceEsito_; }
    void setCodiceEsito(std::optional<std::string> v) { codiceEsito_ = std::move(v); }
    const std::optional<std::string>& messaggio() const { return messaggio_; }
    void setMessaggio(std::optional<std::string> v) { messaggio_ = std::move(v); }
    DateFormatter& dateFormatter() { return dateFormatter_; }
    bool done() const { return done_; }
    void setDone(bool v) { done_ = v; }
    bool failed() const { return failed_; }
    void setFailed(bool v) { failed_ = v; }
    bool parsingRisposta() const { return parsingRisposta_; }
    void setParsingRisposta(bool v) { parsingRisposta_ = v; }

    // Empties the character buffer without reading it.
    void clearCharacters() { characterBuffer_.clear(); }

    // Looks the element names up in the dictionary of the reply being read.
    void bindNames(xmlDictPtr dict);
    // Whether the element `name` handed to a hook is the given one of the outcome block's
    // names (risposta, esito, codice_esito, messaggio) or of the parser's own.
    bool isOutcomeElement(const char* name, std::size_t index) const {
        return outcomeNames_.is(name, index);
    }

protected:
    bool is(const char* name, std::size_t index) const { return names_.is(name, index); }

private:
    // Reads the bytes with the handler table; true when the reply was well formed.
    bool parseWithHandler(const char* bytes, int length);

    ElementNames outcomeNames_;
    ElementNames names_;
    bool parsingRisposta_ = false;
    bool failed_ = false;
    bool done_ = false;
    std::string characterBuffer_;
    DateFormatter dateFormatter_;
    std::optional<std::string> esito_;
    std::optional<std::string> codiceEsito_;
    std::optional<std::string> messaggio_;
};

} // namespace vestrino
