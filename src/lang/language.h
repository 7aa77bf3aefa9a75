#pragma once
#include <array>
#include <string>

namespace vorn1 {

enum Language : int { EN = 0, RU, IT, DE, FR, ES, PL, NO, SE, FI, DK, BR };
constexpr int kLanguageCount = 12;

extern Language g_language;

// Two-letter upper-case code ("EN", "RU", ...); any value outside 0..11 gives "EN".
const char* lang_code(int lang);
// Language of a code, case-insensitive; EN when unknown.
Language lang_from_code(const std::string& code);

// The folder of per-language files ("../LANG" beside the executable, else "LANG"; either found
// ignoring case), computed once.
const std::string& lang_assets_root();
// The folder of alternative art ("../ALT", else "ALT"), computed once.
const std::string& alt_assets_root();

// The text as it can be shown and printed: printable ASCII and well-formed UTF-8 letters stay, every
// other byte (controls, a byte of a single-byte code page, a cut sequence) becomes "\xNN". For names
// read from files, which may hold anything.
std::string readable_text(const std::string& text);

// The path unchanged when it exists, else each missing component replaced by the directory
// entry equal to it ignoring case (exact match first, then the smallest name); no match: input.
std::string resolve_ci(const std::string& path);

// A font file in the language folder, resolved with resolve_ci.
std::string lang_font_file(const std::string& file_name);
// The same in a given language folder.
std::string lang_font_file(const std::string& file_name, const std::string& root);

// Point sizes of the two interface fonts.
constexpr int kLargeFontSize = 16;
constexpr int kSmallFontSize = 12;

// Font file code of a language: "en", "ru", "de", "fr", "pl", "br", or "sc" for the Nordic four;
// Italian and Spanish use the English fonts.
const char* lang_font_code(Language lang);

struct LangFontPaths {
    std::string large_path;
    int large_size = 0;
    std::string small_path;
    int small_size = 0;
};
// The large and the small font of a language, falling back to the English pair: a missing font
// of the language writes one warning line to the error stream and gives the English one instead.
LangFontPaths lang_font_paths(Language lang);
LangFontPaths lang_font_paths(Language lang, const std::string& root);

}  // namespace vorn1
