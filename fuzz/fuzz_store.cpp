// libFuzzer target over the card files: the first byte chooses the path. 0: the bytes are a
// per-user file (decrypt, then unarchive); 1: the bytes are the archive inside such a file
// (encrypted first, so that the whole load runs); 2: the bytes are a plain carte.plist.
#include "store/AES128.h"
#include "store/CardList.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace vestrino;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 3) {
    case 0:
        if (const auto plain = AES128DecryptWithKey(bytes, kQvK)) {
            (void)CardList::unarchiveRootList(*plain);
        }
        break;
    case 1: {
        const auto cipher = AES128EncryptWithKey(bytes, kQvK);
        const auto plain = cipher ? AES128DecryptWithKey(*cipher, kQvK) : std::nullopt;
        if (!plain || *plain != bytes) {
            __builtin_trap(); // encryption must round-trip
        }
        if (const auto list = CardList::unarchiveRootList(*plain)) {
            // What reads must write and read back the same.
            const auto again = CardList::unarchiveRootList(CardList::archiveRootList(*list));
            if (!again || again->size() != list->size()) {
                __builtin_trap();
            }
        }
        break;
    }
    default:
        (void)CardList::unarchive(bytes);
        break;
    }
    return 0;
}
