#include "store/CardList.h"

#include "store/AES128.h"
#include "store/CartaDiPagamentoCoding.h"
#include "store/FileUtils.h"
#include "store/KeyedArchiver.h"
#include "store/KeyedUnarchiver.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vestrino {

namespace {

KeyedArchiver::Uid encodeList(const ListaCarte& list, KeyedArchiver& coder) {
    const auto at = coder.reserveObject();
    std::vector<KeyedArchiver::Uid> cards;
    cards.reserve(list.size());
    for (const auto& c : list) {
        cards.push_back(encodeWithCoder(*c, coder));
    }
    coder.setArray(at, cards, true);
    return at;
}

std::optional<ListaCarte> decodeList(const ArchivedValue& value) {
    const auto* objects = value.asArray();
    if (!objects) {
        return std::nullopt;
    }
    ListaCarte list;
    list.reserve(objects->size());
    for (const auto& o : *objects) {
        auto card = o ? initWithCoder(*o) : std::nullopt;
        if (!card) {
            return std::nullopt;
        }
        list.push_back(std::move(*card));
    }
    return list;
}

} // namespace

void CardList::addCard(CartaDiPagamentoPtr carta) {
    if (!carta) {
        return;
    }
    const bool known = std::any_of(cards_.begin(), cards_.end(),
                                   [&](const auto& c) { return c->isEqual(*carta); });
    if (!known) {
        cards_.push_back(std::move(carta));
    }
}

std::string CardList::archive() const {
    KeyedArchiver coder;
    const auto at = coder.reserveObject();
    KeyedArchiver::Object object;
    object.encodeObject("cards", encodeList(cards_, coder));
    coder.setObject(at, object, {"CardList", "NSObject"});
    return coder.finish("cards", at);
}

std::optional<std::shared_ptr<CardList>> CardList::unarchive(std::string_view bytes) {
    const auto reader = KeyedUnarchiver::fromData(bytes);
    if (!reader) {
        return std::nullopt;
    }
    const auto root = reader->decodeObjectForKey("cards");
    if (!root) {
        return std::nullopt;
    }
    if ((*root)->isNil()) {
        return std::shared_ptr<CardList>();
    }
    const ArchivedObject* object = (*root)->asObject();
    if (!object) {
        return std::nullopt;
    }
    auto list = std::make_shared<CardList>();
    if (const auto cards = object->valueForKey("cards")) {
        auto decoded = decodeList(*cards);
        if (!decoded) {
            return std::nullopt;
        }
        list->cards_ = std::move(*decoded);
    }
    return list;
}

bool CardList::writeToFile(const std::filesystem::path& path) const {
    if (cards_.empty()) {
        return true;
    }
    return FileUtils::writeAtomically(archive(), path);
}

std::shared_ptr<CardList> CardList::initWithContentfile(const std::filesystem::path& path) {
    const auto bytes = FileUtils::readFile(path, kMaxFileBytes);
    if (bytes && !bytes->empty()) {
        if (auto list = unarchive(*bytes)) {
            return *list;
        }
        // A damaged file is taken as no file: the next write replaces it.
    }
    return std::make_shared<CardList>();
}

std::shared_ptr<CardList> CardList::copy() const {
    auto list = std::make_shared<CardList>();
    for (const auto& c : cards_) {
        list->cards_.push_back(c->copy());
    }
    return list;
}

std::string CardList::archiveRootList(const ListaCarte& list) {
    KeyedArchiver coder;
    const auto root = encodeList(list, coder);
    return coder.finish("root", root);
}

std::optional<ListaCarte> CardList::unarchiveRootList(std::string_view bytes) {
    const auto reader = KeyedUnarchiver::fromData(bytes);
    if (!reader) {
        return std::nullopt;
    }
    const auto root = reader->decodeObjectForKey("root");
    if (!root || (*root)->isNil()) {
        return std::nullopt;
    }
    return decodeList(**root);
}

bool CardList::saveCardList(const ListaCarte& list, const std::filesystem::path& path) {
    const auto encrypted = AES128EncryptWithKey(archiveRootList(list), kQvK);
    return encrypted && FileUtils::writeAtomically(*encrypted, path);
}

std::optional<ListaCarte> CardList::loadCardListWithFile(const std::filesystem::path& path) {
    auto load = readCardListFile(path);
    if (load.state != CardFileLoad::State::Loaded) {
        return std::nullopt;
    }
    return std::move(load.cards);
}

CardFileLoad CardList::readCardListFile(const std::filesystem::path& path) {
    using State = CardFileLoad::State;
    const auto contents = FileUtils::readContents(path, kMaxFileBytes);
    if (!contents.bytes) {
        if (contents.error == ENOENT) {
            return {State::Missing, {}, {}};
        }
        // Something else at the card file's name (a FIFO, a folder, a link) or a file no card
        // list could fill: it holds no cards to read, and is set aside as a damaged file is.
        if (contents.refused != FileUtils::Contents::Refused::No) {
            return {State::Damaged, {}, path.string() + ": " + contents.why()};
        }
        // A permission, a read error: it may pass, and says nothing of the file's bytes.
        return {State::Unavailable, {}, path.string() + ": " + std::strerror(contents.error)};
    }
    const auto plain = AES128DecryptWithKey(*contents.bytes, kQvK);
    if (!plain) {
        return {State::Damaged,
                {},
                path.string() + ": does not decrypt (" + std::to_string(contents.bytes->size()) +
                    " bytes)"};
    }
    auto list = unarchiveRootList(*plain);
    if (!list) {
        return {State::Damaged, {}, path.string() + ": no card list in the archive"};
    }
    return {State::Loaded, std::move(*list), {}};
}

} // namespace vestrino
