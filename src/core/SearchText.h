#pragma once

#include <string>
#include <string_view>

namespace vestrino {

// Text folded for searching as a person types: case folded and accents removed (ICU: NFD,
// the combining marks dropped, full case folding), so that "caffe" finds "CAFFÈ" and
// "strasse" finds "Straße". Fold both sides once; then a plain substring test is the match.
std::string foldedForSearch(std::string_view utf8);

// True when `folded` (already folded) contains the folded `query`; an empty query matches.
inline bool containsFolded(std::string_view folded, std::string_view foldedQuery) {
    return foldedQuery.empty() || folded.find(foldedQuery) != std::string_view::npos;
}

} // namespace vestrino
