#include "DemoData.h"

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

namespace lumacard {

namespace {

using nlohmann::json;

std::string text(const json& j, const char* key) {
    return j.contains(key) && j[key].is_string() ? j[key].get<std::string>() : std::string();
}

void readStatement(const json& j, DemoData::Statement& s) {
    s.numero = text(j, "numero");
    s.intestatario = text(j, "intestatario");
    if (j.contains("saldo")) {
        const auto& b = j["saldo"];
        s.saldo = {text(b, "saldo_al"), text(b, "saldo_contabile"), text(b, "saldo_disponibile"),
                   text(b, "saldo_bloccato")};
    }
    for (const auto& m : j.value("movimenti", json::array())) {
        s.movimenti.push_back({text(m, "data_contabile"), text(m, "data_valuta"),
                               text(m, "addebiti"), text(m, "accrediti"),
                               text(m, "descrizione_operazioni")});
    }
}

} // namespace

const DemoData::User* DemoData::findUser(const std::string& name) const {
    for (const auto& u : users) {
        if (u.user == name) {
            return &u;
        }
    }
    return nullptr;
}

const DemoData::Card* DemoData::findCard(const std::string& codice) const {
    for (const auto& c : cards) {
        if (c.codice == codice) {
            return &c;
        }
    }
    return nullptr;
}

std::optional<DemoData> DemoData::load(const std::filesystem::path& file, std::string& error) {
    std::ifstream in(file);
    if (!in) {
        error = "cannot open " + file.string();
        return std::nullopt;
    }
    try {
        const json j = json::parse(in);
        DemoData d;
        for (const auto& u : j.value("users", json::array())) {
            d.users.push_back({text(u, "user"), text(u, "password"), text(u, "name"),
                               u.value("cards", std::vector<std::string>{})});
        }
        for (const auto& c : j.value("cards", json::array())) {
            Card card;
            readStatement(c, card);
            card.codice = text(c, "codice");
            d.cards.push_back(std::move(card));
        }
        for (const auto& c : j.value("anonymous", json::array())) {
            AnonymousCard card;
            readStatement(c, card);
            card.dataAA = text(c, "dataAA");
            card.dataMM = text(c, "dataMM");
            card.cvv2 = text(c, "cvv2");
            d.anonymous.push_back(std::move(card));
        }
        for (const auto& a : j.value("lumaspot", json::array())) {
            d.lumaspot.push_back({text(a, "frazionario"), text(a, "ufficio"), text(a, "provincia"),
                                  text(a, "cap"), a.value("lat", 0.0), a.value("lng", 0.0)});
        }
        if (const auto banner = text(j, "banner"); !banner.empty()) {
            std::ifstream image(file.parent_path() / banner, std::ios::binary);
            if (!image) {
                error = "cannot open the banner " + banner;
                return std::nullopt;
            }
            d.banner.assign(std::istreambuf_iterator<char>(image),
                            std::istreambuf_iterator<char>());
        }
        return d;
    } catch (const json::exception& e) {
        error = file.string() + ": " + e.what();
        return std::nullopt;
    }
}

} // namespace lumacard
