#pragma once

#include <cstddef>
#include <optional>
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

// Where the first match of the folded `query` lies in `utf8` as written (not folded): its first
// and past-the-last code points; nothing when it does not match or the query is empty.
struct FoldedMatch {
    std::size_t from, to;
};
std::optional<FoldedMatch> findFolded(std::string_view utf8, std::string_view foldedQuery);

// What a row shows of a text too long for it so that the match is in sight: the text from the
// start of the word the match is in (or from the match, in a long word), after "…".
std::string excerptAround(std::string_view utf8, const FoldedMatch& match);

} // namespace vestrino
