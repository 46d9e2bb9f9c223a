#pragma once

#include "xml/EsitoXMLParser.h"

namespace vestrino {

// Reads the login reply: the outcome and the welcome text.
class LoginXMLParser : public EsitoXMLParser {
public:
    LoginXMLParser();
    void endMatchString(const char* name) override;

    const std::optional<std::string>& messaggioBevenuto() const { return messaggioBevenuto_; }

private:
    std::optional<std::string> messaggioBevenuto_;
};

} // namespace vestrino
