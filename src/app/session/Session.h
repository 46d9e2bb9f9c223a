#pragma once

#include "store/OfflineCopy.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace vestrino {

// A person's session, handed from screen to screen through the navigation: who is logged in,
// whether the data comes from the service or from the offline copy, and the copy itself. Online,
// every card list and statement that comes is kept in the copy (sealed with the key derived
// from the password at login, written in the background); offline, the screens show the copy.
// The key lives as long as the session: end() wipes it, at logout and at the lock.
class Session {
public:
    enum class Kind { Online, Offline };

    // What a login's worker prepares (the key's derivation takes some 0.2 s: never on the main
    // thread). Online: the key for the user's copy and what the copy holds, to keep adding to
    // it; nothing to keep when the person does not want a copy.
    static std::shared_ptr<Session> openOnline(const std::string& user, std::string_view password,
                                               const std::filesystem::path& folder, bool keepCopy);
    // Offline: the session of the user's copy, when there is one that opens with the password.
    static std::shared_ptr<Session> openOffline(const std::string& user, std::string_view password,
                                                const std::filesystem::path& folder);

    Session(Kind kind, std::string user, std::filesystem::path copyPath,
            std::optional<OfflineKey> key, OfflineData data);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Offline, the password typed at login is kept (in memory, wiped at end()) so that
    // "Riprova" can log in for real once the network is back.
    void keepPasswordForRetry(std::string password);
    const std::string& retryPassword() const { return retryPassword_; }

    Kind kind() const { return kind_; }
    bool offline() const { return kind_ == Kind::Offline; }
    const std::string& user() const { return user_; }
    const OfflineData& copy() const { return data_; }

    // Online: what came from the service, kept in the copy (the card list's time is that of
    // its first fetch in the session).
    void cardsFetched(const ListaCarte& cards, WallTime when);
    void statementFetched(const CartaDiPagamento& card, OfflineStatement statement);
    // When the card's statement shown was fetched (online or in the copy).
    std::optional<WallTime> statementTime(const CartaDiPagamento& card) const;
    // Whether this session fetched the card's statement already (then the service's session
    // cache answers for it).
    bool fetchedThisSession(const CartaDiPagamento& card) const {
        return fetched_.count(OfflineData::statementKey(card)) > 0;
    }

    // The person no longer wants a copy: removed, and none is written from now on.
    void stopKeepingCopy();
    // The copy removed; later data is kept again when the person still wants a copy.
    void forgetCopy();
    bool keepsCopy() const;
    // The session is over: the key is wiped, nothing more is written.
    void end();
    // True once end() has run: no key and no password left in memory.
    bool ended() const;

    // "Senza connessione: dati del 09/12/2026 13:05".
    static std::string offlineLine(WallTime when);
    // "Dati del 09/12/2026 13:05".
    static std::string fetchedLine(WallTime when);

private:
    // The key and the file, shared with the writes in the background.
    struct Keeper {
        std::mutex mutex;
        std::optional<OfflineKey> key;
        std::filesystem::path path;
        bool keep = true;
        unsigned long written = 0; // the newest write's number
    };
    void save();

    Kind kind_;
    std::string user_;
    OfflineData data_;
    std::shared_ptr<Keeper> keeper_;
    unsigned long changes_ = 0;
    std::set<std::string> fetched_;
    bool cardsFetched_ = false;
    std::string retryPassword_;
};

} // namespace vestrino
