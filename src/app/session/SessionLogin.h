#pragma once

#include "app/session/Session.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace vestrino {

// A login as the screens run it on their worker: the service's login, then the session
// (online, with the key for the offline copy; or offline from the copy when the service cannot
// be reached and the person keeps a copy). One at a time: a login the person left and one begun
// after it never overlap, so that the first, when the service opened its session anyway, closes
// it before the second begins.
class SessionLogin {
public:
    struct Reply {
        int code = 0;
        std::optional<std::string> message;
        std::string user;
        std::shared_ptr<Session> session; // online, offline, or none
    };
    static Reply run(const std::string& user, const std::string& password,
                     const std::filesystem::path& folder, bool keepCopy, bool offlineAllowed);
};

} // namespace vestrino
