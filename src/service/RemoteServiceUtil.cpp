#include "service/RemoteServiceUtil.h"

#include "core/CancelToken.h"

#include "core/Application.h"
#include "core/DictCache.h"
#include "core/Log.h"
#include "core/PictureInfo.h"
#include "net/UrlEncoding.h"
#include "service/Constants.h"
#include "service/ListaMovCall.h"
#include "service/RequestFrame.h"
#include "store/CardList.h"
#include "store/FileUtils.h"
#include "store/UnreadableCardFile.h"
#include "store/UserCardFile.h"
#include "xml/XMLParsingUtil.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <memory>
#include <mutex>
#include <sys/stat.h>

namespace vestrino {

namespace {

using Text = RemoteServiceUtil::Text;

constexpr OutcomeWord kGeneric{CODICE_ERRORE_GENERICO_STR, CODICE_ERRORE_GENERICO};
constexpr OutcomeWord kExpired{CODICE_ERRORE_SESSIONE_SCADUTA_STR, CODICE_ERRORE_SESSIONE_SCADUTA};

constexpr std::array kLoginWords{
    OutcomeWord{CODICE_ERRORE_LOGIN_FALLITA_STR, CODICE_ERRORE_LOGIN_FALLITA},
    kGeneric,
    kExpired,
    OutcomeWord{CODICE_ERRORE_LOGIN_USER_VUOTO_STR, CODICE_ERRORE_LOGIN_USER_VUOTO},
    OutcomeWord{CODICE_ERRORE_LOGIN_PASSWORD_VUOTO_STR, CODICE_ERRORE_LOGIN_PASSWORD_VUOTO},
    OutcomeWord{CODICE_ERRORE_LOGIN_PASSWORD_LEN_STR, CODICE_ERRORE_LOGIN_PASSWORD_LEN},
};
constexpr std::array kSessionWords{kGeneric, kExpired};
constexpr std::array kListaMovimentiWords{
    kGeneric,
    kExpired,
    OutcomeWord{CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_VUOTO_STR,
                CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_VUOTO},
    OutcomeWord{CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_LUNGHEZZA_STR,
                CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_LUNGHEZZA},
    OutcomeWord{CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_NONNUMERO_STR,
                CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_NONNUMERO},
};
constexpr std::array kCartaAnonimaWords{
    kGeneric,
    kExpired,
    OutcomeWord{CODICE_ERRORE_PARAMETRI_CARTA_NON_VALIDI_STR,
                CODICE_ERRORE_PARAMETRI_CARTA_NON_VALIDI},
    OutcomeWord{CODICE_ERRORE_INSERIMENTO_CARTA_VUOTA_STR, CODICE_ERRORE_INSERIMENTO_CARTA_VUOTA},
    OutcomeWord{CODICE_ERRORE_INSERIMENTO_CARTA_NON_NUMERO_STR,
                CODICE_ERRORE_INSERIMENTO_CARTA_NON_NUMERO},
    OutcomeWord{CODICE_ERRORE_INSERIMENTO_CARTA_LUNGHEZZA_STR,
                CODICE_ERRORE_INSERIMENTO_CARTA_LUNGHEZZA},
    OutcomeWord{CODICE_ERRORE_INSERIMENTO_CARTA_NON_VALIDA_STR,
                CODICE_ERRORE_INSERIMENTO_CARTA_NON_VALIDA},
    OutcomeWord{CODICE_ERRORE_INSERIMENTO_MESE_VUOTO_STR, CODICE_ERRORE_INSERIMENTO_MESE_VUOTO},
    OutcomeWord{CODICE_ERRORE_INSERIMENTO_MESE_NON_NUMERO_STR,
                CODICE_ERRORE_INSERIMENTO_MESE_NON_NUMERO},
    OutcomeWord{CODICE_ERRORE_INSERIMENTO_MESE_LUNGHEZZA_STR,
                CODICE_ERRORE_INSERIMENTO_MESE_LUNGHEZZA},
    OutcomeWord{CODICE_ERRORE_INSERIMENTO_MESE_VALORE_STR, CODICE_ERRORE_INSERIMENTO_MESE_VALORE},
    OutcomeWord{CODICE_ERRORE_INSERIMENTO_ANNO_VUOTO_STR, CODICE_ERRORE_INSERIMENTO_ANNO_VUOTO},
    OutcomeWord{CODICE_ERRORE_INSERIMENTO_ANNO_NON_NUMERO_STR,
                CODICE_ERRORE_INSERIMENTO_ANNO_NON_NUMERO},
    OutcomeWord{CODICE_ERRORE_INSERIMENTO_ANNO_LUNGHEZZA_STR,
                CODICE_ERRORE_INSERIMENTO_ANNO_LUNGHEZZA},
    OutcomeWord{CODICE_ERRORE_INSERIMENTO_CVV2_VUOTO_STR, CODICE_ERRORE_INSERIMENTO_CVV2_VUOTO},
    OutcomeWord{CODICE_ERRORE_INSERIMENTO_CVV2_NON_NUMERO_STR,
                CODICE_ERRORE_INSERIMENTO_CVV2_NON_NUMERO},
    OutcomeWord{CODICE_ERRORE_INSERIMENTO_CVV2_LUNGHEZZA_STR,
                CODICE_ERRORE_INSERIMENTO_CVV2_LUNGHEZZA},
};
constexpr std::array kTrovaAtmWords{
    kGeneric,
    kExpired,
    OutcomeWord{CODICE_ERRORE_TROVA_ATM_LAT_VUOTO_STR, CODICE_ERRORE_TROVA_ATM_LAT_VUOTO},
    OutcomeWord{CODICE_ERRORE_TROVA_ATM_LAT_NON_NUMERO_STR, CODICE_ERRORE_TROVA_ATM_LAT_NON_NUMERO},
    OutcomeWord{CODICE_ERRORE_TROVA_ATM_LAT_NON_VALIDO_STR, CODICE_ERRORE_TROVA_ATM_LAT_NON_VALIDO},
    OutcomeWord{CODICE_ERRORE_TROVA_ATM_LNG_VUOTO_STR, CODICE_ERRORE_TROVA_ATM_LNG_VUOTO},
    OutcomeWord{CODICE_ERRORE_TROVA_ATM_LNG_NON_NUMERO_STR, CODICE_ERRORE_TROVA_ATM_LNG_NON_NUMERO},
    OutcomeWord{CODICE_ERRORE_TROVA_ATM_LNG_NON_VALIDO_STR, CODICE_ERRORE_TROVA_ATM_LNG_NON_VALIDO},
    OutcomeWord{CODICE_ERRORE_TROVA_ATM_RAGGIO_NON_NUMERO_STR,
                CODICE_ERRORE_TROVA_ATM_RAGGIO_NON_NUMERO},
    OutcomeWord{CODICE_ERRORE_TROVA_ATM_RAGGIO_NON_VALIDO_STR,
                CODICE_ERRORE_TROVA_ATM_RAGGIO_NON_VALIDO},
};

// Percent-encoded form value; an absent value is sent empty.
std::string encoded(const Text& value) {
    return value ? urlEncodeUsingEncoding(*value) : std::string();
}

// The float widened to double in fixed notation with six decimals and a full stop, whatever
// the locale (45 is sent as 45.000000).
std::string fixed6(float value) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                                         std::chars_format::fixed, 6);
    return ec == std::errc() ? std::string(buf, end) : std::string();
}

// The statement parse, shared by the two statement operations.
RequestFrame::Parse statementParse(CartaDiPagamentoPtr& carta, SaldoPtr& saldo,
                                   ListaMovimenti& listaMovimenti) {
    return [&](const Text& text, bool& ok, Text& esito, Text& codice, Text& m) {
        XMLParsingUtil::parseListaMovimenti(text, ok, esito, codice, m, carta, saldo,
                                            listaMovimenti);
    };
}

const std::string kSessionBody =
    RequestFrame::formBody({{POST_VAR_FORMATO, FORMATO_XML}, {POST_VAR_AGENT, POST_VAR_AGENT_KEY}});

} // namespace

DictCache& RemoteServiceUtil::dictCache() {
    if (const auto delegate = Application::sharedApplication().delegate()) {
        return delegate->dictCache();
    }
    // Without an application delegate (a tool that never installed one) the session lives
    // in a cache of its own.
    static DictCache detached;
    return detached;
}

namespace {
// Held while a logout request is out; a login takes it before it sends.
std::mutex& logoutInFlight() {
    static std::mutex m;
    return m;
}
// Held for the whole of a login: one that the person left and one started after it never
// write the session at the same time.
std::mutex& loginInFlight() {
    static std::mutex m;
    return m;
}
} // namespace

int RemoteServiceUtil::login(const Text& user, const Text& password, Text& messaggio) {
    if (!user) {
        return CODICE_ERRORE_LOGIN_USER_VUOTO;
    }
    if (!password) {
        return CODICE_ERRORE_LOGIN_PASSWORD_VUOTO;
    }
    const std::lock_guard one(loginInFlight());
    dictCache().removeAllObjects();
    // A logout still out ends first: its reply may clear the session cookie.
    { const std::lock_guard wait(logoutInFlight()); }
    RequestFrame::Operation op;
    op.check = ConnectivityCheck::Full;
    op.checkSeconds = kLoginCheckTime;
    op.url = URL_LOGIN();
    op.body = RequestFrame::formBody({{POST_VAR_USERNAME, encoded(user)},
                                      {POST_VAR_PASSWORD, encoded(password)},
                                      {POST_VAR_FORMATO, FORMATO_XML},
                                      {POST_VAR_AGENT, POST_VAR_AGENT_KEY}});
    op.timeoutSeconds = kRequestTimeout;
    op.words = kLoginWords;
    const int code = RequestFrame::run(
        op,
        [](const Text& text, bool& ok, Text& esito, Text& codice, Text& m) {
            Text benvenuto;
            XMLParsingUtil::parseLogin(text, ok, esito, codice, m, benvenuto);
        },
        messaggio);
    if (code == SUCCESS && CancelToken::currentCancelled()) {
        // The person left the wait, but the service opened the session: it is closed again,
        // here, before another login can begin (as work of its own, which nobody has left).
        const CancelToken logoutWork;
        const CancelScope scope(logoutWork);
        sendLogout();
        return CODICE_ERRORE_CONNESSIONE;
    }
    if (code == SUCCESS) {
        dictCache().setObject(kSessionUsernameKey, *user);
    }
    return code;
}

int RemoteServiceUtil::logout() {
    // The session ends on the device first, also when the request cannot be sent.
    endSessionOnDevice();
    return sendLogout();
}

void RemoteServiceUtil::endSessionOnDevice() {
    dictCache().removeAllObjects();
}

int RemoteServiceUtil::sendLogout() {
    const std::lock_guard outstanding(logoutInFlight());
    RequestFrame::Operation op;
    op.check = ConnectivityCheck::Short;
    op.url = URL_LOGOUT();
    op.body = kSessionBody;
    op.words = kSessionWords;
    Text messaggio;
    return RequestFrame::run(
        op,
        [](const Text& text, bool& ok, Text& esito, Text& codice, Text& m) {
            XMLParsingUtil::parseEsitoString(text, ok, esito, codice, m);
        },
        messaggio);
}

int RemoteServiceUtil::listaCarte(ListaCarte& carte, Text& messaggio) {
    RequestFrame::Operation op;
    op.check = ConnectivityCheck::Short;
    op.url = URL_LISTACARTE();
    op.body = kSessionBody;
    op.words = kSessionWords;
    return RequestFrame::run(
        op,
        [&carte](const Text& text, bool& ok, Text& esito, Text& codice, Text& m) {
            XMLParsingUtil::parseListaCarte(text, ok, esito, codice, m, carte);
        },
        messaggio);
}

int RemoteServiceUtil::listaCarteForUserSession(std::shared_ptr<ListaCarte>& carte, Text& message) {
    const auto user = dictCache().objectForKey<std::string>(kSessionUsernameKey);
    if (!user) {
        return CODICE_ERRORE_GENERICO;
    }
    const std::string key = *user + "_" + kListaCarteKey;
    using Shared = std::shared_ptr<ListaCarte>;
    // Answered from the cache: a snapshot, so later changes to the cached list do not show.
    auto snapshot = dictCache().with([&](DictCache::Entries& entries) -> Shared {
        const auto it = entries.find(key);
        if (it == entries.end()) {
            return nullptr;
        }
        const auto* cached = std::any_cast<Shared>(&it->second);
        return cached && *cached ? std::make_shared<ListaCarte>(**cached) : nullptr;
    });
    if (snapshot) {
        carte = std::move(snapshot);
        return SUCCESS;
    }
    auto load = caricaCartePerModifica(*user);
    const bool canSave = load.state != CardFileLoad::State::Unavailable;
    auto stored = std::make_shared<ListaCarte>(std::move(load.cards));
    ListaCarte fromService;
    const int code = listaCarte(fromService, message);
    if (code != SUCCESS) {
        carte = nullptr;
        return code;
    }
    // The service's cards merge into the stored ones with the same number, in the stored
    // position; the others follow in the service's order.
    for (const auto& c : fromService) {
        const auto same = std::find_if(stored->begin(), stored->end(),
                                       [&](const auto& s) { return s->isEqual(*c); });
        if (same != stored->end()) {
            (*same)->merge(*c);
        } else {
            stored->push_back(c);
        }
    }
    if (canSave) {
        salvaCartePerUtente(*user, *stored);
        dictCache().setObject(key, stored);
    }
    // Otherwise the stored cards could not be read just now: the list is shown but neither
    // kept for the session nor saved, so that the next visit reads the file again and no
    // change is written over the cards it holds.
    carte = stored;
    return SUCCESS;
}

std::filesystem::path RemoteServiceUtil::cardFilePath(const std::string& user) {
    return FileUtils::applicationDocumentsDirectory() / userCardFileName(user);
}

namespace {

std::string cardFileNoticeKey(const std::string& user) {
    return user + "_" + kListaCarteKey + "_avviso";
}

// What tells a file written or read whole by this session from one changed since: a save
// makes a new file (a new inode), any other writer changes the size or the time.
struct CardFileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long modifiedNs = 0;
    bool operator==(const CardFileStamp&) const = default;
};

std::string cardFileStampKey(const std::string& user) {
    return user + "_" + kListaCarteKey + "_letto";
}

std::optional<CardFileStamp> stampOf(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return CardFileStamp{st.st_dev, st.st_ino, st.st_size,
                         st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
}

// Remembers that the file, as it is now, was read or written whole.
void rememberReadable(const std::string& user, const std::filesystem::path& path) {
    if (const auto stamp = stampOf(path)) {
        RemoteServiceUtil::dictCache().setObject(cardFileStampKey(user), *stamp);
    }
}

// Whether the file is the one this session last read or wrote whole: then it need not be read
// again before it is replaced.
bool knownReadable(const std::string& user, const std::filesystem::path& path) {
    const auto known =
        RemoteServiceUtil::dictCache().objectForKey<CardFileStamp>(cardFileStampKey(user));
    return known && stampOf(path) == known;
}

// Makes sure that saving over the user's file loses nothing: a damaged file is kept aside and
// the person is to be told; a file that cannot be read just now stops the save.
bool makeRoomForSave(const std::string& user, CardFileLoad::State state,
                     const std::string& detail) {
    using State = CardFileLoad::State;
    if (state == State::Loaded || state == State::Missing) {
        return true;
    }
    const auto path = RemoteServiceUtil::cardFilePath(user);
    if (state == State::Unavailable) {
        Log::write("card file not saved: " + detail);
        return false; // the caller says that the save failed
    }
    const auto aside = UnreadableCardFile::keepAside(path, std::chrono::system_clock::now());
    if (!aside) {
        Log::write("card file not saved: cannot move the unreadable " + path.string() + " aside");
        return false;
    }
    Log::write("unreadable card file kept aside: " + detail + " -> " + aside->string());
    RemoteServiceUtil::dictCache().setObject(cardFileNoticeKey(user), State::Damaged);
    return true;
}

} // namespace

bool RemoteServiceUtil::salvaCartePerUtente(const std::string& user, const ListaCarte& listaCarte) {
    const auto path = cardFilePath(user);
    if (!knownReadable(user, path)) {
        const auto current = CardList::readCardListFile(path);
        if (!makeRoomForSave(user, current.state, current.detail)) {
            return false;
        }
    }
    if (!CardList::saveCardList(listaCarte, path)) {
        return false;
    }
    rememberReadable(user, path);
    return true;
}

CardFileLoad RemoteServiceUtil::caricaCartePerModifica(const std::string& user) {
    auto load = CardList::readCardListFile(cardFilePath(user));
    if (load.state == CardFileLoad::State::Damaged) {
        if (!makeRoomForSave(user, load.state, load.detail)) {
            return {CardFileLoad::State::Unavailable, {}, load.detail};
        }
        return {CardFileLoad::State::Missing, {}, load.detail};
    }
    if (load.state == CardFileLoad::State::Loaded) {
        rememberReadable(user, cardFilePath(user));
    }
    if (load.state == CardFileLoad::State::Unavailable) {
        Log::write("card file not read: " + load.detail);
        dictCache().setObject(cardFileNoticeKey(user), CardFileLoad::State::Unavailable);
    }
    return load;
}

std::optional<CardFileLoad::State> RemoteServiceUtil::takeCardFileNotice(const std::string& user) {
    return dictCache().with([&](DictCache::Entries& entries) -> std::optional<CardFileLoad::State> {
        const auto it = entries.find(cardFileNoticeKey(user));
        if (it == entries.end()) {
            return std::nullopt;
        }
        const auto* state = std::any_cast<CardFileLoad::State>(&it->second);
        auto result = state ? std::optional(*state) : std::nullopt;
        entries.erase(it);
        return result;
    });
}

std::optional<ListaCarte> RemoteServiceUtil::caricaCartaPerUtente(const std::string& user) {
    return CardList::loadCardListWithFile(cardFilePath(user));
}

int RemoteServiceUtil::listaMovimenti(const Text& selPan, CartaDiPagamentoPtr& carta,
                                      SaldoPtr& saldo, ListaMovimenti& listaMovimenti,
                                      Text& messaggio, bool fresh) {
    if (!selPan) {
        return CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_VUOTO;
    }
    const std::string key = std::string(kListaMovCallKey) + "_" + *selPan;
    if (const auto cached =
            fresh ? std::nullopt : dictCache().objectForKey<std::shared_ptr<ListaMovCall>>(key)) {
        carta = (*cached)->carta;
        saldo = (*cached)->saldo;
        listaMovimenti = (*cached)->listaMov;
        return SUCCESS;
    }
    RequestFrame::Operation op;
    op.check = ConnectivityCheck::Short;
    op.url = URL_LISTAMOVIMENTI();
    op.body = RequestFrame::formBody({{POST_VAR_SELPAN, encoded(selPan)},
                                      {POST_VAR_FORMATO, FORMATO_XML},
                                      {POST_VAR_AGENT, POST_VAR_AGENT_KEY}});
    op.words = kListaMovimentiWords;
    const int code = RequestFrame::run(op, statementParse(carta, saldo, listaMovimenti), messaggio);
    if (code == SUCCESS) {
        dictCache().setObject(
            key, std::make_shared<ListaMovCall>(ListaMovCall{carta, saldo, listaMovimenti}));
    }
    return code;
}

int RemoteServiceUtil::movimentiCartaAnonima(const Text& numeroCarta, const Text& dataAnno,
                                             const Text& dataMese, const Text& cvv2,
                                             CartaDiPagamentoPtr& carta, SaldoPtr& saldo,
                                             ListaMovimenti& listaMovimenti, Text& messaggio) {
    // Never answered from the cache: every query carries the CVV2 just typed.
    RequestFrame::Operation op;
    op.check = ConnectivityCheck::Short;
    op.url = URL_MOVIMENTI_CARTA_ANONIMA();
    op.body = RequestFrame::formBody({{POST_VAR_AGENT, POST_VAR_AGENT_KEY},
                                      {POST_VAR_FORMATO, FORMATO_XML},
                                      {POST_VAR_NUMEROCARTA, encoded(numeroCarta)},
                                      {POST_VAR_DATA_AA, encoded(dataAnno)},
                                      {POST_VAR_DATA_MM, encoded(dataMese)},
                                      {POST_VAR_CVV2, encoded(cvv2)}});
    op.words = kCartaAnonimaWords;
    const int code = RequestFrame::run(op, statementParse(carta, saldo, listaMovimenti), messaggio);
    if (code == SUCCESS && carta) {
        carta->setAnonima(true);
    }
    return code;
}

std::optional<std::string> RemoteServiceUtil::banner() {
    if (!RequestFrame::connectivity(ConnectivityCheck::Full, kBannerCheckTime)) {
        return std::nullopt;
    }
    auto bytes = RequestFrame::post(URL_BANNER(),
                                    RequestFrame::formBody({{POST_VAR_AGENT, POST_VAR_AGENT_KEY}}),
                                    kBannerTimeout);
    if (!bytes || !PictureInfo::of(*bytes)) {
        return std::nullopt; // an error page, or a picture cut short
    }
    return bytes;
}

int RemoteServiceUtil::trovaAtmLumaSpot(float latitudine, float longitudine, float raggio,
                                        ListaLumaspot& lumaspot) {
    RequestFrame::Operation op;
    op.check = ConnectivityCheck::None;
    op.url = URL_TROVA_LUMASPOT();
    const std::string lat = fixed6(latitudine), lng = fixed6(longitudine), r = fixed6(raggio);
    op.body = RequestFrame::formBody({{POST_VAR_AGENT, POST_VAR_AGENT_KEY},
                                      {POST_VAR_FORMATO, FORMATO_XML},
                                      {POST_VAR_LAT, lat},
                                      {POST_VAR_LNG, lng},
                                      {POST_VAR_RAGGIO, r}});
    op.words = kTrovaAtmWords;
    Text messaggio;
    return RequestFrame::run(
        op,
        [&lumaspot](const Text& text, bool& ok, Text& esito, Text& codice, Text& m) {
            XMLParsingUtil::parseTrovaAtmLumaspot(text, ok, esito, codice, m, lumaspot);
        },
        messaggio);
}

} // namespace vestrino
