#pragma once
// Byte-level rules of the texts the game shows: UTF-8 characters, and the single-byte code page in
// which the classic files wrote their texts.
#include <cstddef>
#include <string>
#include <string_view>

namespace vorn1::text {

// A byte that continues a UTF-8 character (10xxxxxx), never one that begins it.
constexpr bool is_utf8_continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The byte count of the well-formed UTF-8 character that begins at `i` (1 for ASCII); 0 when none
// does (a stray continuation byte, an overlong form, a surrogate, a cut sequence) or `i` is past the end.
std::size_t utf8_char_length(std::string_view s, std::size_t i);

// Every byte belongs to a well-formed UTF-8 character.
bool is_utf8(std::string_view s);

// A text of a classic file (map and campaign titles and descriptions, high-score rows) as UTF-8 for
// drawing: kept as it is when it already is UTF-8, else every byte from 0x80 up read as a letter of
// the DOS Latin code page 437 (0x81 u-umlaut, 0x82 e-acute). Decided once for the whole text.
std::string classic_text(std::string_view s);

// A UTF-8 text without the blanks at either end (spaces and no-break spaces), which draw as nothing but
// room: two names that differ only there look the same.
std::string trim_blanks(std::string_view s);

}  // namespace vorn1::text
