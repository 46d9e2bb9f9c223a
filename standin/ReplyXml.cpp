#include "ReplyXml.h"

#include <cstdio>

namespace lumacard {

std::string ReplyXml::escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string ReplyXml::element(std::string_view name, std::string_view text) {
    return "<" + std::string(name) + ">" + escape(text) + "</" + std::string(name) + ">";
}

namespace {
std::string document(std::string_view esito, std::string_view codice, std::string_view messaggio,
                     const std::string& payload) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<lumacard>\n<risposta>" +
           ReplyXml::element("esito", esito) + ReplyXml::element("codice_esito", codice) +
           ReplyXml::element("messaggio", messaggio) + "</risposta>\n" + payload + "</lumacard>\n";
}
} // namespace

std::string ReplyXml::ok(const std::string& payload) {
    return document("OK", "", "", payload);
}

std::string ReplyXml::ko(std::string_view codice, std::string_view messaggio) {
    return document("KO", codice, messaggio, "");
}

std::string ReplyXml::login(const DemoData::User& user) {
    return ok(element("messaggio_benvenuto", "Benvenuto " + user.name) + "\n");
}

std::string ReplyXml::cards(const std::vector<const DemoData::Card*>& cards) {
    std::string payload = "<carte>\n";
    for (const auto* c : cards) {
        payload +=
            "<carta>" + element("numero", c->numero) + element("codice", c->codice) + "</carta>\n";
    }
    return ok(payload + "</carte>\n");
}

std::string ReplyXml::statement(const DemoData::Statement& s) {
    std::string payload =
        "<carta>" + element("numero", s.numero) + element("intestatario", s.intestatario) +
        "</carta>\n<saldo>" + element("saldo_al", s.saldo.saldoAl) +
        element("saldo_contabile", s.saldo.saldoContabile) +
        element("saldo_disponibile", s.saldo.saldoDisponibile) +
        element("saldo_bloccato", s.saldo.saldoBloccato) + "</saldo>\n<movimenti>\n";
    for (const auto& m : s.movimenti) {
        payload += "<movimento>" + element("data_contabile", m.dataContabile) +
                   element("data_valuta", m.dataValuta) + element("addebiti", m.addebiti) +
                   element("accrediti", m.accrediti) +
                   element("descrizione_operazioni", m.descrizione) + "</movimento>\n";
    }
    return ok(payload + "</movimenti>\n");
}

std::string ReplyXml::lumaspot(const std::vector<const DemoData::Lumaspot*>& found) {
    std::string payload = "<elenco_lumaspot>\n";
    char lat[32], lng[32];
    for (const auto* a : found) {
        std::snprintf(lat, sizeof lat, "%.6f", a->lat);
        std::snprintf(lng, sizeof lng, "%.6f", a->lng);
        payload += "<atm_lumaspot>" + element("frazionario", a->frazionario) +
                   element("ufficio", a->ufficio) + element("provincia", a->provincia) +
                   element("cap", a->cap) + element("lat", lat) + element("lng", lng) +
                   "</atm_lumaspot>\n";
    }
    return ok(payload + "</elenco_lumaspot>\n");
}

} // namespace lumacard
