#pragma once

#include "entities/ATMLumaspot.h"
#include "entities/CartaDiPagamento.h"
#include "entities/Movimento.h"
#include "entities/Saldo.h"
#include "store/CardFileLoad.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace vestrino {

class DictCache;

// The card issuer's service, one class method per operation. Each returns an outcome code
// (0 success, negative failure) and hands records and the service's message back through
// out-parameters; an out-parameter an operation does not reach is left as the caller set it.
class RemoteServiceUtil {
public:
    using Text = std::optional<std::string>;

    static int login(const Text& user, const Text& password, Text& messaggio);
    static int logout();
    // The logout's two halves, for a caller that must not wait for the network: the session
    // ends on the device at once (endSessionOnDevice, main thread), the request goes on a
    // background task (sendLogout). A login made meanwhile waits for that request to be
    // answered first, so that the old session's reply never touches the new one's cookie.
    static void endSessionOnDevice();
    static int sendLogout();
    static int listaCarte(ListaCarte& carte, Text& messaggio);
    // The logged-in user's cards: the stored cards with the service's merged in, fetched once a
    // session. `carte` gets a snapshot of the cached list when it is answered from the cache,
    // the cached list itself after a fetch, nothing on failure.
    static int listaCarteForUserSession(std::shared_ptr<ListaCarte>& carte, Text& message);
    // A card's statement, fetched once a session (the session's cache answers after that);
    // `fresh` fetches it again, and the cache keeps the new one when it comes.
    static int listaMovimenti(const Text& selPan, CartaDiPagamentoPtr& carta, SaldoPtr& saldo,
                              ListaMovimenti& listaMovimenti, Text& messaggio, bool fresh = false);
    static int movimentiCartaAnonima(const Text& numeroCarta, const Text& dataAnno,
                                     const Text& dataMese, const Text& cvv2,
                                     CartaDiPagamentoPtr& carta, SaldoPtr& saldo,
                                     ListaMovimenti& listaMovimenti, Text& messaggio);
    // The banner picture's bytes as the service sent them (PNG or JPEG), or nothing (no
    // network, no reply, not a picture).
    static std::optional<std::string> banner();
    static int trovaAtmLumaSpot(float latitudine, float longitudine, float raggio,
                                ListaLumaspot& lumaspot);

    // The application delegate's session cache.
    static DictCache& dictCache();

    // The user's encrypted card file in the documents folder. A save never replaces a file
    // that is there and cannot be read: a damaged one is kept aside first (and the person is
    // to be told, see takeCardFileNotice), one that cannot be read just now makes the save fail.
    static bool salvaCartePerUtente(const std::string& user, const ListaCarte& listaCarte);
    static std::optional<ListaCarte> caricaCartaPerUtente(const std::string& user);
    static std::filesystem::path cardFilePath(const std::string& user);
    // The stored cards as the start of a change that will be saved: a damaged file is kept
    // aside at once (state Missing afterwards, the notice left); Unavailable means nothing may
    // be saved now.
    static CardFileLoad caricaCartePerModifica(const std::string& user);
    // What the person should hear about the user's card file (Damaged: it was kept aside;
    // Unavailable: it could not be read just now), once; nothing when all is well.
    static std::optional<CardFileLoad::State> takeCardFileNotice(const std::string& user);
};

} // namespace vestrino
