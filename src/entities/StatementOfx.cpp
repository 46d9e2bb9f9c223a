#include "entities/StatementOfx.h"

#include "entities/Importo.h"
#include "entities/LocalDays.h"
#include "entities/PayeeName.h"
#include "entities/StatementFitids.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <tuple>
#include <vector>

namespace vestrino {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// OFX 1.02 is SGML: in an element's text only these three stand for something else.
std::string escaped(std::string_view text) {
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
        default:
            out += c;
        }
    }
    return out;
}

class OfxWriter {
public:
    void open(std::string_view tag) { line("<" + std::string(tag) + ">"); }
    void close(std::string_view tag) { line("</" + std::string(tag) + ">"); }
    // An element with a value: 1.02's elements end at the next tag, with no closing tag.
    void element(std::string_view tag, std::string_view value) {
        line("<" + std::string(tag) + ">" + std::string(value));
    }
    void status() {
        open("STATUS");
        element("CODE", "0");
        element("SEVERITY", "INFO");
        close("STATUS");
    }
    void line(std::string_view text) {
        out_ += text;
        out_ += kLineEnd;
    }
    std::string& text() { return out_; }

private:
    std::string out_;
};

std::time_t secondsOf(Date moment) {
    return std::chrono::floor<std::chrono::seconds>(moment).time_since_epoch().count();
}

std::time_t noonOf(const LocalDays::Day& day) {
    std::tm noon{};
    noon.tm_year = day.year - 1900;
    noon.tm_mon = day.month - 1;
    noon.tm_mday = day.day;
    noon.tm_hour = 12;
    noon.tm_isdst = -1; // whatever the zone says of that day
    return std::mktime(&noon);
}

std::string timeText(std::time_t seconds) {
    std::tm local{};
    if (!::localtime_r(&seconds, &local)) {
        return "19700101000000.000[0:UTC]";
    }
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d%H%M%S.000", &local);
    std::string out = text;
    const long minutes = local.tm_gmtoff / 60;
    const long whole = std::labs(minutes) / 60;
    const long part = std::labs(minutes) % 60;
    out += '[';
    out += minutes < 0 ? '-' : '+';
    out += std::to_string(whole);
    if (part != 0) {
        // Hours with a decimal fraction, as readers parse the offset: +5.5, +5.75.
        std::string fraction = std::to_string(part * 100 / 60);
        if (fraction.size() == 1) {
            fraction.insert(0, "0");
        }
        while (fraction.back() == '0') {
            fraction.pop_back();
        }
        out += '.' + fraction;
    }
    out += ':';
    // The zone's name where it is a word ("CET"); some zones are named by their offset
    // ("+0530"), which readers do not take there.
    const std::string_view name = local.tm_zone ? local.tm_zone : "";
    if (std::all_of(name.begin(), name.end(),
                    [](char c) { return std::isalnum(static_cast<unsigned char>(c)); })) {
        out += name;
    }
    out += ']';
    return out;
}

// A balance's day from the service's "dd/MM/yyyy"; nothing when the text is something else.
std::optional<LocalDays::Day> balanceDay(const std::optional<std::string>& text) {
    if (!text) {
        return std::nullopt;
    }
    LocalDays::Day day;
    char rest = 0;
    if (std::sscanf(text->c_str(), "%2d/%2d/%4d%c", &day.day, &day.month, &day.year, &rest) != 3 ||
        day.month < 1 || day.month > 12 || day.day < 1 || day.day > 31 || day.year < 1900) {
        return std::nullopt;
    }
    // A day the month does not have ("31/02") is no date: mktime would move it into March.
    std::tm check{};
    check.tm_year = day.year - 1900;
    check.tm_mon = day.month - 1;
    check.tm_mday = day.day;
    check.tm_hour = 12;
    check.tm_isdst = -1;
    if (std::mktime(&check) == -1 || check.tm_mday != day.day || check.tm_mon != day.month - 1) {
        return std::nullopt;
    }
    return day;
}

void balance(OfxWriter& ofx, std::string_view tag, const std::optional<std::string>& amount,
             const std::string& asOf) {
    const auto cents = amount ? Importo::centsFromItalian(*amount) : std::nullopt;
    if (!cents) {
        // Left out rather than written as some amount the card does not have.
        return;
    }
    ofx.open(tag);
    ofx.element("BALAMT", Importo::decimalPoint(*cents));
    ofx.element("DTASOF", asOf);
    ofx.close(tag);
}

void writeHeader(OfxWriter& ofx) {
    ofx.line("OFXHEADER:100");
    ofx.line("DATA:OFXSGML");
    ofx.line("VERSION:102");
    ofx.line("SECURITY:NONE");
    // OFX 1.02 names single-byte character sets only; libofx and its importers also take UTF-8
    // declared so and pass it through whole, which keeps every character of a description
    // (Windows-1252 would lose those outside it).
    ofx.line("ENCODING:UTF-8");
    ofx.line("CHARSET:NONE");
    ofx.line("COMPRESSION:NONE");
    ofx.line("OLDFILEUID:NONE");
    ofx.line("NEWFILEUID:NONE");
    ofx.line("");
}

void writeSignOn(OfxWriter& ofx, const std::string& now) {
    ofx.open("SIGNONMSGSRSV1");
    ofx.open("SONRS");
    ofx.status();
    ofx.element("DTSERVER", now);
    ofx.element("LANGUAGE", "ITA");
    ofx.open("FI");
    ofx.element("ORG", "Lumacard");
    ofx.close("FI");
    ofx.close("SONRS");
    ofx.close("SIGNONMSGSRSV1");
}

// Each row's posting time (noon of its value date, or of its booking date), and the first and
// last of those dates.
struct PostedDates {
    std::vector<std::string> posted;
    std::optional<Date> first, last;
};

PostedDates postedDates(const std::vector<MovimentoPtr>& rows, const std::string& now) {
    PostedDates dates;
    dates.posted.reserve(rows.size());
    LocalDays days;
    // A statement has a few hundred days at most: each noon is worked out once (mktime and
    // localtime take the C library's zone lock each time).
    std::map<std::tuple<int, int, int>, std::string> noons;
    for (const auto& m : rows) {
        // The value date is the day the money moved; the booking date stands in for it.
        const auto date = m->dataValuta() ? m->dataValuta() : m->dataContabile();
        const auto day = days.day(date);
        if (!day) {
            dates.posted.push_back(now);
        } else {
            auto [it, added] = noons.try_emplace({day->year, day->month, day->day});
            if (added) {
                it->second = timeText(noonOf(*day));
            }
            dates.posted.push_back(it->second);
        }
        if (date) {
            dates.first = dates.first ? std::min(*dates.first, *date) : *date;
            dates.last = dates.last ? std::max(*dates.last, *date) : *date;
        }
    }
    return dates;
}

void writeTransactions(OfxWriter& ofx, const std::vector<MovimentoPtr>& rows,
                       const std::vector<std::string>& ids, const std::string& now) {
    const auto dates = postedDates(rows, now);
    ofx.open("BANKTRANLIST");
    ofx.element("DTSTART", dates.first ? StatementOfx::dayAtNoon(*dates.first) : now);
    ofx.element("DTEND", dates.last ? StatementOfx::dayAtNoon(*dates.last) : now);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Movimento& m = *rows[i];
        const std::int64_t cents = *Importo::signedCents(m);
        ofx.open("STMTTRN");
        ofx.element("TRNTYPE", StatementOfx::transactionType(m.tipoMovimento(), cents));
        ofx.element("DTPOSTED", dates.posted[i]);
        ofx.element("TRNAMT", Importo::decimalPoint(cents));
        ofx.element("FITID", ids[i]);
        const auto payee = PayeeName::of(m.descrizione().value_or(""));
        if (!payee.name.empty()) {
            ofx.element("NAME", escaped(payee.name));
        }
        if (!payee.memo.empty()) {
            ofx.element("MEMO", escaped(payee.memo));
        }
        ofx.close("STMTTRN");
    }
    ofx.close("BANKTRANLIST");
}

} // namespace

bool StatementOfx::bookable(const Movimento& m) {
    return Importo::signedCents(m).has_value();
}

std::string_view StatementOfx::transactionType(std::int32_t tipoMovimento, std::int64_t cents) {
    switch (tipoMovimento) {
    case 0:
        return "ATM";
    case 1:
    case 2:
        return cents >= 0 ? "CREDIT" : "XFER";
    case 4:
        return "POS";
    default:
        return cents >= 0 ? "CREDIT" : "DEBIT";
    }
}

std::string StatementOfx::dateTime(Date moment) {
    return timeText(secondsOf(moment));
}

std::string StatementOfx::dayAtNoon(Date date) {
    LocalDays days;
    const auto day = days.day(date);
    return day ? timeText(noonOf(*day)) : timeText(secondsOf(date));
}

std::string StatementOfx::accountId(const CartaDiPagamento* carta) {
    std::string id;
    for (const char c : carta && carta->serial() ? *carta->serial() : std::string()) {
        if (std::isalnum(static_cast<unsigned char>(c)) && id.size() < 22) {
            id += c;
        }
    }
    return id.empty() ? std::string("0") : id;
}

std::string StatementOfx::write(const StatementSource& source) {
    std::vector<MovimentoPtr> rows;
    for (const auto& m : source.rows) {
        if (m && bookable(*m)) {
            rows.push_back(m);
        }
    }
    const std::string account = accountId(source.carta);
    const std::string now = dateTime(source.now);
    OfxWriter ofx;
    writeHeader(ofx);
    ofx.open("OFX");
    writeSignOn(ofx, now);
    // A prepaid card is written as a bank account (the bank message set, a CHECKING account),
    // not as a credit card: the money on it is the holder's own, as on a current account.
    // libofx reads both alike, but GnuCash, KMyMoney and HomeBank make a credit card's account a
    // liability, where the card's balance would read as money owed and a top-up as a
    // repayment; a bank account is an asset, whose balance has the card's sign.
    ofx.open("BANKMSGSRSV1");
    ofx.open("STMTTRNRS");
    ofx.element("TRNUID", "0");
    ofx.status();
    ofx.open("STMTRS");
    ofx.element("CURDEF", "EUR");
    ofx.open("BANKACCTFROM");
    ofx.element("BANKID", "LUMACARD");
    ofx.element("ACCTID", account);
    ofx.element("ACCTTYPE", "CHECKING");
    ofx.close("BANKACCTFROM");
    writeTransactions(ofx, rows, StatementFitids::of(rows, account), now);
    if (source.saldo) {
        const auto day = balanceDay(source.saldo->saldoAl());
        const std::string asOf = day ? timeText(noonOf(*day)) : now;
        balance(ofx, "LEDGERBAL", source.saldo->saldoContabile(), asOf);
        balance(ofx, "AVAILBAL", source.saldo->saldoDisponibile(), asOf);
    }
    ofx.close("STMTRS");
    ofx.close("STMTTRNRS");
    ofx.close("BANKMSGSRSV1");
    ofx.close("OFX");
    return std::move(ofx.text());
}

} // namespace vestrino
