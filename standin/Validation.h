#pragma once

#include <optional>
#include <string>
#include <utility>

namespace lumacard {

// The checks the service makes on request fields, each failure as its code word and message.
class Validation {
public:
    using Failure = std::pair<std::string, std::string>; // codice_esito, messaggio

    static std::optional<Failure> login(const std::optional<std::string>& user,
                                        const std::optional<std::string>& password);
    static std::optional<Failure> selPan(const std::optional<std::string>& selPan);
    static std::optional<Failure> anonymousCard(const std::optional<std::string>& numero,
                                                const std::optional<std::string>& dataMM,
                                                const std::optional<std::string>& dataAA,
                                                const std::optional<std::string>& cvv2);
    // lat, lng and raggio read as numbers when they pass.
    static std::optional<Failure> lumaspotSearch(const std::optional<std::string>& lat,
                                                 const std::optional<std::string>& lng,
                                                 const std::optional<std::string>& raggio,
                                                 double& latValue, double& lngValue,
                                                 double& raggioValue);

    static bool digitsOnly(const std::string& s);
    static bool luhn(const std::string& digits);
};

} // namespace lumacard
