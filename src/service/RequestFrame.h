#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace vestrino {

// A reply's code word and the outcome code an operation maps it to.
struct OutcomeWord {
    const char* word;
    int code;
};

enum class ConnectivityCheck { None, Short, Full };

// What every service operation shares: the connectivity check, the form POST with its headers
// and time limit, the reply decoded as UTF-8 without no-break spaces, the parse, and the mapping
// of the outcome to a code. An operation names its check, endpoint, body, words and parse.
class RequestFrame {
public:
    using Text = std::optional<std::string>;
    // Runs the operation's parse method over the reply text; fills ok and the outcome strings
    // (and the operation's payload), as the parse methods do.
    using Parse = std::function<void(const Text& text, bool& ok, Text& esito, Text& codiceEsito,
                                     Text& messaggio)>;

    struct Operation {
        ConnectivityCheck check = ConnectivityCheck::Short;
        double checkSeconds = 0.0;
        std::string url;
        std::string body;
        double timeoutSeconds = 10.0;
        std::span<const OutcomeWord> words;
    };

    // The whole frame. `messaggio` receives the reply's message whenever the reply was read.
    static int run(const Operation& operation, const Parse& parse, Text& messaggio);

    // The connectivity check; true when the network may be used.
    static bool connectivity(ConnectivityCheck check, double seconds);
    // The POST itself: the reply body, or nothing when there was no reply.
    static std::optional<std::string> post(const std::string& url, const std::string& body,
                                           double timeoutSeconds);
    // The outcome code: success for an "OK" outcome in any letter case, else the first word
    // that equals the code word, else the generic error.
    static int outcome(const Text& esito, const Text& codiceEsito,
                       std::span<const OutcomeWord> words);

    // "name=value&name=value" in the given order; values are sent as given.
    static std::string
    formBody(std::initializer_list<std::pair<std::string_view, std::string_view>> pairs);
};

} // namespace vestrino
