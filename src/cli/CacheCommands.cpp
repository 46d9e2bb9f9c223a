#include "cli/CacheCommands.h"

#include "cli/RecordJson.h"
#include "cli/RecordTables.h"
#include "cli/SecretInput.h"
#include "core/DateFormatter.h"
#include "core/Translation.h"
#include "store/FileUtils.h"
#include "store/OfflineCopy.h"

#include <nlohmann/json.hpp>

namespace vestrino {

namespace {

using Json = nlohmann::ordered_json;

std::string when(WallTime t) {
    return DateFormatter("dd/MM/yyyy HH:mm").stringFromDate(t);
}

std::string refusal(OfflineCopy::State state) {
    switch (state) {
    case OfflineCopy::State::Missing:
        return tr("nessuna copia");
    case OfflineCopy::State::WrongPassword:
        return tr("la password non apre la copia");
    case OfflineCopy::State::Damaged:
        return tr("copia danneggiata, messa da parte");
    case OfflineCopy::State::Unavailable:
        return tr("copia non leggibile ora");
    case OfflineCopy::State::Opened:
        break;
    }
    return {};
}

} // namespace

int CacheCommands::show(const std::string& user, const ServiceCommands::Io& io) {
    const auto path = OfflineCopy::pathFor(FileUtils::applicationDocumentsDirectory(), user);
    const auto password = SecretInput::read(tr("Password di ") + user + ": ", io.in);
    const auto opening = OfflineCopy::open(path, password.value_or(""));
    if (opening.state != OfflineCopy::State::Opened) {
        if (io.json) {
            io.out << Json{{"copia", nullptr}, {"errore", refusal(opening.state)}}.dump() << '\n';
        } else {
            io.err << "vestrino-cli: " << path.string() << ": " << refusal(opening.state) << '\n';
        }
        return 1;
    }
    const OfflineData& data = *opening.data;
    if (io.json) {
        Json statements = Json::array();
        for (const auto& [key, s] : data.statements) {
            statements.push_back({{"carta", key},
                                  {"dati", when(s.fetchedAt)},
                                  {"saldo", toJson(std::make_shared<Saldo>(s.saldo))},
                                  {"movimenti", toJson(s.movimenti)}});
        }
        io.out << Json{{"copia", path.string()},
                       {"utente", data.user},
                       {"dati", when(data.newest())},
                       {"carte", toJson(data.carte)},
                       {"estratti", statements}}
                      .dump()
               << '\n';
        return 0;
    }
    io.out << tr("Copia per l'uso senza connessione di ") << data.user << tr(", dati del ")
           << when(data.newest()) << '\n';
    RecordTables::printCards(data.carte, io.out);
    for (const auto& [key, s] : data.statements) {
        io.out << key << ": " << s.movimenti.size() << tr(" movimenti, dati del ")
               << when(s.fetchedAt) << '\n';
    }
    return 0;
}

int CacheCommands::forget(const std::string& user, const ServiceCommands::Io& io) {
    const auto path = OfflineCopy::pathFor(FileUtils::applicationDocumentsDirectory(), user);
    const bool was = std::filesystem::exists(path);
    if (!OfflineCopy::forget(path)) {
        io.err << "vestrino-cli: " << path.string() << tr(": non rimossa") << '\n';
        return 1;
    }
    io.out << (was ? tr("Copia rimossa: ") : tr("Nessuna copia: ")) << path.string() << '\n';
    return 0;
}

} // namespace vestrino
