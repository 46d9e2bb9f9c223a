#include "service/NetworkUtils.h"

#include "core/Application.h"
#include "net/HttpClient.h"
#include "net/Reachability.h"
#include "service/Constants.h"

namespace vestrino {

namespace {
NetworkStatus applicationStatus() {
    const auto delegate = Application::sharedApplication().delegate();
    const auto monitor = delegate ? delegate->hostReach() : nullptr;
    return monitor ? monitor->currentReachabilityStatus() : NotReachable;
}
} // namespace

bool NetworkUtils::checkInternetConnectionWithTimeout(double /*seconds*/) {
    const NetworkStatus s = applicationStatus();
    return s == ReachableViaWiFi || s == ReachableViaWWAN;
}

bool NetworkUtils::fullCheckInternetConnectionWithTimeout(double seconds) {
    const NetworkStatus s = applicationStatus();
    HttpRequest probe;
    probe.method = HttpRequest::Method::Get;
    probe.url = URL_HOST_COMPLETA();
    probe.timeoutSeconds = seconds + seconds;
    const bool replied = HttpClient::shared().perform(probe).has_value();
    return replied && (s == ReachableViaWiFi || s == ReachableViaWWAN);
}

} // namespace vestrino
