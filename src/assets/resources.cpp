#include "assets/resources.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <exception>

#include "assets/agg.h"
#include "assets/icn.h"
#include "lang/lang_icn_override.h"

namespace vorn1 {

namespace {

struct SetSlot {
    const char* name;
    int min_frames;
    IcnTextures Resources::*member;
};

constexpr SetSlot kSharedSets[] = {
    {"SYSTEM.ICN", 13, &Resources::system_btn},  {"BUYBUILD.ICN", 4, &Resources::buybuild},
    {"MONS32.ICN", 28, &Resources::mons32},      {"MONSTERS.ICN", 28, &Resources::monsters},
    {"STRIP.ICN", 9, &Resources::strip},         {"ARTIFACT.ICN", 38, &Resources::artifact},
    {"RESOURCE.ICN", 8, &Resources::resource},   {"SPELLS.ICN", 29, &Resources::spells},
    {"BOOK.ICN", 6, &Resources::book},           {"TOWNWIND.ICN", 22, &Resources::townwind},
    {"LEGEND.ICN", 2, &Resources::legend},       {"RSRC32.ICN", 68, &Resources::rsrc32},
    {"FLAG32.ICN", 7, &Resources::flag32},       {"BOAT32.ICN", 27, &Resources::boat32},
    {"OBJ32-07.ICN", 1, &Resources::obj32_07},   {"CAMPAIGN.ICN", 14, &Resources::campaign},
};

constexpr const char* kBorderEntry = "ADVBORD.ICN";
constexpr const char* kSecondCrestEntry = "CRST0020.ICN";
constexpr int kMixChannels = 29;

std::string numbered(const char* stem, int n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%04d.ICN", stem, n);
    return buf;
}

// Used only when the archive has no palette: a grey ramp keeps pictures recognisable.
Palette fallback_palette() {
    Palette p{};
    for (int i = 0; i < 256; ++i) p[i] = Color{uint8_t(i), uint8_t(i), uint8_t(i)};
    return p;
}

}  // namespace

const std::vector<ResourceEntry>& resource_entries() {
    static const std::vector<ResourceEntry> entries = [] {
        std::vector<ResourceEntry> v;
        v.push_back({Resources::kPaletteEntry, 0});
        for (const SetSlot& s : kSharedSets) v.push_back({s.name, s.min_frames});
        for (int i = 0; i < 36; ++i) v.push_back({numbered("PORT", i), 1});
        for (int i = 0; i < 20; ++i) v.push_back({numbered("CRST", i), 1});
        v.push_back({kSecondCrestEntry, 1});
        v.push_back({kBorderEntry, 1});
        v.push_back({CursorManager::kEntry, 1});
        return v;
    }();
    return entries;
}

Resources::Resources(SDL_Renderer* r, std::unique_ptr<AggArchive> a) : renderer(r), archive(std::move(a)) {
    language = g_language;
    if (Mix_QuerySpec(nullptr, nullptr, nullptr)) Mix_AllocateChannels(kMixChannels);
    load_all();
}

Resources::~Resources() { free_all(); }

void Resources::warn_missing(const std::string& name) {
    ++warnings;
    std::fprintf(stderr, "  WARNING: %s missing\n", name.c_str());
}

void Resources::warn_corrupt(const std::string& name, const std::string& why) {
    ++warnings;
    std::fprintf(stderr, "  WARN %s: %s\n", name.c_str(), why.c_str());
}

void Resources::load_set(const char* name, IcnTextures& out) {
    const IcnLoadResult r = load_icn_textures(renderer, *archive, palette, name, true, out);
    if (r.status == IcnLoad::Missing) warn_missing(name);
    else if (r.status == IcnLoad::Corrupt) warn_corrupt(name, r.error);
}

SDL_Texture* Resources::load_frame0(const std::string& name) {
    IcnTextures set;
    load_set(name.c_str(), set);
    SDL_Texture* tex = nullptr;
    if (set.count() > 0) std::swap(tex, set.frames[0]);
    destroy_textures(set);
    return tex;
}

void Resources::load_all() {
    if (!archive) {
        palette = fallback_palette();
        return;
    }
    const std::vector<uint8_t> pal_bytes = archive->get(kPaletteEntry);
    try {
        if (pal_bytes.empty()) {
            warn_missing(kPaletteEntry);
            palette = fallback_palette();
        } else {
            palette = load_palette(pal_bytes);
            palette_loaded = true;
        }
    } catch (const std::exception& e) {
        warn_corrupt(kPaletteEntry, e.what());
        palette = fallback_palette();
    }

    for (const SetSlot& s : kSharedSets) load_set(s.name, this->*s.member);
    for (int i = 0; i < 36; ++i) portraits[i] = load_frame0(numbered("PORT", i));
    for (int i = 0; i < 16; ++i) crests[i] = load_frame0(numbered("CRST", i));
    for (int i = 0; i < 4; ++i) colour_crests[i] = load_frame0(numbered("CRST", 16 + i));
    second_crest = load_frame0(kSecondCrestEntry);
    adv_border = load_frame0(kBorderEntry);

    if (language != EN) apply_language(lang_assets_root());

    std::string err;
    if (!cursors.load_frames(*archive, palette, &err)) {
        if (err.empty()) warn_missing(CursorManager::kEntry);
        else warn_corrupt(CursorManager::kEntry, err);
    }
}

void Resources::reload_language(Language lang) { reload_language(lang, lang_assets_root()); }

void Resources::reload_language(Language lang, const std::string& lang_root) {
    g_language = lang;
    language = lang;
    apply_language(lang_root);
}

// Shared sets take the language's replacement frames; sets replaced for an earlier language are
// first read again from the archive so no foreign frame stays behind.
void Resources::apply_language(const std::string& lang_root) {
    if (!archive) return;
    const std::string code = lang_code(language);
    std::vector<std::string> now;
    for (const SetSlot& s : kSharedSets) {
        const std::string name = s.name;
        const std::string stem = name.substr(0, name.rfind('.'));
        const std::map<int, Image> frames = load_lang_icn_override(lang_root, code, stem);
        const bool was = std::find(overridden.begin(), overridden.end(), name) != overridden.end();
        if (frames.empty() && !was) continue;
        IcnTextures& set = this->*s.member;
        if (was) load_icn_textures(renderer, *archive, palette, name, true, set);
        if (frames.empty()) continue;
        apply_icn_override(renderer, frames, set);
        now.push_back(name);
    }
    overridden = std::move(now);
}

void Resources::free_all() {
    for (const SetSlot& s : kSharedSets) destroy_textures(this->*s.member);
    auto drop = [](SDL_Texture*& t) {
        if (t) SDL_DestroyTexture(t);
        t = nullptr;
    };
    for (SDL_Texture*& t : portraits) drop(t);
    for (SDL_Texture*& t : crests) drop(t);
    for (SDL_Texture*& t : colour_crests) drop(t);
    drop(second_crest);
    drop(adv_border);
    cursors.free_cursors();
}

}  // namespace vorn1
