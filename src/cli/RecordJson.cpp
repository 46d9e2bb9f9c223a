#include "cli/RecordJson.h"

#include "core/DateFormatter.h"
#include "entities/Importo.h"

namespace vestrino {

namespace {
nlohmann::ordered_json dateJson(const std::optional<Date>& date, DateFormatter& dates) {
    return date ? nlohmann::ordered_json(dates.stringFromDate(*date))
                : nlohmann::ordered_json(nullptr);
}
} // namespace

nlohmann::ordered_json toJson(const std::optional<std::string>& value) {
    return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json toJson(const CartaDiPagamentoPtr& carta) {
    if (!carta) {
        return nullptr;
    }
    return {{"serial", toJson(carta->serial())}, {"desc", toJson(carta->desc())},
            {"alias", toJson(carta->alias())},   {"intestatario", toJson(carta->intestatario())},
            {"dataAA", toJson(carta->dataAA())}, {"dataMM", toJson(carta->dataMM())},
            {"anonima", carta->anonima()}};
}

nlohmann::ordered_json toJson(const SaldoPtr& saldo) {
    if (!saldo) {
        return nullptr;
    }
    return {{"saldoAl", toJson(saldo->saldoAl())},
            {"saldoContabile", toJson(saldo->saldoContabile())},
            {"saldoDisponibile", toJson(saldo->saldoDisponibile())},
            {"saldoBloccato", toJson(saldo->saldoBloccato())}};
}

nlohmann::ordered_json toJson(const Movimento& movimento, DateFormatter& dates) {
    return {{"dataContabile", dateJson(movimento.dataContabile(), dates)},
            {"dataValuta", dateJson(movimento.dataValuta(), dates)},
            {"addebiti", toJson(movimento.addebiti())},
            {"accrediti", toJson(movimento.accrediti())},
            {"descrizione", toJson(movimento.descrizione())},
            {"tipoMovimento", movimento.tipoMovimento()}};
}

nlohmann::ordered_json toJson(const ATMLumaspot& atm) {
    return {{"frazionario", toJson(atm.frazionario())}, {"ufficio", toJson(atm.ufficio())},
            {"provincia", toJson(atm.provincia())},     {"cap", toJson(atm.cap())},
            {"latitudine", toJson(atm.latitudine())},   {"longitudine", toJson(atm.longitudine())}};
}

nlohmann::ordered_json toJson(const ListaCarte& carte) {
    auto out = nlohmann::ordered_json::array();
    for (const auto& carta : carte) {
        out.push_back(toJson(carta));
    }
    return out;
}

nlohmann::ordered_json toJson(const ListaMovimenti& movimenti) {
    DateFormatter dates("dd/MM/yyyy");
    auto out = nlohmann::ordered_json::array();
    for (const auto& movimento : movimenti) {
        out.push_back(toJson(*movimento, dates));
    }
    return out;
}

nlohmann::ordered_json toJson(const ListaLumaspot& lumaspot) {
    auto out = nlohmann::ordered_json::array();
    for (const auto& atm : lumaspot) {
        out.push_back(toJson(*atm));
    }
    return out;
}

} // namespace vestrino

namespace vestrino {

nlohmann::ordered_json toJson(const std::vector<MonthTotals>& months) {
    static constexpr const char* kKindNames[MonthTotals::kKinds] = {
        "prelievi",          "ricaricheCarta", "ricaricheLumacard",
        "ricaricheTelefono", "pagamenti",      "altro"};
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (const auto& m : months) {
        nlohmann::ordered_json kinds = nlohmann::ordered_json::object();
        for (std::size_t k = 0; k < MonthTotals::kKinds; ++k) {
            kinds[kKindNames[k]] = m.outByKind[k];
        }
        out.push_back({{"mese", m.month.iso()},
                       {"etichetta", m.month.label()},
                       {"movimenti", m.count},
                       {"usciteCents", m.outCents},
                       {"entrateCents", m.inCents},
                       {"uscite", m.outText()},
                       {"entrate", m.inText()},
                       {"usciteCentsPerTipo", kinds},
                       {"nonLeggibili", m.unreadable}});
    }
    return out;
}

} // namespace vestrino
