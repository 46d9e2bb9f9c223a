#pragma once

#include "core/Log.h"
#include "xml/XMLParsingUtil.h"

#include <string>
#include <vector>

namespace vestrino::test {

// Wraps an outcome block and a payload in a reply document.
inline std::string reply(const std::string& esito, const std::string& codice,
                         const std::string& messaggio, const std::string& payload = "") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><lumacard><risposta><esito>" + esito +
           "</esito><codice_esito>" + codice + "</codice_esito><messaggio>" + messaggio +
           "</messaggio></risposta>" + payload + "</lumacard>";
}

// Texts that may be absent in one line: "a|b|-", "-" for an absent one.
inline std::string joined(std::initializer_list<std::optional<std::string>> values) {
    std::string out;
    for (const auto& v : values) {
        out += (out.empty() ? "" : "|") + v.value_or("-");
    }
    return out;
}

// Everything a statement reply hands out.
struct Statement {
    bool ok = false;
    std::optional<std::string> esito, codice, messaggio;
    CartaDiPagamentoPtr carta;
    SaldoPtr saldo;
    ListaMovimenti movimenti;
};

inline Statement statement(const std::optional<std::string>& text) {
    Statement s;
    XMLParsingUtil::parseListaMovimenti(text, s.ok, s.esito, s.codice, s.messaggio, s.carta,
                                        s.saldo, s.movimenti);
    return s;
}

// Collects the diagnostic log while it lives.
class LogCapture {
public:
    LogCapture() {
        old_ = Log::setSink([this](std::string_view l) { lines.emplace_back(l); });
    }
    ~LogCapture() { Log::setSink(old_); }
    std::vector<std::string> lines;

private:
    Log::Sink old_;
};

} // namespace vestrino::test
