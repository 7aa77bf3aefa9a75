#pragma once
// English scenario titles, story texts and map names turned into the current language, each
// falling back to the English text when the catalogue has no entry.
#include <string>

namespace vorn1 {

// prefix + "_" + the English text upper-cased, every run of other bytes one "_", cut at 36
// bytes, then stripped of leading and trailing "_".
std::string catalog_key_from_english(const std::string& prefix, const std::string& english);

// The catalogue's text of the key, or `fallback` when the catalogue hands back the key itself.
std::string lookup_or(const std::string& key, const std::string& fallback);

std::string localized_scenario_title(const std::string& english);
std::string localized_scenario_desc(const std::string& english);
// "MAPNAME_" + stem (case kept), else the English name as the map file holds it (text::classic_text);
// without blanks at either end, so that names that look the same compare the same.
std::string localized_map_name(const std::string& stem, const std::string& english);
// "MAPDESC_" + stem, else the English description as the map file holds it.
std::string localized_map_desc(const std::string& stem, const std::string& english);
std::string spirit_tr(const std::string& key, const std::string& english);

}  // namespace vorn1
