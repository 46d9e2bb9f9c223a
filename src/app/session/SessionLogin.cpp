#include "app/session/SessionLogin.h"

#include "core/CancelToken.h"
#include "service/Constants.h"
#include "service/RemoteServiceUtil.h"

#include <mutex>

namespace vestrino {

SessionLogin::Reply SessionLogin::run(const std::string& user, const std::string& password,
                                      const std::filesystem::path& folder, bool keepCopy,
                                      bool offlineAllowed) {
    static std::mutex oneAtATime;
    const std::lock_guard lock(oneAtATime);
    Reply r;
    r.user = user;
    r.code = RemoteServiceUtil::login(user, password, r.message);
    if (r.code == LOGIN_OK) {
        r.session = Session::openOnline(user, password, folder, keepCopy);
        if (CancelToken::currentCancelled()) {
            // Left while the key was derived: the session the service opened is closed again,
            // as work of its own (nobody left that), and nothing of it is handed on.
            r.session->end();
            r.session = nullptr;
            const CancelToken logoutWork;
            const CancelScope scope(logoutWork);
            RemoteServiceUtil::logout();
            r.code = CODICE_ERRORE_CONNESSIONE;
        }
    } else if (r.code == CODICE_ERRORE_CONNESSIONE && offlineAllowed && keepCopy &&
               !CancelToken::currentCancelled()) {
        // The service cannot be reached: the last data seen, when the password opens it.
        r.session = Session::openOffline(user, password, folder);
        if (r.session) {
            r.session->keepPasswordForRetry(password);
        }
    }
    return r;
}

} // namespace vestrino
