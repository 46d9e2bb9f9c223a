#include "StandinServer.h"

#include "CertificateAuthority.h"
#include "FormData.h"
#include "ReplyXml.h"
#include "Validation.h"

#include <cmath>
#include <httplib.h>

namespace lumacard {

namespace {

constexpr const char* kXml = "text/xml; charset=UTF-8";
constexpr const char* kSessionExpired = "La sessione è scaduta. Effettuare di nuovo l'accesso.";

std::optional<std::string> cookie(const httplib::Request& req, const std::string& name) {
    const std::string header = req.get_header_value("Cookie");
    std::size_t at = 0;
    while (at < header.size()) {
        auto end = header.find(';', at);
        if (end == std::string::npos) {
            end = header.size();
        }
        std::string part = header.substr(at, end - at);
        const auto start = part.find_first_not_of(' ');
        part = start == std::string::npos ? std::string() : part.substr(start);
        if (part.rfind(name + "=", 0) == 0) {
            return part.substr(name.size() + 1);
        }
        at = end + 1;
    }
    return std::nullopt;
}

double kilometres(double lat1, double lng1, double lat2, double lng2) {
    constexpr double r = 6371.0, rad = M_PI / 180.0;
    const double dLat = (lat2 - lat1) * rad, dLng = (lng2 - lng1) * rad;
    const double a =
        std::sin(dLat / 2) * std::sin(dLat / 2) +
        std::cos(lat1 * rad) * std::cos(lat2 * rad) * std::sin(dLng / 2) * std::sin(dLng / 2);
    return 2 * r * std::asin(std::sqrt(a));
}

} // namespace

StandinServer::StandinServer(Options options) : options_(std::move(options)) {}

StandinServer::~StandinServer() {
    stop();
}

std::string StandinServer::hostAndPort() const {
    return options_.host + ":" + std::to_string(port_);
}

bool StandinServer::start(std::string& error) {
    const auto files = CertificateAuthority::ensure(options_.tlsDir, error);
    if (!files) {
        return false;
    }
    caFile_ = files->caCertificate;
    server_ = std::make_unique<httplib::SSLServer>(files->serverCertificate.c_str(),
                                                   files->serverKey.c_str());
    if (!server_->is_valid()) {
        error = "the TLS server cannot use " + files->serverCertificate.string();
        return false;
    }
    server_->set_tcp_nodelay(true);
    server_->set_keep_alive_max_count(100000);
    server_->set_keep_alive_timeout(30);
    route("GET", "/LumaCard/sonda.do", &StandinServer::probe);
    route("POST", "/LumaCard/login.do", &StandinServer::login);
    route("POST", "/LumaCard/logout.do", &StandinServer::logout);
    route("POST", "/LumaCard/lista_carte.do", &StandinServer::listaCarte);
    route("POST", "/LumaCard/movimenti.do", &StandinServer::movimenti);
    route("POST", "/LumaCard/carta_anonima.do", &StandinServer::cartaAnonima);
    route("POST", "/LumaCard/banner.do", &StandinServer::banner);
    route("POST", "/LumaCard/trova_atm_lumaspot.do", &StandinServer::trovaAtm);

    if (options_.port == 0) {
        port_ = server_->bind_to_any_port(options_.host);
    } else if (server_->bind_to_port(options_.host, options_.port)) {
        port_ = options_.port;
    }
    if (port_ <= 0) {
        error = "cannot listen on " + options_.host + ":" + std::to_string(options_.port);
        return false;
    }
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only reaches a server that is already running: wait until it is.
    for (int i = 0; i < 5000 && !server_->is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void StandinServer::stop() {
    knobs_.wakeSleepers();
    if (server_) {
        server_->stop();
    }
    if (thread_.joinable()) {
        thread_.join();
    }
}

void StandinServer::route(const char* method, const std::string& path, Handler handler) {
    auto serve = [this, path, handler](const httplib::Request& req, httplib::Response& res) {
        SeenRequest seen{req.method, req.body, {}};
        for (const auto& [k, v] : req.headers) {
            seen.headers.emplace(k, v);
        }
        knobs_.record(path, std::move(seen),
                      req.remote_addr + ":" + std::to_string(req.remote_port));
        const auto fault = knobs_.fault(path);
        if (fault && fault->delay.count() > 0) {
            knobs_.sleepFor(fault->delay);
        }
        std::string body = (this->*handler)(req, res);
        std::string type = res.get_header_value("Content-Type");
        if (type.empty()) {
            type = kXml;
        }
        res.headers.erase("Content-Type"); // set once below, with the body
        if (fault) {
            if (fault->status) {
                res.status = *fault->status;
            }
            if (fault->body) {
                body = *fault->body;
            }
            if (fault->replySize) {
                body.assign(*fault->replySize, 'x');
            }
            if (fault->cutConnection && fault->truncateAt && *fault->truncateAt < body.size()) {
                // The whole length promised, the first bytes sent, then the connection ends.
                res.set_content_provider(
                    body.size(), type,
                    [part = body.substr(0, *fault->truncateAt)](std::size_t offset, std::size_t,
                                                                httplib::DataSink& sink) {
                        if (offset == 0 && !part.empty()) {
                            sink.write(part.data(), part.size());
                            return true;
                        }
                        return false; // the connection ends here
                    });
                return;
            }
            if (fault->truncateAt && *fault->truncateAt < body.size()) {
                body.resize(*fault->truncateAt);
            }
            if (fault->closeConnection) {
                // Headers promise a body that never comes: the client sees a broken reply.
                res.set_content_provider(
                    body.size() + 1, type,
                    [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
                return;
            }
        }
        res.set_content(body, type.c_str());
    };
    if (std::string_view(method) == "GET") {
        server_->Get(path, serve);
    } else {
        server_->Post(path, serve);
    }
}

std::optional<std::string> StandinServer::sessionUser(const httplib::Request& req) const {
    const auto id = cookie(req, kSessionCookie);
    return id ? sessions_.find(*id) : std::nullopt;
}

std::string StandinServer::probe(const httplib::Request&, httplib::Response& res) {
    res.set_header("Content-Type", "text/plain");
    return "OK";
}

std::string StandinServer::login(const httplib::Request& req, httplib::Response& res) {
    const FormData form(req.body);
    const auto user = form.value("USER");
    const auto password = form.value("PASSWORD");
    if (const auto failure = Validation::login(user, password)) {
        return ReplyXml::ko(failure->first, failure->second);
    }
    const auto* known = options_.data.findUser(*user);
    if (!known || known->password != *password) {
        return ReplyXml::ko("login_fallita", "Nome utente o password non corretti.");
    }
    const std::string id = sessions_.open(known->user);
    res.set_header("Set-Cookie",
                   std::string(kSessionCookie) + "=" + id + "; Path=/LumaCard; Secure; HttpOnly");
    return ReplyXml::login(*known);
}

std::string StandinServer::logout(const httplib::Request& req, httplib::Response& res) {
    const auto id = cookie(req, kSessionCookie);
    if (!id || !sessions_.find(*id)) {
        return ReplyXml::ko("sessione_scaduta", kSessionExpired);
    }
    sessions_.close(*id);
    res.set_header("Set-Cookie", std::string(kSessionCookie) +
                                     "=; Path=/LumaCard; Expires=Thu, 01 Jan 1970 00:00:00 GMT; "
                                     "Secure; HttpOnly");
    return ReplyXml::ok();
}

std::string StandinServer::listaCarte(const httplib::Request& req, httplib::Response&) {
    const auto user = sessionUser(req);
    if (!user) {
        return ReplyXml::ko("sessione_scaduta", kSessionExpired);
    }
    std::vector<const DemoData::Card*> cards;
    if (const auto* u = options_.data.findUser(*user)) {
        for (const auto& codice : u->cards) {
            if (const auto* c = options_.data.findCard(codice)) {
                cards.push_back(c);
            }
        }
    }
    return ReplyXml::cards(cards);
}

std::string StandinServer::movimenti(const httplib::Request& req, httplib::Response&) {
    const auto user = sessionUser(req);
    if (!user) {
        return ReplyXml::ko("sessione_scaduta", kSessionExpired);
    }
    const FormData form(req.body);
    const auto selPan = form.value("selPan");
    if (const auto failure = Validation::selPan(selPan)) {
        return ReplyXml::ko(failure->first, failure->second);
    }
    const auto* u = options_.data.findUser(*user);
    const auto* card = options_.data.findCard(*selPan);
    if (!u || !card || std::find(u->cards.begin(), u->cards.end(), *selPan) == u->cards.end()) {
        return ReplyXml::ko("errore_generico", "Carta non trovata.");
    }
    return ReplyXml::statement(*card);
}

std::string StandinServer::cartaAnonima(const httplib::Request& req, httplib::Response&) {
    // An anonymous card is queried with its own number, expiry and CVV2: no session needed.
    const FormData form(req.body);
    const auto numero = form.value("numeroCarta");
    const auto dataAA = form.value("dataAA");
    const auto dataMM = form.value("dataMM");
    const auto cvv2 = form.value("cvv2");
    if (const auto failure = Validation::anonymousCard(numero, dataMM, dataAA, cvv2)) {
        return ReplyXml::ko(failure->first, failure->second);
    }
    for (const auto& c : options_.data.anonymous) {
        if (c.numero == *numero && c.dataAA == *dataAA && c.dataMM == *dataMM && c.cvv2 == *cvv2) {
            return ReplyXml::statement(c);
        }
    }
    return ReplyXml::ko("parametri_carta_anonima_non_validi",
                        "I dati della carta non sono corretti.");
}

std::string StandinServer::banner(const httplib::Request&, httplib::Response& res) {
    if (options_.data.banner.empty()) {
        res.status = 404;
        res.set_header("Content-Type", "text/plain");
        return "";
    }
    res.set_header("Content-Type", "image/png");
    return options_.data.banner;
}

std::string StandinServer::trovaAtm(const httplib::Request& req, httplib::Response&) {
    const FormData form(req.body);
    double lat = 0, lng = 0, raggio = 0;
    if (const auto failure = Validation::lumaspotSearch(form.value("lat"), form.value("lng"),
                                                        form.value("raggio"), lat, lng, raggio)) {
        return ReplyXml::ko(failure->first, failure->second);
    }
    std::vector<const DemoData::Lumaspot*> found;
    for (const auto& a : options_.data.lumaspot) {
        if (kilometres(lat, lng, a.lat, a.lng) <= raggio) {
            found.push_back(&a);
        }
    }
    return ReplyXml::lumaspot(found);
}

} // namespace lumacard
