#include "service/RequestFrame.h"

#include "core/ReplyText.h"
#include "core/UpperCase.h"
#include "net/HttpClient.h"
#include "service/Constants.h"
#include "service/NetworkUtils.h"

namespace vestrino {

bool RequestFrame::connectivity(ConnectivityCheck check, double seconds) {
    switch (check) {
    case ConnectivityCheck::None:
        return true;
    case ConnectivityCheck::Short:
        return NetworkUtils::checkInternetConnectionWithTimeout(seconds);
    case ConnectivityCheck::Full:
        return NetworkUtils::fullCheckInternetConnectionWithTimeout(seconds);
    }
    return false;
}

std::optional<std::string> RequestFrame::post(const std::string& url, const std::string& body,
                                              double timeoutSeconds) {
    HttpRequest request;
    request.method = HttpRequest::Method::Post;
    request.url = url;
    request.timeoutSeconds = timeoutSeconds;
    request.headers = {"Content-Type: application/x-www-form-urlencoded",
                       "Content-Length: " + std::to_string(body.size())};
    request.body = body;
    auto response = HttpClient::shared().perform(request);
    if (!response) {
        return std::nullopt;
    }
    return std::move(response->body);
}

int RequestFrame::outcome(const Text& esito, const Text& codiceEsito,
                          std::span<const OutcomeWord> words) {
    if (esito && upperCased(*esito) == ESITO_OK_STR) {
        return SUCCESS;
    }
    if (codiceEsito) {
        for (const auto& w : words) {
            if (*codiceEsito == w.word) {
                return w.code;
            }
        }
    }
    return CODICE_ERRORE_GENERICO;
}

int RequestFrame::run(const Operation& op, const Parse& parse, Text& messaggio) {
    if (!connectivity(op.check, op.checkSeconds)) {
        return CODICE_ERRORE_CONNESSIONE;
    }
    const auto body = post(op.url, op.body, op.timeoutSeconds);
    if (!body) {
        return CODICE_ERRORE_CONNESSIONE;
    }
    bool ok = false;
    Text esito, codiceEsito;
    parse(decodeReplyText(*body), ok, esito, codiceEsito, messaggio);
    if (!ok) {
        return CODICE_ERRORE_GENERICO;
    }
    return outcome(esito, codiceEsito, op.words);
}

std::string
RequestFrame::formBody(std::initializer_list<std::pair<std::string_view, std::string_view>> pairs) {
    std::string body;
    for (const auto& [name, value] : pairs) {
        if (!body.empty()) {
            body += '&';
        }
        body.append(name);
        body += '=';
        body.append(value);
    }
    return body;
}

} // namespace vestrino
