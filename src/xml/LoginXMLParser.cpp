#include "xml/LoginXMLParser.h"

#include "xml/ElementName.h"
#include <cstring>

namespace vestrino {

namespace {
constexpr const char* KMessaggio = "messaggio_benvenuto";
}

void LoginXMLParser::endMatchString(const char* name) {
    if (isElement(name, KMessaggio)) {
        messaggioBevenuto_ = currentString();
    }
}

} // namespace vestrino
