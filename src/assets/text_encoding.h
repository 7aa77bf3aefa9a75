#pragma once
// Byte-level rules of the texts the game shows: UTF-8 characters.
#include <cstddef>
#include <string_view>

namespace vorn1::text {

// A byte that continues a UTF-8 character (10xxxxxx), never one that begins it.
constexpr bool is_utf8_continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The byte count of the well-formed UTF-8 character that begins at `i` (1 for ASCII); 0 when none
// does (a stray continuation byte, an overlong form, a surrogate, a cut sequence) or `i` is past the end.
std::size_t utf8_char_length(std::string_view s, std::size_t i);

}  // namespace vorn1::text
