#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vestrino {

// A town the cash-machine search can start from: an Italian province capital.
struct Capoluogo {
    std::string nome;  // "Reggio Emilia"
    std::string sigla; // "RE"
    double lat = 0;
    double lng = 0;
    std::string folded; // the name folded for search
};

// The province capitals shipped with the application (data/capoluoghi.json, from GeoNames),
// in alphabetical order, and the search over them as the person types.
class Capoluoghi {
public:
    // The list in `file`, or nothing with the reason.
    static std::optional<Capoluoghi> load(const std::filesystem::path& file, std::string& error);
    // Whether `file` is a list `load` would take, or the reason it is not. The names are not
    // folded: the launch check stays clear of the Unicode normalizer's data, which only the
    // cash-machine search needs.
    static bool isSound(const std::filesystem::path& file, std::string& error);
    // The application's list (resources/data), read at first use; empty when it cannot be.
    static const Capoluoghi& shared();
    static void setDataFolder(std::filesystem::path folder);

    const std::vector<Capoluogo>& all() const { return all_; }
    // Those whose name holds `query` (case and accents ignored) or whose sigla is it; all for
    // an empty query. Names that begin with the query come first.
    std::vector<const Capoluogo*> matching(std::string_view query) const;
    const Capoluogo* named(std::string_view nome) const;

private:
    static std::optional<Capoluoghi> read(const std::filesystem::path& file, std::string& error,
                                          bool foldNames);

    std::vector<Capoluogo> all_;
};

} // namespace vestrino
