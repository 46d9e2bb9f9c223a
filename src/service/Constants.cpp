#include "service/Constants.h"

#include <mutex>

namespace vestrino {

namespace {
std::mutex& hostMutex() {
    static std::mutex m;
    return m;
}
std::string& host() {
    static std::string h = "127.0.0.1:8443";
    return h;
}
std::string url(const char* path) {
    return "https://" + serviceHost() + path;
}
} // namespace

void setServiceHost(std::string hostAndPort) {
    std::lock_guard lock(hostMutex());
    host() = std::move(hostAndPort);
}

std::string serviceHost() {
    std::lock_guard lock(hostMutex());
    return host();
}

std::string URL_HOST_COMPLETA() {
    return url("/LumaCard/sonda.do");
}
std::string URL_LOGIN() {
    return url("/LumaCard/login.do");
}
std::string URL_LOGOUT() {
    return url("/LumaCard/logout.do");
}
std::string URL_LISTACARTE() {
    return url("/LumaCard/lista_carte.do");
}
std::string URL_LISTAMOVIMENTI() {
    return url("/LumaCard/movimenti.do");
}
std::string URL_MOVIMENTI_CARTA_ANONIMA() {
    return url("/LumaCard/carta_anonima.do");
}
std::string URL_BANNER() {
    return url("/LumaCard/banner.do");
}
std::string URL_TROVA_LUMASPOT() {
    return url("/LumaCard/trova_atm_lumaspot.do");
}

} // namespace vestrino
