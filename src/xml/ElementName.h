#pragma once

#include <cstddef>
#include <cstring>
#include <libxml/parser.h>
#include <span>
#include <vector>

namespace vestrino {

// The element names a parser looks for. The XML library keeps every name of a reply once, in
// the reply's dictionary, and hands the callbacks those copies: looked up there once when a
// reply starts, a name is then told by its pointer instead of by its characters (parsers test
// a dozen names at every tag). Before the lookup (no reply being read) names are compared as
// text.
class ElementNames {
public:
    explicit ElementNames(std::span<const char* const> names)
        : names_(names), interned_(names.size(), nullptr) {}

    // Looks every name up in the dictionary of the reply about to be read.
    void bind(xmlDictPtr dict) {
        for (std::size_t i = 0; i < names_.size(); ++i) {
            interned_[i] =
                dict ? xmlDictLookup(dict, reinterpret_cast<const xmlChar*>(names_[i]), -1)
                     : nullptr;
        }
    }
    // Whether `name`, as the library handed it over, is the name at `index`.
    bool is(const char* name, std::size_t index) const {
        const xmlChar* interned = interned_[index];
        return interned ? reinterpret_cast<const xmlChar*>(name) == interned
                        : std::strcmp(name, names_[index]) == 0;
    }

private:
    std::span<const char* const> names_;
    std::vector<const xmlChar*> interned_;
};

} // namespace vestrino
