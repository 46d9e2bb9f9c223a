#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumacard {

// What the stand-in knows: users with their cards, anonymous cards, cash machines and the
// banner, read from a JSON file (standin/data/demo.json).
struct DemoData {
    struct Saldo {
        std::string saldoAl, saldoContabile, saldoDisponibile, saldoBloccato;
    };
    struct Movimento {
        std::string dataContabile, dataValuta, addebiti, accrediti, descrizione;
    };
    struct Statement {
        std::string numero, intestatario;
        Saldo saldo;
        std::vector<Movimento> movimenti;
    };
    struct Card : Statement {
        std::string codice; // the identifier the statement request names (selPan)
    };
    struct AnonymousCard : Statement {
        std::string dataAA, dataMM, cvv2;
    };
    struct User {
        std::string user, password, name;
        std::vector<std::string> cards; // codici
    };
    struct Lumaspot {
        std::string frazionario, ufficio, provincia, cap;
        double lat = 0, lng = 0;
    };

    std::vector<User> users;
    std::vector<Card> cards;
    std::vector<AnonymousCard> anonymous;
    std::vector<Lumaspot> lumaspot;
    std::string banner; // image bytes; empty: no banner

    const User* findUser(const std::string& name) const;
    const Card* findCard(const std::string& codice) const;

    // Reads the file; nothing when it cannot be read (the error says why).
    static std::optional<DemoData> load(const std::filesystem::path& file, std::string& error);
};

} // namespace lumacard
