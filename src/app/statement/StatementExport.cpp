#include "app/statement/StatementExport.h"

#include "core/Paths.h"
#include "entities/CartaDiPagamento.h"
#include "store/FileUtils.h"

namespace vestrino {

std::string StatementExport::fileName(const std::string& serial, const std::string& isoDay,
                                      std::string_view extension, int copy) {
    const std::string last4 = CartaDiPagamento::lastFourDigits(serial);
    std::string name = "Lumacard-" + (last4.empty() ? std::string("carta") : last4) + "-" + isoDay;
    if (copy > 1) {
        name += "-" + std::to_string(copy);
    }
    return name + "." + std::string(extension);
}

std::optional<std::filesystem::path> StatementExport::write(std::string_view contents,
                                                            const std::string& serial,
                                                            const std::string& isoDay,
                                                            std::string_view extension,
                                                            const std::filesystem::path& folder) {
    if (!createPrivateDirectories(folder)) {
        return std::nullopt;
    }
    for (int copy = 1; copy < 1000; ++copy) {
        const auto path = folder / fileName(serial, isoDay, extension, copy);
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
            continue;
        }
        return FileUtils::writeAtomically(contents, path) ? std::optional(path) : std::nullopt;
    }
    return std::nullopt;
}

} // namespace vestrino
