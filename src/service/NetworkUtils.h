#pragma once

namespace vestrino {

// The connectivity checks made before a service operation sends anything.
class NetworkUtils {
public:
    // The short check: the application's internet monitor reports the network reachable (over a
    // local network or mobile data). The time plays no part.
    static bool checkInternetConnectionWithTimeout(double seconds);
    // The full check: the same status and, whatever the status, a GET probe to the service with
    // twice the given time; true when the probe got any reply and the status is reachable.
    static bool fullCheckInternetConnectionWithTimeout(double seconds);
};

} // namespace vestrino
