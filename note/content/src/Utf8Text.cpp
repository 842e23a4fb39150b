#include "korvelin/Utf8Text.h"

namespace korvelin {

std::optional<std::size_t> Utf8Length(std::string_view text, std::size_t* bad)
{
    std::size_t characters = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t code = lead;
        char32_t minimum = 0;
        if (lead >= 0x80) {
            if ((lead & 0xE0) == 0xC0) {
                length = 2, minimum = 0x80, code = lead & 0x1F;
            } else if ((lead & 0xF0) == 0xE0) {
                length = 3, minimum = 0x800, code = lead & 0x0F;
            } else if ((lead & 0xF8) == 0xF0) {
                length = 4, minimum = 0x10000, code = lead & 0x07;
            } else {
                length = 0;
            }
            for (std::size_t k = 1; length != 0 && k < length; ++k) {
                if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                    length = 0;
                } else {
                    code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
                }
            }
            if (length != 0 && (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))) {
                length = 0;
            }
        }
        if (length == 0) {
            if (bad != nullptr) {
                *bad = i;
            }
            return std::nullopt;
        }
        i += length;
        ++characters;
    }
    return characters;
}

}  // namespace korvelin
