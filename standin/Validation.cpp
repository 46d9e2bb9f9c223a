#include "Validation.h"

#include <charconv>

namespace lumacard {

namespace {

using Failure = Validation::Failure;

bool empty(const std::optional<std::string>& s) {
    return !s || s->empty();
}

std::optional<double> number(const std::string& s) {
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) {
        return std::nullopt;
    }
    return v;
}

} // namespace

bool Validation::digitsOnly(const std::string& s) {
    for (const char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return !s.empty();
}

bool Validation::luhn(const std::string& digits) {
    int sum = 0;
    bool twice = false;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        int d = *it - '0';
        if (twice) {
            d *= 2;
            if (d > 9) {
                d -= 9;
            }
        }
        sum += d;
        twice = !twice;
    }
    return sum % 10 == 0;
}

std::optional<Failure> Validation::login(const std::optional<std::string>& user,
                                         const std::optional<std::string>& password) {
    if (empty(user)) {
        return Failure{"parametro_user_vuoto", "Inserire il nome utente."};
    }
    if (empty(password)) {
        return Failure{"parametro_password_vuoto", "Inserire la password."};
    }
    if (password->size() < 6 || password->size() > 32) {
        return Failure{"parametro_password_lunghezza_errata",
                       "La password deve contenere da 6 a 32 caratteri."};
    }
    return std::nullopt;
}

std::optional<Failure> Validation::selPan(const std::optional<std::string>& selPan) {
    if (empty(selPan)) {
        return Failure{"parametro_selpan_vuoto", "Carta non indicata."};
    }
    if (!digitsOnly(*selPan)) {
        return Failure{"parametro_selpan_non_numerico", "Il codice della carta non è numerico."};
    }
    if (selPan->size() != 10) {
        return Failure{"parametro_selpan_lunghezza_errata",
                       "Il codice della carta ha una lunghezza errata."};
    }
    return std::nullopt;
}

std::optional<Failure> Validation::anonymousCard(const std::optional<std::string>& numero,
                                                 const std::optional<std::string>& dataMM,
                                                 const std::optional<std::string>& dataAA,
                                                 const std::optional<std::string>& cvv2) {
    if (empty(numero)) {
        return Failure{"parametro_numero_carta_vuoto", "Inserire il numero della carta."};
    }
    if (!digitsOnly(*numero)) {
        return Failure{"parametro_numero_carta_non_numerico",
                       "Il numero della carta deve contenere solo cifre."};
    }
    if (numero->size() != 16) {
        return Failure{"parametro_numero_carta_lunghezza_errata",
                       "Il numero della carta deve contenere 16 cifre."};
    }
    if (!luhn(*numero)) {
        return Failure{"parametro_numero_carta_non_valido", "Il numero della carta non è valido."};
    }
    if (empty(dataMM)) {
        return Failure{"parametro_data_mese_vuoto", "Inserire il mese di scadenza."};
    }
    if (!digitsOnly(*dataMM)) {
        return Failure{"parametro_data_mese_non_numerico", "Il mese di scadenza non è numerico."};
    }
    if (dataMM->size() != 2) {
        return Failure{"parametro_data_mese_lunghezza_errata",
                       "Il mese di scadenza deve avere due cifre."};
    }
    if (const int m = std::stoi(*dataMM); m < 1 || m > 12) {
        return Failure{"parametro_data_mese_valore_errato", "Il mese di scadenza non è valido."};
    }
    if (empty(dataAA)) {
        return Failure{"parametro_data_anno_vuoto", "Inserire l'anno di scadenza."};
    }
    if (!digitsOnly(*dataAA)) {
        return Failure{"parametro_data_anno_non_numerico", "L'anno di scadenza non è numerico."};
    }
    if (dataAA->size() != 2) {
        return Failure{"parametro_data_anno_lunghezza_errata",
                       "L'anno di scadenza deve avere due cifre."};
    }
    if (empty(cvv2)) {
        return Failure{"parametro_cvv2_vuoto", "Inserire il codice CVV2."};
    }
    if (!digitsOnly(*cvv2)) {
        return Failure{"parametro_cvv2_non_numerico", "Il codice CVV2 deve contenere solo cifre."};
    }
    if (cvv2->size() != 3) {
        return Failure{"parametro_cvv2_lunghezza_errata", "Il codice CVV2 deve avere tre cifre."};
    }
    return std::nullopt;
}

std::optional<Failure> Validation::lumaspotSearch(const std::optional<std::string>& lat,
                                                  const std::optional<std::string>& lng,
                                                  const std::optional<std::string>& raggio,
                                                  double& latValue, double& lngValue,
                                                  double& raggioValue) {
    if (empty(lat)) {
        return Failure{"parametro_lat_vuoto", "Latitudine non indicata."};
    }
    const auto la = number(*lat);
    if (!la) {
        return Failure{"parametro_lat_non_numerico", "La latitudine non è un numero."};
    }
    if (*la < -90 || *la > 90) {
        return Failure{"parametro_lat_non_valido", "La latitudine non è valida."};
    }
    if (empty(lng)) {
        return Failure{"parametro_lng_vuoto", "Longitudine non indicata."};
    }
    const auto lo = number(*lng);
    if (!lo) {
        return Failure{"parametro_lng_non_numerico", "La longitudine non è un numero."};
    }
    if (*lo < -180 || *lo > 180) {
        return Failure{"parametro_lng_non_valido", "La longitudine non è valida."};
    }
    const auto r = number(raggio.value_or(""));
    if (!r) {
        return Failure{"parametro_raggio_non_numerico", "Il raggio non è un numero."};
    }
    if (*r <= 0 || *r > 100) {
        return Failure{"parametro_raggio_non_valido", "Il raggio deve essere tra 0 e 100 km."};
    }
    latValue = *la;
    lngValue = *lo;
    raggioValue = *r;
    return std::nullopt;
}

} // namespace lumacard
