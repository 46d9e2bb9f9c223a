#include "entities/LumaspotVicino.h"

#include "core/GeoDistance.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vestrino {

namespace {

std::optional<double> degrees(const std::optional<std::string>& text, double limit) {
    if (!text || text->empty()) {
        return std::nullopt;
    }
    double v = 0;
    const char* end = text->data() + text->size();
    // from_chars reads the C form ("41.902782") whatever the process's locale.
    const auto [ptr, ec] = std::from_chars(text->data(), end, v);
    if (ec != std::errc() || ptr != end || !std::isfinite(v) || std::abs(v) > limit) {
        return std::nullopt;
    }
    return v;
}

} // namespace

std::optional<std::pair<double, double>> LumaspotVicino::position(const ATMLumaspot& atm) {
    const auto lat = degrees(atm.latitudine(), 90);
    const auto lng = degrees(atm.longitudine(), 180);
    if (!lat || !lng) {
        return std::nullopt;
    }
    return std::make_pair(*lat, *lng);
}

std::vector<LumaspotVicino> LumaspotVicino::nearestFirst(const ListaLumaspot& found, double lat,
                                                         double lng) {
    std::vector<LumaspotVicino> out;
    out.reserve(found.size());
    for (const auto& atm : found) {
        if (!atm) {
            continue;
        }
        LumaspotVicino v{atm, std::nullopt};
        if (const auto p = position(*atm)) {
            v.km = GeoDistance::kilometres(lat, lng, p->first, p->second);
        }
        out.push_back(std::move(v));
    }
    std::stable_sort(out.begin(), out.end(), [](const LumaspotVicino& a, const LumaspotVicino& b) {
        return a.km && (!b.km || *a.km < *b.km);
    });
    return out;
}

std::size_t LumaspotVicino::fartherLast(std::vector<LumaspotVicino>& nearest, double radiusKm) {
    const auto farther =
        std::stable_partition(nearest.begin(), nearest.end(), [radiusKm](const LumaspotVicino& v) {
            return !(v.km && *v.km > radiusKm);
        });
    return static_cast<std::size_t>(nearest.end() - farther);
}

} // namespace vestrino
