#include "core/GeoDistance.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vestrino {

double GeoDistance::kilometres(double lat1, double lng1, double lat2, double lng2) {
    const double rad = std::numbers::pi / 180;
    const double dLat = (lat2 - lat1) * rad;
    const double dLng = (lng2 - lng1) * rad;
    const double a =
        std::sin(dLat / 2) * std::sin(dLat / 2) +
        std::cos(lat1 * rad) * std::cos(lat2 * rad) * std::sin(dLng / 2) * std::sin(dLng / 2);
    // Clamped: rounding may push `a` a hair past 1 for antipodes.
    return 2 * kEarthRadiusKm * std::asin(std::sqrt(std::min(1.0, a)));
}

std::string GeoDistance::italianText(double km) {
    const long tenths = std::lround(std::max(0.0, km) * 10);
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " km";
}

} // namespace vestrino
