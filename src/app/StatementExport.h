#pragma once

#include "entities/Movimento.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace vestrino {

// Writes the rows a statement shows to a CSV file (StatementCsv) in a folder (the person's
// download folder): "Lumacard-<last four digits>-<yyyy-MM-dd>.csv", mode 0600, written whole;
// a name already taken gets "-2", "-3", ... so that no file of the person's is replaced.
class StatementExport {
public:
    // The file written, or nothing when it could not be (the folder cannot be made or
    // written).
    static std::optional<std::filesystem::path> write(std::span<const MovimentoPtr> rows,
                                                      const std::string& serial,
                                                      const std::string& isoDay,
                                                      const std::filesystem::path& folder);
    static std::string fileName(const std::string& serial, const std::string& isoDay, int copy);
};

} // namespace vestrino
