#include "entities/PayeeName.h"

#include "core/Utf8.h"

namespace vestrino {

namespace {

// The bytes as well-formed UTF-8: what the service sent is already checked, but a memo cut in
// the middle of a character would make a reader drop the whole field.
std::string wellFormed(std::string_view bytes) {
    if (isValidUtf8(bytes)) {
        return std::string(bytes);
    }
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead >= 0xF0) {
            length = 4;
        } else if (lead >= 0xE0) {
            length = 3;
        } else if (lead >= 0xC0) {
            length = 2;
        }
        const std::string_view one = bytes.substr(i, length);
        if (lead >= 0x80 && (one.size() != length || !isValidUtf8(one))) {
            out += '?';
            ++i;
            continue;
        }
        out += one;
        i += one.size();
    }
    return out;
}

std::string trimmed(std::string text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

std::string PayeeName::oneLine(std::string_view description) {
    std::string line;
    line.reserve(description.size());
    bool blank = false;
    for (const char c : wellFormed(description)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            if (!blank) {
                line += ' ';
            }
            blank = true;
            continue;
        }
        line += c;
        blank = false;
    }
    return trimmed(std::move(line));
}

namespace {

// The longest beginning of well-formed UTF-8 text that has at most `characters` characters and
// `bytes` bytes, ending on a character's boundary.
std::string fitting(std::string_view text, std::size_t characters, std::size_t bytes) {
    std::size_t end = byteOffsetOfCodePoint(text, characters);
    while (end > bytes) {
        // Back to the start of the character that crosses the byte limit.
        end = byteOffsetOfCodePoint(text, codePointCount(text.substr(0, bytes)));
    }
    return std::string(text.substr(0, end));
}

} // namespace

PayeeName::Parts PayeeName::of(std::string_view description) {
    std::string line = oneLine(description);
    if (codePointCount(line) <= kNameLength && line.size() <= kNameBytes) {
        return {std::move(line), {}};
    }
    std::string name = fitting(line, kNameLength, kNameBytes);
    // After the last whole word, when that keeps at least two thirds of the room: a payee
    // list then reads "PAGAMENTO POS SUPERMERCATO", not "... SUPERMERCATO CONAD R".
    const bool cutInWord = line[name.size()] != ' ';
    if (const auto space = name.rfind(' ');
        cutInWord && space != std::string::npos &&
        codePointCount(std::string_view(name).substr(0, space)) >= kNameLength * 2 / 3) {
        name.resize(space);
    }
    return {trimmed(std::move(name)), trimmed(fitting(line, kMemoLength, kMemoBytes))};
}

} // namespace vestrino
