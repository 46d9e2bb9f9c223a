#include "cli/RecordTables.h"
#include "entities/Importo.h"

#include "core/GeoDistance.h"

#include "cli/TextTable.h"
#include "core/DateFormatter.h"
#include "core/Translation.h"
#include "core/Utf8.h"

#include <algorithm>
#include <array>

namespace vestrino {

namespace {

const char* tipoName(std::int32_t tipo) {
    switch (tipo) {
    case 0:
        return tr("Prelievo");
    case 1:
        return tr("Ricarica carta");
    case 2:
        return tr("Ricarica Lumacard");
    case 3:
        return tr("Ricarica telefonica");
    case 4:
        return tr("Pagamento");
    default:
        return tr("Altro");
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

std::string RecordTables::field(const char* italian) {
    // The label in the language in force, its values lined up after it.
    std::string out = std::string(tr(italian)) + ":";
    out.append(std::max<std::size_t>(1, 14 - codePointCount(out)), ' ');
    return out;
}

std::vector<std::string> RecordTables::headers(std::initializer_list<const char*> italian) {
    std::vector<std::string> out;
    for (const char* h : italian) {
        out.emplace_back(tr(h));
    }
    return out;
}

void RecordTables::printCards(const ListaCarte& carte, std::ostream& out) {
    out << carte.size() << trn(" carta", " carte", carte.size()) << '\n';
    TextTable table(
        headers({"#", N_("Numero"), N_("Codice"), N_("Nome"), N_("Scadenza"), N_("Tipo")}));
    for (std::size_t i = 0; i < carte.size(); ++i) {
        const auto& c = *carte[i];
        const std::string expiry =
            c.dataMM() || c.dataAA() ? shown(c.dataMM()) + "/" + shown(c.dataAA()) : "";
        table.addRow({std::to_string(i + 1), shown(c.serial()), shown(c.desc()), shown(c.alias()),
                      expiry, c.anonima() ? tr("Anonima") : tr("Standard")});
    }
    table.print(out);
}

void RecordTables::printStatement(const CartaDiPagamentoPtr& carta, const SaldoPtr& saldo,
                                  const ListaMovimenti& movimenti, std::ostream& out) {
    if (carta) {
        out << field(N_("Carta")) << shown(carta->serial()) << " (" << shown(carta->intestatario())
            << ")\n";
    }
    if (saldo) {
        out << field(N_("Saldo al")) << shown(saldo->saldoAl()) << '\n'
            << field(N_("Contabile")) << shown(saldo->saldoContabile()) << '\n'
            << field(N_("Disponibile")) << shown(saldo->saldoDisponibile()) << '\n'
            << field(N_("Bloccato")) << shown(saldo->saldoBloccato()) << '\n';
    }
    out << '\n' << movimenti.size() << trn(" movimento", " movimenti", movimenti.size()) << '\n';
    DateFormatter dates("dd/MM/yyyy");
    TextTable table(
        headers({N_("Data"), N_("Valuta"), N_("Tipo"), N_("Importo"), N_("Descrizione")}));
    table.alignRight(3);
    for (const auto& m : movimenti) {
        table.addRow({m->dataContabile() ? dates.stringFromDate(*m->dataContabile()) : "-",
                      m->dataValuta() ? dates.stringFromDate(*m->dataValuta()) : "-",
                      tipoName(m->tipoMovimento()), amount(*m), shown(m->descrizione())});
    }
    table.print(out);
}

void RecordTables::printMonths(const std::vector<MonthTotals>& months, std::ostream& out) {
    out << months.size() << trn(" mese", " mesi", months.size()) << '\n';
    // The kinds' columns that are zero in every month are left out: the table fits a terminal.
    static constexpr std::array<const char*, MonthTotals::kKinds> kKindNames = {
        N_("Prelievi"),           N_("Ricariche carta"), N_("Ricariche Lumacard"),
        N_("Ricariche telefono"), N_("Pagamenti"),       N_("Altro")};
    std::vector<std::size_t> kinds;
    for (std::size_t k = 0; k < MonthTotals::kKinds; ++k) {
        if (std::any_of(months.begin(), months.end(),
                        [k](const MonthTotals& m) { return m.outByKind[k] != 0; })) {
            kinds.push_back(k);
        }
    }
    const bool unreadable = std::any_of(months.begin(), months.end(),
                                        [](const MonthTotals& m) { return m.unreadable != 0; });
    std::vector<std::string> columns =
        headers({N_("Mese"), N_("Movimenti"), N_("Uscite"), N_("Entrate")});
    for (const std::size_t k : kinds) {
        columns.emplace_back(tr(kKindNames[k]));
    }
    if (unreadable) {
        columns.emplace_back(tr("Non leggibili"));
    }
    TextTable table(columns);
    for (std::size_t column = 1; column < columns.size(); ++column) {
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
    TextTable table(
        headers({N_("Frazionario"), N_("Ufficio"), N_("Provincia"), N_("CAP"), "Lat", "Lng"}));
    for (const auto& a : lumaspot) {
        table.addRow({shown(a->frazionario()), shown(a->ufficio()), shown(a->provincia()),
                      shown(a->cap()), shown(a->latitudine()), shown(a->longitudine())});
    }
    table.print(out);
}

void RecordTables::printLumaspot(const std::vector<LumaspotVicino>& lumaspot, std::ostream& out) {
    out << lumaspot.size() << " Lumaspot\n";
    TextTable table(headers({N_("Distanza"), N_("Frazionario"), N_("Ufficio"), N_("Provincia"),
                             N_("CAP"), "Lat", "Lng"}));
    for (const auto& v : lumaspot) {
        const auto& a = v.atm;
        table.addRow({v.km ? GeoDistance::italianText(*v.km) : std::string("-"),
                      shown(a->frazionario()), shown(a->ufficio()), shown(a->provincia()),
                      shown(a->cap()), shown(a->latitudine()), shown(a->longitudine())});
    }
    table.print(out);
}

} // namespace vestrino
