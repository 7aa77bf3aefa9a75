#pragma once
// Language files of the demo data and the tests: string catalogues and the two fonts.
#include <map>
#include <string>
#include <vector>

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

// What fill_lang_folder did: the language folder it used, the files it wrote, and false in `ok` when
// a file could not be written.
struct LangFill {
    std::string folder;
    std::vector<std::string> written;
    bool ok = true;
};
// Puts the English catalogue (english_strings()) and the two fonts into the language folder of a
// player's data folder (an existing one found whatever its letter case, else "LANG"), each only when
// no file of that name is there: a file that is there is never written over.
LangFill fill_lang_folder(const std::string& data_dir);

// Seed inputs of the catalogue and override-spec readers' fuzz targets: OUT/catalogue/*.json and
// OUT/override_spec/*. Throws on failure.
void write_lang_seeds(const std::string& out_dir);

}  // namespace vorn1::kit
