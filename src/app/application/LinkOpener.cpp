#include "app/application/LinkOpener.h"

#include "core/BackgroundTask.h"
#include "core/Log.h"
#include "core/RunLoop.h"

#include <cerrno>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace vestrino {

namespace {

std::string sixDecimals(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", v);
    return text;
}

// xdg-open's exit status: 0 when something took the link.
int xdgOpen(const std::string& link) {
    std::string program = "xdg-open";
    char* argv[] = {program.data(), const_cast<char*>(link.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0) {
        return -1;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

std::string LinkOpener::geoLink(double lat, double lng) {
    return "geo:" + sixDecimals(lat) + "," + sixDecimals(lng);
}

std::string LinkOpener::coordinates(double lat, double lng) {
    return sixDecimals(lat) + ", " + sixDecimals(lng);
}

std::string LinkOpener::webLink(double lat, double lng) {
    const std::string la = sixDecimals(lat), lo = sixDecimals(lng);
    return "https://www.openstreetmap.org/?mlat=" + la + "&mlon=" + lo + "#map=17/" + la + "/" + lo;
}

void DesktopLinkOpener::openPlace(const std::string& geo, const std::string& web, Done done) {
    BackgroundTask::detach([geo, web, done = std::move(done)] {
        bool opened = xdgOpen(geo) == 0;
        if (!opened) {
            const int status = xdgOpen(web);
            opened = status == 0;
            if (!opened) {
                Log::write("no program opened " + web + " (xdg-open status " +
                           std::to_string(status) + ")");
            }
        }
        if (done) {
            RunLoop::main().post([done, opened] { done(opened); });
        }
    });
}

void RecordingLinkOpener::openPlace(const std::string& geo, const std::string&, Done done) {
    bool installed = true;
    {
        std::lock_guard lock(mutex_);
        opened_.push_back(geo);
        installed = handlerInstalled_;
    }
    if (done) {
        RunLoop::main().post([done, installed] { done(installed); });
    }
}

void RecordingLinkOpener::setHandlerInstalled(bool installed) {
    std::lock_guard lock(mutex_);
    handlerInstalled_ = installed;
}

std::vector<std::string> RecordingLinkOpener::opened() const {
    std::lock_guard lock(mutex_);
    return opened_;
}

} // namespace vestrino
