#include "datakit/kit_lang.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "lang/language.h"
#include "lang/runtime_strings.h"

#ifndef VORN1_FONT_DIR
#define VORN1_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace vorn1::kit {

namespace {

// English creature names by id: singular, plural.
const char* const kCreatureNames[28][2] = {
    {"Peasant", "Peasants"},   {"Archer", "Archers"},       {"Pikeman", "Pikemen"},
    {"Swordsman", "Swordsmen"}, {"Cavalry", "Cavalry"},     {"Paladin", "Paladins"},
    {"Goblin", "Goblins"},     {"Orc", "Orcs"},             {"Wolf", "Wolves"},
    {"Ogre", "Ogres"},         {"Troll", "Trolls"},         {"Cyclops", "Cyclopes"},
    {"Sprite", "Sprites"},     {"Dwarf", "Dwarves"},        {"Elf", "Elves"},
    {"Druid", "Druids"},       {"Unicorn", "Unicorns"},     {"Phoenix", "Phoenixes"},
    {"Centaur", "Centaurs"},   {"Gargoyle", "Gargoyles"},   {"Griffin", "Griffins"},
    {"Minotaur", "Minotaurs"}, {"Hydra", "Hydras"},         {"Dragon", "Dragons"},
    {"Rogue", "Rogues"},       {"Nomad", "Nomads"},         {"Ghost", "Ghosts"},
    {"Genie", "Genies"}};

// English artifact names by id 0..36; id 37, the Magic Book, has a key of its own.
const char* const kArtifactNames[37] = {
    "Ultimate Book of Knowledge", "Ultimate Sword of Dominion", "Ultimate Cloak of Protection",
    "Ultimate Wand of Magic", "Arcane Necklace of Magic", "Caster's Bracelet of Magic", "Mage's Ring of Power",
    "Witch's Broach of Magic", "Medal of Valor", "Medal of Courage", "Medal of Honor", "Medal of Distinction",
    "Zizezo of Misfortune", "Thunder Mace of Dominion", "Armored Gauntlets of Protection",
    "Defender Helm of Protection", "Giant Flail of Dominion", "Ballista of Quickness",
    "Stealth Shield of Protection", "Dragon Sword of Dominion", "Power Axe of Dominion",
    "Divine Breastplate of Protection", "Minor Scroll of Knowledge", "Major Scroll of Knowledge",
    "Superior Scroll of Knowledge", "Foremost Scroll of Knowledge", "Endless Sack of Gold",
    "Endless Bag of Gold", "Endless Purse of Gold", "Nomad Boots of Mobility", "Traveler's Boots of Mobility",
    "Lucky Rabbit's Foot", "Golden Horseshoe", "Gambler's Lucky Coin", "Four-Leaf Clover",
    "True Compass of Mobility", "Sailor's Astrolabe of Mobility"};

StringMap base_strings() {
    StringMap m;
    for (int id = 0; id < 37; ++id) {
        char key[32];
        std::snprintf(key, sizeof key, "ARTIFACTNAME_%02d", id);
        m[key] = kArtifactNames[id];
    }
    m["ARTIFACT_SPELLBOOK_TITLE"] = "Magic Book";
    for (std::size_t id = 0; id < kCreatureKeyStem.size(); ++id) {
        const std::string key = std::string("CREATURE_") + kCreatureKeyStem[id];
        m[key + "_SG"] = kCreatureNames[id][0];
        m[key + "_PLURAL"] = kCreatureNames[id][1];
        m[key + "_GEN"] = kCreatureNames[id][1];
        m[key + "_ACC"] = kCreatureNames[id][1];
    }
    return m;
}

StringMap& table() {
    static StringMap m = base_strings();
    return m;
}

bool write_text(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(out);
}

// The system's fonts (Debian package fonts-dejavu-core) under the names the game opens.
const std::pair<const char*, const char*> kFonts[] = {{"DejaVuSans-Bold.ttf", "font_en.ttf"},
                                                      {"DejaVuSans.ttf", "font_small_en.ttf"}};

bool copy_font(const char* src, const std::filesystem::path& to, std::filesystem::copy_options how) {
    const std::filesystem::path from = std::filesystem::path(VORN1_FONT_DIR) / src;
    std::error_code ec;
    std::filesystem::copy_file(from, to, how, ec);
    if (ec) std::cerr << "make_demo_data: font " << from.string() << " not copied: " << ec.message() << "\n";
    return !ec;
}

}  // namespace

const StringMap& english_strings() { return table(); }

void add_english_strings(const StringMap& more) {
    for (const auto& [k, v] : more) table()[k] = v;
}

std::string catalogue_json(const StringMap& texts) {
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    for (const auto& [k, v] : texts) j[k] = v;
    return j.dump(2) + "\n";
}

bool write_lang_folder(const std::string& out_dir) {
    namespace fs = std::filesystem;
    const fs::path lang = fs::path(out_dir) / "LANG";
    std::error_code ec;
    fs::create_directories(lang, ec);
    if (ec) return false;
    if (!write_text(lang / "strings_en.json", catalogue_json(english_strings()))) return false;
    for (const auto& [src, dst] : kFonts) copy_font(src, lang / dst, fs::copy_options::overwrite_existing);
    return true;
}

LangFill fill_lang_folder(const std::string& data_dir) {
    namespace fs = std::filesystem;
    LangFill fill;
    fill.folder = resolve_ci(data_dir + "/LANG");
    std::error_code ec;
    fs::create_directories(fill.folder, ec);
    if (ec) {
        fill.ok = false;
        return fill;
    }
    auto missing = [&](const std::string& name) { return !fs::exists(resolve_ci(fill.folder + "/" + name), ec); };
    if (missing("strings_en.json")) {
        if (write_text(fs::path(fill.folder) / "strings_en.json", catalogue_json(english_strings())))
            fill.written.push_back("strings_en.json");
        else
            fill.ok = false;
    }
    for (const auto& [src, dst] : kFonts) {
        if (!missing(dst)) continue;
        if (copy_font(src, fs::path(fill.folder) / dst, fs::copy_options::none)) fill.written.push_back(dst);
        else fill.ok = false;
    }
    return fill;
}

void write_lang_seeds(const std::string& out_dir) {
    const std::pair<const char*, std::string> seeds[] = {
        {"english.json", catalogue_json(english_strings())},
        {"placeholders.json", R"({"A":"{0} and {1}","B":"{12345678901234}{","C":"\u00e9\ud83d\ude00"})"},
        {"nested.json", R"({"A":{"B":["x",1,null]},"C":"text","D":true,"E":1.5})"},
        {"not_object.json", R"(["A","B"])"},
        {"truncated.json", R"({"A":"text","B":"unfinish)"},
        {"empty.json", ""},
    };
    for (const auto& [name, text] : seeds) write_seed(out_dir, "catalogue", name, Bytes(text.begin(), text.end()));

    const std::pair<const char*, std::string> specs[] = {
        {"spec.xml", "<?xml version=\"1.0\"?>\n<icn>\n  <frame index=\"0\" x=\"-3\" y=\"5\"/>\n"
                     "  <frame y='7' index='2'/>\n</icn>\n"},
        {"odd.xml", "<frame index=\"4096\" x=\"99999\"/><frameset index=\"1\"/><frame index=\"3\" x=\"1"},
        {"name.txt", "frame_0012.PNG"},
    };
    for (const auto& [name, text] : specs) write_seed(out_dir, "override_spec", name, Bytes(text.begin(), text.end()));
}

}  // namespace vorn1::kit
