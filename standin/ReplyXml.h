#pragma once

#include "DemoData.h"

#include <string>
#include <string_view>
#include <vector>

namespace lumacard {

// The XML replies of the service: the outcome block, then the operation's payload.
class ReplyXml {
public:
    static std::string escape(std::string_view text);
    static std::string ok(const std::string& payload = "");
    static std::string ko(std::string_view codice, std::string_view messaggio);
    static std::string element(std::string_view name, std::string_view text);

    static std::string login(const DemoData::User& user);
    static std::string cards(const std::vector<const DemoData::Card*>& cards);
    static std::string statement(const DemoData::Statement& s);
    static std::string lumaspot(const std::vector<const DemoData::Lumaspot*>& found);
};

} // namespace lumacard
