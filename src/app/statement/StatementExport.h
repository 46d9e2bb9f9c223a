#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vestrino {

// Writes an exported statement to a file in a folder (the person's download folder):
// "Lumacard-<last four digits>-<yyyy-MM-dd>.<csv|ofx|qif>", mode 0600, written whole; a name
// already taken gets "-2", "-3", ... so that no file of the person's is replaced.
class StatementExport {
public:
    // The file written, or nothing when it could not be (the folder cannot be made or
    // written).
    static std::optional<std::filesystem::path>
    write(std::string_view contents, const std::string& serial, const std::string& isoDay,
          std::string_view extension, const std::filesystem::path& folder);
    static std::string fileName(const std::string& serial, const std::string& isoDay,
                                std::string_view extension, int copy);
};

} // namespace vestrino
