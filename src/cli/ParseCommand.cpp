#include "cli/ParseCommand.h"

#include "cli/RecordJson.h"
#include "cli/RecordTables.h"
#include "core/ReplyText.h"
#include "core/Translation.h"
#include "xml/XMLParsingUtil.h"

#include <array>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace vestrino {

namespace {

using Text = XMLParsingUtil::Text;
using json = nlohmann::ordered_json;

constexpr std::array<const char*, 5> kKinds{"esito", "login", "carte", "movimenti", "atm"};

std::string shown(const Text& value) {
    return RecordTables::shown(value);
}

struct Reading {
    bool ok = false;
    Text esito, codiceEsito, messaggio;
    Text messaggioBenvenuto;
    ListaCarte carte;
    CartaDiPagamentoPtr carta;
    SaldoPtr saldo;
    ListaMovimenti movimenti;
    ListaLumaspot lumaspot;
};

Reading read(const std::string& kind, const Text& text) {
    Reading r;
    if (kind == "esito") {
        XMLParsingUtil::parseEsitoString(text, r.ok, r.esito, r.codiceEsito, r.messaggio);
    } else if (kind == "login") {
        XMLParsingUtil::parseLogin(text, r.ok, r.esito, r.codiceEsito, r.messaggio,
                                   r.messaggioBenvenuto);
    } else if (kind == "carte") {
        XMLParsingUtil::parseListaCarte(text, r.ok, r.esito, r.codiceEsito, r.messaggio, r.carte);
    } else if (kind == "movimenti") {
        XMLParsingUtil::parseListaMovimenti(text, r.ok, r.esito, r.codiceEsito, r.messaggio,
                                            r.carta, r.saldo, r.movimenti);
    } else {
        XMLParsingUtil::parseTrovaAtmLumaspot(text, r.ok, r.esito, r.codiceEsito, r.messaggio,
                                              r.lumaspot);
    }
    return r;
}

json asJson(const std::string& kind, const Reading& r) {
    if (!r.ok) {
        return {{"ok", false}};
    }
    json out{{"ok", true},
             {"esito", toJson(r.esito)},
             {"codiceEsito", toJson(r.codiceEsito)},
             {"messaggio", toJson(r.messaggio)}};
    if (kind == "login") {
        out["messaggioBenvenuto"] = toJson(r.messaggioBenvenuto);
    } else if (kind == "carte") {
        out["carte"] = toJson(r.carte);
    } else if (kind == "movimenti") {
        out["carta"] = toJson(r.carta);
        out["saldo"] = toJson(r.saldo);
        out["listaMovimenti"] = toJson(r.movimenti);
    } else if (kind == "atm") {
        out["elencoLumaSpot"] = toJson(r.lumaspot);
    }
    return out;
}

void printSummary(const std::string& kind, const Reading& r, std::ostream& out) {
    if (!r.ok) {
        out << tr("La risposta non si può leggere come XML.") << '\n';
        return;
    }
    out << RecordTables::field(N_("Esito")) << shown(r.esito) << '\n'
        << RecordTables::field(N_("Codice esito")) << shown(r.codiceEsito) << '\n'
        << RecordTables::field(N_("Messaggio")) << shown(r.messaggio) << '\n';
    if (kind == "login") {
        out << RecordTables::field(N_("Benvenuto")) << shown(r.messaggioBenvenuto) << '\n';
    } else if (kind == "carte") {
        out << '\n';
        RecordTables::printCards(r.carte, out);
    } else if (kind == "movimenti") {
        RecordTables::printStatement(r.carta, r.saldo, r.movimenti, out);
    } else if (kind == "atm") {
        out << '\n';
        RecordTables::printLumaspot(r.lumaspot, out);
    }
}

} // namespace

bool ParseCommand::isKind(const std::string& kind) {
    for (const char* k : kKinds) {
        if (kind == k) {
            return true;
        }
    }
    return false;
}

int ParseCommand::run(const std::string& kind, const std::string& file, bool json, std::istream& in,
                      std::ostream& out, std::ostream& err) {
    if (!isKind(kind)) {
        err << "vestrino-cli parse: unknown kind \"" << kind
            << "\" (esito, login, carte, movimenti, atm)\n";
        return 2;
    }
    std::string bytes;
    if (file == "-") {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else {
        std::ifstream f(file, std::ios::binary);
        if (!f) {
            err << "vestrino-cli parse: cannot open \"" << file << "\"\n";
            return 2;
        }
        bytes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    const Reading r = read(kind, decodeReplyText(bytes));
    if (json) {
        out << asJson(kind, r).dump() << '\n';
    } else {
        printSummary(kind, r, out);
    }
    return r.ok ? 0 : 1;
}

} // namespace vestrino
