#include "assets/text_encoding.h"

#include <array>

namespace vorn1::text {

namespace {

// Code page 437 from 0x80 up, as Unicode code points.
constexpr std::array<char16_t, 128> kCp437High{
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

void append_utf8(std::string& out, char16_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::size_t utf8_char_length(std::string_view s, std::size_t i) {
    if (i >= s.size()) return 0;
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = at(i);
    if (c < 0x80) return 1;
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // the second byte's range
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c == 0xE0) n = 3, lo = 0xA0;
    else if ((c >= 0xE1 && c <= 0xEC) || c == 0xEE || c == 0xEF) n = 3;
    else if (c == 0xED) n = 3, hi = 0x9F;
    else if (c == 0xF0) n = 4, lo = 0x90;
    else if (c >= 0xF1 && c <= 0xF3) n = 4;
    else if (c == 0xF4) n = 4, hi = 0x8F;
    if (n == 0 || i + n > s.size() || at(i + 1) < lo || at(i + 1) > hi) return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (!is_utf8_continuation(s[i + k])) return 0;
    return n;
}

bool is_utf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = utf8_char_length(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

namespace {

// The length of UTF-8 text that `s` is, but for a character cut short at its end (a name or label
// stored at its byte limit, cut inside a letter): npos when it is not such a text. A lone lead byte
// after plain ASCII stays a code-page letter ("Flu" + 0xE1 is "Flu" + sharp s).
std::size_t cut_utf8_length(std::string_view s) {
    std::size_t i = 0;
    bool multibyte = false;
    while (i < s.size()) {
        const std::size_t n = utf8_char_length(s, i);
        if (n == 0) break;
        multibyte = multibyte || n > 1;
        i += n;
    }
    const std::size_t tail = s.size() - i;
    if (tail == 0 || tail > 3) return std::string_view::npos;
    const auto lead = static_cast<unsigned char>(s[i]);
    const std::size_t needed = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (tail >= needed || (!multibyte && tail == 1)) return std::string_view::npos;
    // What is there of the character must be well-formed: padded with continuation bytes, it reads.
    std::string padded(s.substr(i));
    while (padded.size() < needed)
        padded += static_cast<char>(padded.size() > 1 ? 0x80 : lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80);
    return utf8_char_length(padded, 0) == needed ? i : std::string_view::npos;
}

}  // namespace

std::string classic_text(std::string_view s) {
    if (is_utf8(s)) return std::string(s);
    if (const std::size_t kept = cut_utf8_length(s); kept != std::string_view::npos) return std::string(s.substr(0, kept));
    std::string out;
    out.reserve(s.size() * 2);
    for (char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) out += c;
        else append_utf8(out, kCp437High[b - 0x80]);
    }
    return out;
}

std::string trim_blanks(std::string_view s) {
    const auto blank_at_start = [&] { return s.starts_with(' ') || s.starts_with("\xC2\xA0"); };
    const auto blank_at_end = [&] { return s.ends_with(' ') || s.ends_with("\xC2\xA0"); };
    while (blank_at_start()) s.remove_prefix(s.front() == ' ' ? 1 : 2);
    while (blank_at_end()) s.remove_suffix(s.back() == ' ' ? 1 : 2);
    return std::string(s);
}

}  // namespace vorn1::text
