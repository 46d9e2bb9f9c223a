#include "entities/StatementCsv.h"

#include "entities/Importo.h"

#include "core/DateFormatter.h"

#include <unordered_map>

namespace vestrino {

namespace {

// Dates in the device's time zone, as the statement shows them; a statement repeats its few
// dates many times, so each is formatted once.
class IsoDates {
public:
    const std::string& text(const std::optional<Date>& date) {
        static const std::string none;
        if (!date) {
            return none;
        }
        const auto key = date->time_since_epoch().count();
        auto it = memo_.find(key);
        if (it == memo_.end()) {
            it = memo_.emplace(key, formatter_.stringFromDate(*date)).first;
        }
        return it->second;
    }

private:
    DateFormatter formatter_{"yyyy-MM-dd"};
    std::unordered_map<long long, std::string> memo_;
};

} // namespace

std::string StatementCsv::field(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string out = "\"";
    for (const char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + '"';
}

std::string StatementCsv::write(std::span<const MovimentoPtr> rows) {
    IsoDates dates;
    std::string out = std::string(kHeader) + "\r\n";
    out.reserve(rows.size() * 96);
    for (const auto& m : rows) {
        if (!m) {
            continue;
        }
        const auto cents = Importo::signedCents(*m);
        const bool credit = m->accrediti() && !m->accrediti()->empty();
        const std::string original =
            credit ? "+" + *m->accrediti() : "-" + m->addebiti().value_or("");
        out += dates.text(m->dataContabile());
        out += ',';
        out += dates.text(m->dataValuta());
        out += ',';
        out += field(m->descrizione().value_or(""));
        out += ',';
        out += cents ? Importo::decimalPoint(*cents) : std::string();
        out += ',';
        out += std::to_string(m->tipoMovimento());
        out += ',';
        out += field(original);
        out += "\r\n";
    }
    return out;
}

} // namespace vestrino
