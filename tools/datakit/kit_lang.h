#pragma once
// Language files of the demo data and the tests: string catalogues and the two fonts.
#include <map>
#include <string>

#include "datakit/datakit.h"

namespace vorn1::kit {

using StringMap = std::map<std::string, std::string>;

// The English texts of the keys in use. Each area adds its keys with add_english_strings
// before the catalogue is written (later additions replace earlier texts of the same key).
const StringMap& english_strings();
void add_english_strings(const StringMap& more);

// A catalogue as JSON text: one flat object of key -> text.
std::string catalogue_json(const StringMap& texts);

// Writes OUT_DIR/LANG/strings_en.json (english_strings()) and the fonts "font_en.ttf" and
// "font_small_en.ttf" copied from the system's DejaVu fonts. False when a file cannot be written
// (a missing system font is reported on the error stream and skipped).
bool write_lang_folder(const std::string& out_dir);

// Seed inputs of the catalogue and override-spec readers' fuzz targets: OUT/catalogue/*.json and
// OUT/override_spec/*. Throws on failure.
void write_lang_seeds(const std::string& out_dir);

}  // namespace vorn1::kit
