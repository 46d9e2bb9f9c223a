#include "service/ServiceSetup.h"

#include "core/RunLoop.h"
#include "net/HttpClient.h"
#include "net/ReachabilityFlagSource.h"
#include "service/Constants.h"

#include <charconv>
#include <filesystem>

namespace vestrino {

std::optional<unsigned> ServiceSetup::parseFlags(const std::string& text) {
    unsigned value = 0;
    const bool hex = text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0;
    const char* begin = text.data() + (hex ? 2 : 0);
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(begin, end, value, hex ? 16 : 10);
    if (ec != std::errc() || at != end || begin == end) {
        return std::nullopt;
    }
    return value;
}

bool ServiceSetup::apply(std::string& error) const {
    setServiceHost(host);
    if (cafile) {
        if (!std::filesystem::exists(*cafile)) {
            error = "the CA file \"" + *cafile + "\" does not exist";
            return false;
        }
        HttpClient::shared().setCaFile(*cafile);
    }
    if (reachability) {
        const auto flags = parseFlags(*reachability);
        if (!flags) {
            error =
                "--reachability wants flags such as 2 or 0x40002, not \"" + *reachability + "\"";
            return false;
        }
        ReachabilityFlagSource::setSystem(std::make_shared<FixedFlagSource>(*flags));
    }
    RunLoop::main().adoptCurrentThread();
    return true;
}

} // namespace vestrino
