#include "frontend/localized_texts.h"

#include <array>
#include <utility>

#include "assets/text_encoding.h"
#include "lang/runtime_strings.h"

namespace vorn1 {
namespace {

// Campaign titles that are also the names of the scenario's target town.
constexpr std::array<std::pair<const char*, const char*>, 5> k_alt{{
    {"Gateway", "CAMP1_CITYNAME"},
    {"Castle Varkhelm", "CAMP5_CITYNAME"},
    {"Castle Brudek", "CAMP6_CITYNAME"},
    {"Castle Selvina", "CAMP7_CITYNAME"},
    {"Castle Oskarn", "CAMP8_CITYNAME"},
}};

constexpr std::size_t kKeyTextMax = 36;

}  // namespace

std::string catalog_key_from_english(const std::string& prefix, const std::string& english) {
    std::string body;
    bool last_other = false;
    for (unsigned char c : english) {
        const bool upper = c >= 'A' && c <= 'Z', lower = c >= 'a' && c <= 'z', digit = c >= '0' && c <= '9';
        if (upper || digit) {
            body += static_cast<char>(c);
            last_other = false;
        } else if (lower) {
            body += static_cast<char>(c - 32);
            last_other = false;
        } else if (!last_other) {
            body += '_';
            last_other = true;
        }
    }
    if (body.size() > kKeyTextMax) body.resize(kKeyTextMax);
    const std::size_t first = body.find_first_not_of('_');
    if (first == std::string::npos) {
        body.clear();
    } else {
        body = body.substr(first, body.find_last_not_of('_') - first + 1);
    }
    return prefix + "_" + body;
}

std::string lookup_or(const std::string& key, const std::string& fallback) { return strings().get_or(key, fallback); }

std::string localized_scenario_title(const std::string& english) {
    const std::string key = catalog_key_from_english("NEWGAME", english);
    const std::string& text = strings().get(key);
    if (text != key) return text;
    for (const auto& [title, alt] : k_alt)
        if (english == title) return lookup_or(alt, english);
    return english;
}

std::string localized_scenario_desc(const std::string& english) {
    return lookup_or(catalog_key_from_english("NEWGAME", english), english);
}

std::string localized_map_name(const std::string& stem, const std::string& english) {
    return text::trim_blanks(lookup_or("MAPNAME_" + stem, text::classic_text(english)));
}

std::string localized_map_desc(const std::string& stem, const std::string& english) {
    return lookup_or("MAPDESC_" + stem, text::classic_text(english));
}

std::string spirit_tr(const std::string& key, const std::string& english) { return lookup_or(key, english); }

}  // namespace vorn1
