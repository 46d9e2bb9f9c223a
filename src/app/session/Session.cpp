#include "app/session/Session.h"

#include "core/BackgroundTask.h"
#include "core/DateFormatter.h"
#include "core/Log.h"
#include "core/Translation.h"
#include "store/WriteGate.h"

#include <sodium.h>

namespace vestrino {

std::shared_ptr<Session> Session::openOnline(const std::string& user, std::string_view password,
                                             const std::filesystem::path& folder, bool keepCopy) {
    const auto path = OfflineCopy::pathFor(folder, user);
    OfflineData data;
    data.user = user;
    std::optional<OfflineKey> key;
    if (keepCopy) {
        key = OfflineCopy::keyFor(path, password);
        if (key) {
            auto opening = OfflineCopy::open(path, *key);
            if (opening.state == OfflineCopy::State::Opened && opening.data->user == user) {
                data = std::move(*opening.data); // the statements of other cards are kept
            } else if (opening.state == OfflineCopy::State::Unavailable) {
                // A copy there that cannot be read just now is not written over with less:
                // this session keeps none.
                key.reset();
            } else if (opening.state == OfflineCopy::State::WrongPassword) {
                // The password changed since the copy was made: a new copy, with a salt of its
                // own, takes its place at the first write.
                key = OfflineKey::derive(password, OfflineKey::freshSalt());
            }
        }
    }
    auto session =
        std::make_shared<Session>(Kind::Online, user, path, std::move(key), std::move(data));
    if (!keepCopy) {
        session->stopKeepingCopy();
    }
    return session;
}

std::shared_ptr<Session> Session::openOffline(const std::string& user, std::string_view password,
                                              const std::filesystem::path& folder) {
    const auto path = OfflineCopy::pathFor(folder, user);
    auto opening = OfflineCopy::open(path, password);
    if (opening.state != OfflineCopy::State::Opened || opening.data->user != user) {
        return nullptr;
    }
    return std::make_shared<Session>(Kind::Offline, user, path, std::move(opening.key),
                                     std::move(*opening.data));
}

Session::Session(Kind kind, std::string user, std::filesystem::path copyPath,
                 std::optional<OfflineKey> key, OfflineData data)
    : kind_(kind), user_(std::move(user)), data_(std::move(data)),
      keeper_(std::make_shared<Keeper>()) {
    keeper_->key = std::move(key);
    keeper_->path = std::move(copyPath);
    keeper_->keep = keeper_->key.has_value();
}

Session::~Session() {
    end();
}

void Session::cardsFetched(const ListaCarte& cards, WallTime when) {
    data_.carte.clear();
    for (const auto& c : cards) {
        if (c) {
            data_.carte.push_back(c->copy());
        }
    }
    // The session's cache answers the list after its first fetch: that fetch's time stays.
    if (!cardsFetched_) {
        data_.cardsAt = when;
        cardsFetched_ = true;
    }
    save();
}

void Session::statementFetched(const CartaDiPagamento& card, OfflineStatement statement) {
    fetched_.insert(OfflineData::statementKey(card));
    data_.putStatement(card, std::move(statement));
    save();
}

std::optional<WallTime> Session::statementTime(const CartaDiPagamento& card) const {
    const auto* s = data_.statement(card);
    return s ? std::optional(s->fetchedAt) : std::nullopt;
}

bool Session::keepsCopy() const {
    std::lock_guard lock(keeper_->mutex);
    return keeper_->keep;
}

void Session::save() {
    if (kind_ == Kind::Offline) {
        return; // the copy is what is shown: nothing new to keep
    }
    // The write goes to the background with its own snapshot of the data; a write that comes
    // later than a newer one is dropped, so the file always ends with the newest data.
    // The pass is taken here, so that a program quitting right after waits for this write.
    auto pass = WriteGate::enter();
    if (!pass) {
        return; // the program is quitting
    }
    const unsigned long number = ++changes_;
    BackgroundTask::detach([keeper = keeper_, data = data_, number,
                            pass = std::make_shared<WriteGate::Pass>(std::move(*pass))] {
        std::lock_guard lock(keeper->mutex);
        if (!keeper->keep || !keeper->key || keeper->key->wiped() || number <= keeper->written) {
            return;
        }
        keeper->written = number;
        OfflineCopy::write(keeper->path, data, *keeper->key);
    });
}

void Session::stopKeepingCopy() {
    std::lock_guard lock(keeper_->mutex);
    keeper_->keep = false;
    OfflineCopy::forget(keeper_->path);
}

void Session::forgetCopy() {
    std::lock_guard lock(keeper_->mutex);
    OfflineCopy::forget(keeper_->path);
    keeper_->written = ++changes_; // the writes already asked for do not bring it back
    if (kind_ == Kind::Online) {
        // What this session saw is not written again unless it comes again; offline, the
        // screens go on showing what they opened.
        data_.carte.clear();
        data_.statements.clear();
    }
}

bool Session::ended() const {
    std::lock_guard lock(keeper_->mutex);
    return retryPassword_.empty() && (!keeper_->key || keeper_->key->wiped());
}

void Session::keepPasswordForRetry(std::string password) {
    retryPassword_ = std::move(password);
}

void Session::end() {
    if (!retryPassword_.empty()) {
        sodium_memzero(retryPassword_.data(), retryPassword_.size());
        retryPassword_.clear();
    }
    std::lock_guard lock(keeper_->mutex);
    if (keeper_->key) {
        keeper_->key->wipe();
    }
}

std::string Session::offlineLine(WallTime when) {
    return tr("Senza connessione: dati del ") +
           DateFormatter("dd/MM/yyyy HH:mm").stringFromDate(when);
}

std::string Session::fetchedLine(WallTime when) {
    return tr("Dati del ") + DateFormatter("dd/MM/yyyy HH:mm").stringFromDate(when);
}

} // namespace vestrino
