#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "assets/agg.h"
#include "assets/palette.h"
#include "lang/language.h"

namespace vorn1 {

struct LangDetectResult {
    Language language = EN;
    std::optional<PaletteRemap> palette_remap;  // none when the archive's palette needs no remapping
};

// One fingerprint: an archive entry whose crc32 (or, without `check_crc`, whose mere presence)
// marks the data language. The first matching row wins.
struct LangFingerprint {
    std::string entry;
    bool check_crc = true;
    uint32_t crc = 0;
    Language language = EN;
    std::optional<PaletteRemap> palette_remap;
};

// The built-in fingerprint table.
const std::vector<LangFingerprint>& lang_fingerprints();

// The data language of the archive by the built-in table; EN when nothing matches. Results of
// archives opened from a file are cached by path (and the file's size and time). Logs one line
// starting "LANG DETECT: ".
LangDetectResult detect_language(const AggArchive& agg);
// The same against a given table, without the cache.
LangDetectResult detect_language(const AggArchive& agg, const std::vector<LangFingerprint>& table);

}  // namespace vorn1
