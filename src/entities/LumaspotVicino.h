#pragma once

#include "entities/ATMLumaspot.h"

#include <optional>
#include <vector>

namespace vestrino {

// A cash machine found by the search with its great-circle distance from where the person
// searched (nothing when the service gave no readable position).
struct LumaspotVicino {
    ATMLumaspotPtr atm;
    std::optional<double> km;

    // The position of a cash machine as numbers, when both texts are plain decimal degrees.
    static std::optional<std::pair<double, double>> position(const ATMLumaspot& atm);
    // Every cash machine with its distance from (lat, lng), nearest first; those without a
    // position last, in the service's order.
    static std::vector<LumaspotVicino> nearestFirst(const ListaLumaspot& found, double lat,
                                                    double lng);
    // The same list with the cash machines known to be farther than `radiusKm` (the service
    // may send some) moved to the end, in their order; the number moved.
    static std::size_t fartherLast(std::vector<LumaspotVicino>& nearest, double radiusKm);
};

} // namespace vestrino
