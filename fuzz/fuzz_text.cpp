// SPDX-License-Identifier: GPL-2.0-or-later
// x_to_accented with arbitrary positions, accented_to_x, and the index-key
// conversions, on arbitrary UTF-16 text.
#include "text/esperanto_x.h"
#include "text/index_key.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Require(bool property) {
    if (!property) {
        std::abort();
    }
}

bool IsMarker(char16_t c) {
    return c == u'x' || c == u'X';
}

bool IsBase(char16_t c) {
    return c < 0x80 && std::strchr("CGHJSUcghjsu", static_cast<char>(c)) && c != 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    // Two bytes each pick a position in (or just past) the text.
    const std::size_t textUnits = (size - 4) / 2;
    std::u16string text(textUnits, u'\0');
    std::memcpy(text.data(), data + 4, textUnits * 2);
    std::size_t first = (data[0] | data[1] << 8) % (textUnits + 3);
    std::size_t second = (data[2] | data[3] << 8) % (textUnits + 3);
    const std::size_t firstIn = first;
    const std::size_t secondIn = second;

    const std::u16string accented = x_to_accented(text, &first, &second);
    std::u16string inPlace = text;
    inPlace.resize(x_to_accented_in_place(inPlace.data(), inPlace.size()));
    Require(inPlace == accented);
    Require(accented.size() <= text.size());
    // Positions inside the text stay inside the result; positions past it are untouched.
    Require(firstIn > textUnits ? first == firstIn : first <= accented.size());
    Require(secondIn > textUnits ? second == secondIn : second <= accented.size());
    Require(firstIn <= secondIn ? first <= second : first >= second);

    // Back to x-system: a text without accented letters comes back the same,
    // except that the marker of each pair is lower-case.
    if (accented_to_x(text) == text) {
        std::u16string expected = text;
        for (std::size_t i = 1; i < expected.size(); ++i) {
            if (IsMarker(text[i]) && IsBase(text[i - 1])) {
                expected[i] = u'x';
            }
        }
        Require(accented_to_x(accented) == expected);
    }

    const std::string key = to_index_key(text);
    Require(key.size() <= 256);
    Require(from_index_key(key).size() <= 256);
    return 0;
}
