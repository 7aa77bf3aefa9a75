#include "lang/lang_detect.h"

#include <zlib.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <system_error>

namespace vorn1 {

namespace {

uint32_t crc_of(const std::vector<uint8_t>& bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    const uint8_t* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {  // zlib takes 32-bit lengths
        uInt chunk = static_cast<uInt>(std::min<std::size_t>(left, 1u << 30));
        crc = crc32(crc, p, chunk);
        p += chunk;
        left -= chunk;
    }
    return static_cast<uint32_t>(crc);
}

struct CacheEntry {
    uintmax_t size = 0;
    std::filesystem::file_time_type mtime{};
    LangDetectResult result;
};

std::map<std::string, CacheEntry>& detect_cache() {
    static std::map<std::string, CacheEntry> cache;
    return cache;
}

}  // namespace

const std::vector<LangFingerprint>& lang_fingerprints() {
    // A French archive names its creature sets in French.
    static const std::vector<LangFingerprint> table = {
        {"PAYSAN.STD", false, 0, FR, std::nullopt},
    };
    return table;
}

LangDetectResult detect_language(const AggArchive& agg, const std::vector<LangFingerprint>& table) {
    LangDetectResult result;
    std::map<std::string, std::optional<uint32_t>> crcs;  // an entry read once per call
    for (const LangFingerprint& row : table) {
        if (!agg.has(row.entry)) continue;
        if (row.check_crc) {
            auto it = crcs.find(row.entry);
            if (it == crcs.end()) {
                std::vector<uint8_t> bytes = agg.get(row.entry);
                std::optional<uint32_t> crc;
                if (!bytes.empty()) crc = crc_of(bytes);
                it = crcs.emplace(row.entry, crc).first;
            }
            if (!it->second || *it->second != row.crc) continue;
        }
        result.language = row.language;
        result.palette_remap = row.palette_remap;
        std::cout << "LANG DETECT: " << lang_code(result.language) << " (" << row.entry << ")"
                  << (result.palette_remap ? ", palette remapped" : "") << "\n";
        return result;
    }
    std::cout << "LANG DETECT: EN (no fingerprint matched)\n";
    return result;
}

LangDetectResult detect_language(const AggArchive& agg) {
    const std::string& path = agg.path();
    if (path.empty()) return detect_language(agg, lang_fingerprints());

    std::error_code ec1, ec2;
    uintmax_t size = std::filesystem::file_size(path, ec1);
    auto mtime = std::filesystem::last_write_time(path, ec2);
    if (ec1 || ec2) return detect_language(agg, lang_fingerprints());

    auto& cache = detect_cache();
    if (auto it = cache.find(path); it != cache.end() && it->second.size == size && it->second.mtime == mtime)
        return it->second.result;
    LangDetectResult result = detect_language(agg, lang_fingerprints());
    cache[path] = CacheEntry{size, mtime, result};
    return result;
}

}  // namespace vorn1
