#include "cli/ServiceCommands.h"

#include "cli/RecordJson.h"
#include "cli/RecordTables.h"
#include "cli/SecretInput.h"
#include "core/PictureInfo.h"
#include "core/Translation.h"
#include "entities/LumaspotVicino.h"
#include "entities/StatementFile.h"
#include "entities/StatementModel.h"
#include "service/Constants.h"
#include "service/RemoteServiceUtil.h"
#include "store/CardList.h"
#include "store/FileUtils.h"
#include "store/GestoreCarteLocali.h"
#include "store/UnreadableCardFile.h"

#include <chrono>
#include <cmath>
#include <ostream>

namespace vestrino {

namespace {

using Json = nlohmann::ordered_json;
using Text = RemoteServiceUtil::Text;

// What the command did last: the operation's name, its outcome and the service's message.
struct Outcome {
    int code = SUCCESS;
    std::string step;
    Text messaggio;
};

Json outcomeJson(const Outcome& o) {
    return Json{{"code", o.code}, {"step", o.step}, {"messaggio", toJson(o.messaggio)}};
}

// The message a person reads for a failure code.
std::string describe(const Outcome& o) {
    if (o.code == CODICE_ERRORE_CONNESSIONE) {
        return tr("Problema di connessione, verificare la connettività dati.");
    }
    return o.messaggio && !o.messaggio->empty() ? *o.messaggio
                                                : tr("Errore ") + std::to_string(o.code);
}

int finish(const Outcome& o, Json payload, const ServiceCommands::Io& io) {
    if (io.json) {
        Json out = outcomeJson(o);
        for (auto& [k, v] : payload.items()) {
            out[k] = v;
        }
        io.out << out.dump() << '\n';
    } else if (o.code != SUCCESS) {
        io.err << "vestrino-cli: " << o.step << tr(" non riuscito (") << o.code
               << "): " << describe(o) << '\n';
        if (o.code == CODICE_ERRORE_CONNESSIONE) {
            // Which host was tried, and the usual cause on this machine: a stand-in's
            // certificate is trusted only through its own CA file.
            io.err << tr("vestrino-cli: nessuna risposta da https://") << serviceHost()
                   << tr(" (o il suo certificato non è tra quelli fidati); lo stand-in vuole "
                         "--cafile con il file della sua CA (scripts/with-standin imposta "
                         "VESTRINO_CAFILE)")
                   << '\n';
        }
    }
    return o.code == SUCCESS ? 0 : 1;
}

// Logs in with the password from standard input; false (with the outcome set) on failure.
bool login(const std::string& user, const ServiceCommands::Io& io, Outcome& o) {
    const auto password = SecretInput::read(tr("Password di ") + user + ": ", io.in);
    o.step = "login";
    if (!password) {
        o.code = CODICE_ERRORE_LOGIN_PASSWORD_VUOTO;
        return false;
    }
    o.code = RemoteServiceUtil::login(user, *password, o.messaggio);
    return o.code == SUCCESS;
}

} // namespace

int ServiceCommands::cards(const std::string& user, const Io& io) {
    Outcome o;
    Json payload{{"carte", nullptr}};
    if (login(user, io, o)) {
        std::shared_ptr<ListaCarte> carte;
        o.step = "listaCarte";
        o.messaggio.reset();
        o.code = RemoteServiceUtil::listaCarteForUserSession(carte, o.messaggio);
        if (carte) {
            payload["carte"] = toJson(*carte);
            if (!io.json) {
                RecordTables::printCards(*carte, io.out);
            }
        }
        RemoteServiceUtil::logout();
    }
    return finish(o, payload, io);
}

namespace {

// The statement's rows in each file asked for, in the order the statement screen shows and
// exports them; false (said on err) when a file cannot be written. Rows OFX and QIF cannot
// hold (no amount that can be read) are named on err, so that a person knows the file lacks
// them.
bool writeExports(const ServiceCommands::ExportFiles& files, const CartaDiPagamentoPtr& carta,
                  const SaldoPtr& saldo, const ListaMovimenti& movimenti,
                  const ServiceCommands::Io& io) {
    const auto rows = StatementModel(movimenti).rowsShown();
    const StatementSource source{
        rows, carta.get(), saldo.get(),
        std::chrono::time_point_cast<std::chrono::milliseconds>(std::chrono::system_clock::now())};
    const std::pair<const std::optional<std::string>&, StatementFormat> wanted[] = {
        {files.csv, StatementFormat::Csv},
        {files.ofx, StatementFormat::Ofx},
        {files.qif, StatementFormat::Qif}};
    for (const auto& [file, format] : wanted) {
        if (!file) {
            continue;
        }
        StatementFile::Written written;
        try {
            written = StatementFile::write(format, source);
        } catch (const std::exception& e) {
            io.err << "vestrino-cli: " << *file << ": " << e.what() << '\n';
            return false;
        }
        if (!FileUtils::writeAtomically(written.text, *file)) {
            io.err << tr("vestrino-cli: impossibile scrivere ") << *file << '\n';
            return false;
        }
        if (written.leftOut > 0) {
            io.err << "vestrino-cli: " << *file << ": " << written.leftOut
                   << trn(" movimento senza un importo leggibile non è nel file.",
                          " movimenti senza un importo leggibile non sono nel file.",
                          written.leftOut)
                   << '\n';
        }
    }
    return true;
}

} // namespace

int ServiceCommands::statement(const std::string& user, const std::string& selPan, const Io& io,
                               const ExportFiles& files, bool byMonth) {
    Outcome o;
    Json payload{{"carta", nullptr}, {"saldo", nullptr}, {"listaMovimenti", Json::array()}};
    if (login(user, io, o)) {
        CartaDiPagamentoPtr carta;
        SaldoPtr saldo;
        ListaMovimenti movimenti;
        o.step = "listaMovimenti";
        o.messaggio.reset();
        o.code = RemoteServiceUtil::listaMovimenti(selPan, carta, saldo, movimenti, o.messaggio);
        payload = {{"carta", toJson(carta)},
                   {"saldo", toJson(saldo)},
                   {"listaMovimenti", toJson(movimenti)}};
        if (byMonth) {
            const StatementModel model(movimenti);
            payload["mesi"] = toJson(model.months());
            if (o.code == SUCCESS && !io.json) {
                RecordTables::printMonths(model.months(), io.out);
            }
        } else if (o.code == SUCCESS && !io.json) {
            // Newest first, as the application shows and exports them.
            RecordTables::printStatement(carta, saldo, StatementModel(movimenti).rowsShown(),
                                         io.out);
        }
        RemoteServiceUtil::logout();
        if (o.code == SUCCESS && !writeExports(files, carta, saldo, movimenti, io)) {
            return 2;
        }
    }
    return finish(o, payload, io);
}

int ServiceCommands::anonymousStatement(const std::string& numero, const std::string& anno,
                                        const std::string& mese, const Io& io,
                                        const ExportFiles& files) {
    Outcome o;
    o.step = "movimentiCartaAnonima";
    const auto cvv2 = SecretInput::read("CVV2: ", io.in);
    CartaDiPagamentoPtr carta;
    SaldoPtr saldo;
    ListaMovimenti movimenti;
    o.code = RemoteServiceUtil::movimentiCartaAnonima(numero, anno, mese, cvv2, carta, saldo,
                                                      movimenti, o.messaggio);
    if (o.code == SUCCESS && !io.json) {
        RecordTables::printStatement(carta, saldo, StatementModel(movimenti).rowsShown(), io.out);
    }
    if (o.code == SUCCESS && !writeExports(files, carta, saldo, movimenti, io)) {
        return 2;
    }
    return finish(
        o,
        {{"carta", toJson(carta)}, {"saldo", toJson(saldo)}, {"listaMovimenti", toJson(movimenti)}},
        io);
}

int ServiceCommands::atm(float lat, float lng, float raggio, const Io& io) {
    Outcome o;
    o.step = "trovaAtmLumaSpot";
    ListaLumaspot lumaspot;
    o.code = RemoteServiceUtil::trovaAtmLumaSpot(lat, lng, raggio, lumaspot);
    const auto nearest = LumaspotVicino::nearestFirst(lumaspot, lat, lng);
    if (o.code == SUCCESS && !io.json) {
        RecordTables::printLumaspot(nearest, io.out);
    }
    Json elenco = Json::array();
    for (const auto& v : nearest) {
        auto entry = toJson(*v.atm);
        // Kilometres to the metre: enough for a list, and the same text on every machine.
        entry["distanzaKm"] = v.km ? Json(std::round(*v.km * 1000) / 1000) : Json(nullptr);
        elenco.push_back(std::move(entry));
    }
    return finish(o, {{"elencoLumaSpot", elenco}}, io);
}

int ServiceCommands::banner(const std::string& outFile, const Io& io) {
    Outcome o;
    o.step = "banner";
    // The picture is saved as the service sent it: no decoding, nothing lost.
    const auto bytes = RemoteServiceUtil::banner();
    const auto info = bytes ? PictureInfo::of(*bytes) : std::nullopt;
    Json payload{{"format", nullptr}, {"width", nullptr}, {"height", nullptr}};
    if (!info) {
        o.code = CODICE_ERRORE_CONNESSIONE;
        o.messaggio = tr("Nessun banner dal servizio.");
    } else if (!FileUtils::writeAtomically(*bytes, outFile)) {
        io.err << tr("vestrino-cli: impossibile scrivere ") << outFile << '\n';
        return 2;
    } else {
        const char* format = info->format == PictureInfo::Format::Png ? "PNG" : "JPEG";
        payload = {{"format", format}, {"width", info->width}, {"height", info->height}};
        if (!io.json) {
            io.out << "Banner (" << format << ") " << info->width << " x " << info->height
                   << tr(" scritto in ") << outFile << '\n';
        }
    }
    return finish(o, payload, io);
}

int ServiceCommands::storeShow(const std::string& user, const Io& io) {
    const auto path = RemoteServiceUtil::cardFilePath(user);
    const auto load = CardList::readCardListFile(path);
    const bool loaded = load.state == CardFileLoad::State::Loaded;
    const auto aside = UnreadableCardFile::keptAside(path);
    if (io.json) {
        Json keptAside = Json::array();
        for (const auto& p : aside) {
            keptAside.push_back(p.string());
        }
        io.out << Json{{"carte", loaded ? toJson(load.cards) : Json(nullptr)},
                       {"keptAside", keptAside}}
                      .dump()
               << '\n';
    } else {
        if (loaded) {
            RecordTables::printCards(load.cards, io.out);
        } else if (load.state == CardFileLoad::State::Missing) {
            io.out << tr("Nessun file delle carte per ") << user << " (" << path.string() << ")\n";
        } else {
            io.out << tr("Nessun file delle carte leggibile per ") << user << " (" << load.detail
                   << ")\n";
        }
        for (const auto& p : aside) {
            io.out << tr("Messo da parte, illeggibile: ") << p.string() << '\n';
        }
    }
    return loaded ? 0 : 1;
}

int ServiceCommands::storeShowPlist(const Io& io) {
    const auto manager = GestoreCarteLocali::initWithFiles();
    const auto& list = manager->localHighCards();
    if (io.json) {
        io.out << Json{{"carte", list ? toJson(list->cards()) : Json(nullptr)}}.dump() << '\n';
    } else if (list) {
        RecordTables::printCards(list->cards(), io.out);
    } else {
        io.out << tr("Nessun elenco di carte in ")
               << GestoreCarteLocali::getLocalCardsFilePath().string() << '\n';
    }
    return list ? 0 : 1;
}

} // namespace vestrino
