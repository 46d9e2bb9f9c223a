#include "store/OfflineDataCoding.h"

#include <nlohmann/json.hpp>

namespace vestrino {

namespace {

using nlohmann::json;
using Text = std::optional<std::string>;

json text(const Text& t) {
    return t ? json(*t) : json(nullptr);
}

json date(const std::optional<Date>& d) {
    return d ? json(d->time_since_epoch().count()) : json(nullptr);
}

long long millis(WallTime t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
}

json card(const CartaDiPagamento& c) {
    return {{"serial", text(c.serial())}, {"desc", text(c.desc())},
            {"alias", text(c.alias())},   {"intestatario", text(c.intestatario())},
            {"dataAA", text(c.dataAA())}, {"dataMM", text(c.dataMM())},
            {"anonima", c.anonima()}};
}

// Reading: every accessor throws on a value of the wrong kind, which decode turns into
// nothing.
Text textOf(const json& j, const char* name) {
    const json& v = j.at(name);
    if (v.is_null()) {
        return std::nullopt;
    }
    return v.get<std::string>();
}

std::optional<Date> dateOf(const json& j, const char* name) {
    const json& v = j.at(name);
    if (v.is_null()) {
        return std::nullopt;
    }
    return Date(std::chrono::milliseconds(v.get<long long>()));
}

WallTime clockOf(const json& j, const char* name) {
    return WallTime(std::chrono::milliseconds(j.at(name).get<long long>()));
}

CartaDiPagamentoPtr cardOf(const json& j) {
    auto c = std::make_shared<CartaDiPagamento>();
    c->setSerial(textOf(j, "serial"));
    c->setDesc(textOf(j, "desc"));
    c->setAlias(textOf(j, "alias"));
    c->setIntestatario(textOf(j, "intestatario"));
    c->setDataAA(textOf(j, "dataAA"));
    c->setDataMM(textOf(j, "dataMM"));
    c->setAnonima(j.at("anonima").get<bool>());
    return c;
}

} // namespace

std::string OfflineDataCoding::encode(const OfflineData& data) {
    json cards = json::array();
    for (const auto& c : data.carte) {
        if (c) {
            cards.push_back(card(*c));
        }
    }
    json statements = json::object();
    for (const auto& [key, s] : data.statements) {
        json rows = json::array();
        for (const auto& m : s.movimenti) {
            if (!m) {
                continue;
            }
            rows.push_back({{"dataContabile", date(m->dataContabile())},
                            {"dataValuta", date(m->dataValuta())},
                            {"addebiti", text(m->addebiti())},
                            {"accrediti", text(m->accrediti())},
                            {"descrizione", text(m->descrizione())},
                            {"tipo", m->tipoMovimento()}});
        }
        statements[key] = {{"fetchedAt", millis(s.fetchedAt)},
                           {"carta", s.carta ? card(*s.carta) : json(nullptr)},
                           {"saldo",
                            {{"saldoAl", text(s.saldo.saldoAl())},
                             {"saldoContabile", text(s.saldo.saldoContabile())},
                             {"saldoDisponibile", text(s.saldo.saldoDisponibile())},
                             {"saldoBloccato", text(s.saldo.saldoBloccato())}}},
                           {"movimenti", std::move(rows)}};
    }
    const json whole = {{"user", data.user},
                        {"cardsAt", millis(data.cardsAt)},
                        {"carte", std::move(cards)},
                        {"statements", std::move(statements)}};
    // Invalid UTF-8 from the service is replaced rather than refused: the copy is still made.
    return whole.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::optional<OfflineData> OfflineDataCoding::decode(std::string_view text) {
    try {
        const json j = json::parse(text);
        OfflineData data;
        data.user = j.at("user").get<std::string>();
        data.cardsAt = clockOf(j, "cardsAt");
        for (const auto& c : j.at("carte")) {
            data.carte.push_back(cardOf(c));
        }
        for (const auto& [key, s] : j.at("statements").items()) {
            OfflineStatement st;
            st.fetchedAt = clockOf(s, "fetchedAt");
            if (!s.at("carta").is_null()) {
                st.carta = cardOf(s.at("carta"));
            }
            const json& saldo = s.at("saldo");
            st.saldo.setSaldoAl(textOf(saldo, "saldoAl"));
            st.saldo.setSaldoContabile(textOf(saldo, "saldoContabile"));
            st.saldo.setSaldoDisponibile(textOf(saldo, "saldoDisponibile"));
            st.saldo.setSaldoBloccato(textOf(saldo, "saldoBloccato"));
            for (const auto& r : s.at("movimenti")) {
                auto m = std::make_shared<Movimento>();
                m->setDataContabile(dateOf(r, "dataContabile"));
                m->setDataValuta(dateOf(r, "dataValuta"));
                m->setAddebiti(textOf(r, "addebiti"));
                m->setAccrediti(textOf(r, "accrediti"));
                m->setDescrizione(textOf(r, "descrizione"));
                m->setTipoMovimento(r.at("tipo").get<std::int32_t>());
                st.movimenti.push_back(std::move(m));
            }
            if (st.movimenti.size() > OfflineData::kMaxRows) {
                return std::nullopt; // not a copy this program wrote
            }
            data.statements.emplace(key, std::move(st));
        }
        return data;
    } catch (const json::exception&) {
        return std::nullopt;
    }
}

} // namespace vestrino
