#pragma once

#include "entities/ATMLumaspot.h"
#include "entities/CartaDiPagamento.h"
#include "entities/MonthTotals.h"
#include "entities/Movimento.h"
#include "entities/Saldo.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace vestrino {

class DateFormatter;

// The stable JSON form of the records: the records' own field names, absent as null, dates as
// "dd/MM/yyyy".
nlohmann::ordered_json toJson(const std::optional<std::string>& value);
nlohmann::ordered_json toJson(const CartaDiPagamentoPtr& carta);
nlohmann::ordered_json toJson(const SaldoPtr& saldo);
nlohmann::ordered_json toJson(const Movimento& movimento, DateFormatter& dates);
nlohmann::ordered_json toJson(const ATMLumaspot& atm);
nlohmann::ordered_json toJson(const ListaCarte& carte);
nlohmann::ordered_json toJson(const ListaMovimenti& movimenti);
nlohmann::ordered_json toJson(const ListaLumaspot& lumaspot);
// A statement's months: the month ("2026-11"), its label, the count, and every sum in cents and
// as the screen writes it.
nlohmann::ordered_json toJson(const std::vector<MonthTotals>& months);

} // namespace vestrino
