#include "cli/RecordTables.h"
#include "entities/Importo.h"

#include "core/GeoDistance.h"

#include "cli/TextTable.h"
#include "core/DateFormatter.h"

#include <algorithm>
#include <array>

namespace vestrino {

namespace {

const char* tipoName(std::int32_t tipo) {
    switch (tipo) {
    case 0:
        return "Prelievo";
    case 1:
        return "Ricarica carta";
    case 2:
        return "Ricarica Lumacard";
    case 3:
        return "Ricarica telefonica";
    case 4:
        return "Pagamento";
    default:
        return "Altro";
    }
}

std::string amount(const Movimento& m) {
    if (m.addebiti() && !m.addebiti()->empty()) {
        return "-" + *m.addebiti();
    }
    if (m.accrediti() && !m.accrediti()->empty()) {
        return "+" + *m.accrediti();
    }
    return "";
}

} // namespace

std::string RecordTables::shown(const std::optional<std::string>& value) {
    return value ? *value : "-";
}

void RecordTables::printCards(const ListaCarte& carte, std::ostream& out) {
    out << carte.size() << " carte\n";
    TextTable table({"#", "Numero", "Codice", "Nome", "Scadenza", "Tipo"});
    for (std::size_t i = 0; i < carte.size(); ++i) {
        const auto& c = *carte[i];
        const std::string expiry =
            c.dataMM() || c.dataAA() ? shown(c.dataMM()) + "/" + shown(c.dataAA()) : "";
        table.addRow({std::to_string(i + 1), shown(c.serial()), shown(c.desc()), shown(c.alias()),
                      expiry, c.anonima() ? "Anonima" : "Standard"});
    }
    table.print(out);
}

void RecordTables::printStatement(const CartaDiPagamentoPtr& carta, const SaldoPtr& saldo,
                                  const ListaMovimenti& movimenti, std::ostream& out) {
    if (carta) {
        out << "Carta:        " << shown(carta->serial()) << " (" << shown(carta->intestatario())
            << ")\n";
    }
    if (saldo) {
        out << "Saldo al:     " << shown(saldo->saldoAl()) << '\n'
            << "Contabile:    " << shown(saldo->saldoContabile()) << '\n'
            << "Disponibile:  " << shown(saldo->saldoDisponibile()) << '\n'
            << "Bloccato:     " << shown(saldo->saldoBloccato()) << '\n';
    }
    out << '\n' << movimenti.size() << " movimenti\n";
    DateFormatter dates("dd/MM/yyyy");
    TextTable table({"Data", "Valuta", "Tipo", "Importo", "Descrizione"});
    table.alignRight(3);
    for (const auto& m : movimenti) {
        table.addRow({m->dataContabile() ? dates.stringFromDate(*m->dataContabile()) : "-",
                      m->dataValuta() ? dates.stringFromDate(*m->dataValuta()) : "-",
                      tipoName(m->tipoMovimento()), amount(*m), shown(m->descrizione())});
    }
    table.print(out);
}

void RecordTables::printMonths(const std::vector<MonthTotals>& months, std::ostream& out) {
    out << months.size() << (months.size() == 1 ? " mese\n" : " mesi\n");
    // The kinds' columns that are zero in every month are left out: the table fits a terminal.
    static constexpr std::array<const char*, MonthTotals::kKinds> kKindNames = {
        "Prelievi",           "Ricariche carta", "Ricariche Lumacard",
        "Ricariche telefono", "Pagamenti",       "Altro"};
    std::vector<std::size_t> kinds;
    for (std::size_t k = 0; k < MonthTotals::kKinds; ++k) {
        if (std::any_of(months.begin(), months.end(),
                        [k](const MonthTotals& m) { return m.outByKind[k] != 0; })) {
            kinds.push_back(k);
        }
    }
    const bool unreadable = std::any_of(months.begin(), months.end(),
                                        [](const MonthTotals& m) { return m.unreadable != 0; });
    std::vector<std::string> headers{"Mese", "Movimenti", "Uscite", "Entrate"};
    for (const std::size_t k : kinds) {
        headers.emplace_back(kKindNames[k]);
    }
    if (unreadable) {
        headers.emplace_back("Non leggibili");
    }
    TextTable table(headers);
    for (std::size_t column = 1; column < headers.size(); ++column) {
        table.alignRight(column);
    }
    for (const auto& m : months) {
        std::vector<std::string> row{m.month.label(), std::to_string(m.count), m.outText(),
                                     m.inText()};
        for (const std::size_t k : kinds) {
            row.push_back(Importo::italian(m.outByKind[k]));
        }
        if (unreadable) {
            row.push_back(std::to_string(m.unreadable));
        }
        table.addRow(std::move(row));
    }
    table.print(out);
}

void RecordTables::printLumaspot(const ListaLumaspot& lumaspot, std::ostream& out) {
    out << lumaspot.size() << " Lumaspot\n";
    TextTable table({"Frazionario", "Ufficio", "Provincia", "CAP", "Lat", "Lng"});
    for (const auto& a : lumaspot) {
        table.addRow({shown(a->frazionario()), shown(a->ufficio()), shown(a->provincia()),
                      shown(a->cap()), shown(a->latitudine()), shown(a->longitudine())});
    }
    table.print(out);
}

void RecordTables::printLumaspot(const std::vector<LumaspotVicino>& lumaspot, std::ostream& out) {
    out << lumaspot.size() << " Lumaspot\n";
    TextTable table({"Distanza", "Frazionario", "Ufficio", "Provincia", "CAP", "Lat", "Lng"});
    for (const auto& v : lumaspot) {
        const auto& a = v.atm;
        table.addRow({v.km ? GeoDistance::italianText(*v.km) : std::string("-"),
                      shown(a->frazionario()), shown(a->ufficio()), shown(a->provincia()),
                      shown(a->cap()), shown(a->latitudine()), shown(a->longitudine())});
    }
    table.print(out);
}

} // namespace vestrino
