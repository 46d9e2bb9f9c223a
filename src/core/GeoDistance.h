#pragma once

#include <string>

namespace vestrino {

// Distances on the Earth's surface between two places given in degrees.
class GeoDistance {
public:
    // The mean radius of the Earth (IUGG), in kilometres.
    static constexpr double kEarthRadiusKm = 6371.0088;

    // The great-circle distance (haversine formula), in kilometres.
    static double kilometres(double lat1, double lng1, double lat2, double lng2);
    // "1,2 km": one decimal, a decimal comma; "12,0 km" likewise.
    static std::string italianText(double km);
};

} // namespace vestrino
