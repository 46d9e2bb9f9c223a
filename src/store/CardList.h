#pragma once

#include "entities/CartaDiPagamento.h"
#include "store/CardFileLoad.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vestrino {

// An archivable list of cards with a plain file form ("carte.plist": the list archived under
// "cards", its cards under "cards" again), and the encrypted per-user store's two operations.
class CardList {
public:
    // The largest card file read (a list of thousands of cards is far smaller): a larger file
    // at the card file's name is no card list, and reading it would only cost time and memory.
    static constexpr std::size_t kMaxFileBytes = 16 * 1024 * 1024;

    ListaCarte& cards() { return cards_; }
    const ListaCarte& cards() const { return cards_; }

    // Appends the card unless an equal card (same number) is already there.
    void addCard(CartaDiPagamentoPtr carta);

    // Writes the plain archive atomically; an empty list writes nothing (and leaves a file that
    // is there as it was) and counts as success.
    bool writeToFile(const std::filesystem::path& path) const;
    // The list stored in the file; a new empty list when there is no file, an empty one or one
    // that is not such an archive; nothing when the archive has no "cards".
    static std::shared_ptr<CardList> initWithContentfile(const std::filesystem::path& path);

    // A new list holding a copy of each card, in order.
    std::shared_ptr<CardList> copy() const;

    // The encrypted per-user store: the list archived as the root object, AES-128 with kQvK.
    static bool saveCardList(const ListaCarte& list, const std::filesystem::path& path);
    static std::optional<ListaCarte> loadCardListWithFile(const std::filesystem::path& path);
    // The same load, saying why there is no list.
    static CardFileLoad readCardListFile(const std::filesystem::path& path);

    // The archive layers on their own (for tools and tests).
    static std::string archiveRootList(const ListaCarte& list);
    static std::optional<ListaCarte> unarchiveRootList(std::string_view bytes);
    std::string archive() const;
    // Absent list when the archive reads but has no "cards"; nothing when it does not read.
    static std::optional<std::shared_ptr<CardList>> unarchive(std::string_view bytes);

private:
    ListaCarte cards_;
};

} // namespace vestrino
