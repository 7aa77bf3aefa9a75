#include "town/build_screen.h"

#include <cstring>

#include "lang/runtime_strings.h"
#include "world/town_names.h"

namespace vorn1 {

const std::array<BuildSlot, 12> SLOT_ORDER = {
    BS_MAGE_GUILD,    BS_SHIPYARD, BS_DWELLING_1, BS_DWELLING_4, BS_THIEVES_GUILD, BS_WELL,
    BS_DWELLING_2,    BS_DWELLING_5, BS_TAVERN,   BS_DWELLING_0, BS_DWELLING_3,    BS_RECRUIT_HERO,
};

const std::array<CastleCostItem, 3> COSTS = {{{0, 20}, {2, 20}, {6, 5000}}};

namespace {

int span_index(int v, const int (&starts)[4], int len) {
    for (int i = 0; i < 4; ++i)
        if (v >= starts[i] && v <= starts[i] + len) return i;
    return -1;
}

}  // namespace

SDL_Point build_cell_origin(int cell) { return {8 + 163 * (cell % 4), 80 * (cell / 4)}; }

int build_screen_cell_hit(int x, int y) {
    static const int cols[4] = {8, 171, 334, 497};
    static const int rows[4] = {0, 80, 160, 100000};
    const int c = span_index(x, cols, 136);
    const int r = span_index(y, rows, 73);
    if (c < 0 || r < 0 || r > 2) return -1;
    return r * 4 + c;
}

const StructureDef* build_cell_def(BuildSlot slot, const CastleState& town) {
    if (slot == BS_MAGE_GUILD) {
        const uint16_t b = town.buildings;
        const int level = !(b & BLD_GUILD1) ? 1 : !(b & BLD_GUILD2) ? 2 : (b & BLD_GUILD3) ? 4 : 3;
        return mage_guild_def(level);
    }
    if (slot == BS_RECRUIT_HERO) return nullptr;
    return get_structure_def(slot, town.faction);
}

std::string build_hover_text(BuildSlot slot, const CastleState& town, BuildStatus status, bool hero_in_town,
                             bool has_max_heroes, bool cannot_afford_hero) {
    const StringTable& t = strings();
    if (slot == BS_RECRUIT_HERO) {
        if (has_max_heroes) return t.get("RECRUIT_HAVE_8_HEROES");
        if (hero_in_town) return t.get("RECRUIT_HAVE_HERO_IN_TOWN");
        if (cannot_afford_hero) return t.get("RECRUIT_CANNOT_AFFORD");
        return t.get("RECRUIT_NEW_HERO");
    }
    const StructureDef* def = build_cell_def(slot, town);
    if (!def) return "";
    const std::string name = localized_structure_name(def->name);
    switch (status) {
        case BUILD_OK: return t.format("BUILD_CAN_BUILD", {name});
        case BUILD_BUILT: return t.format("BUILD_ALREADY_BUILT", {name});
        case BUILD_NOT_ALLOWED: return t.format("BUILD_CANNOT_BUILD", {name});
        case BUILD_CANNOT_AFFORD: return t.format("BUILD_CANNOT_AFFORD", {name});
        default: return "";
    }
}

std::vector<std::string> build_requirement_names(const StructureDef& def, uint8_t faction) {
    std::vector<std::string> names;
    const uint16_t req = def.requires_bits;
    const std::pair<uint16_t, const char*> fixed[] = {
        {BLD_GUILD1, "Mage Guild, Level 1"}, {BLD_GUILD2, "Mage Guild, Level 2"}, {BLD_GUILD3, "Mage Guild, Level 3"},
        {BLD_GUILD4, "Mage Guild, Level 4"}, {BLD_THIEVES_GUILD, "Thieves' Guild"},  {BLD_TAVERN, "Tavern"},
        {BLD_SHIPYARD, "Shipyard"},          {BLD_WELL, "Well"},
    };
    for (const auto& [bit, name] : fixed)
        if (req & bit) names.emplace_back(name);
    const std::pair<uint16_t, BuildSlot> dwellings[] = {
        {BLD_DWELLING1, BS_DWELLING_1}, {BLD_DWELLING2, BS_DWELLING_2}, {BLD_DWELLING3, BS_DWELLING_3},
        {BLD_DWELLING4, BS_DWELLING_4}};
    for (const auto& [bit, slot] : dwellings) {
        if (!(req & bit)) continue;
        if (const StructureDef* d = get_structure_def(slot, faction)) names.emplace_back(d->name);
    }
    if (def.requires_first_dwelling) {
        static const char* const kFirst[4] = {"Thatched Hut", "Hut", "Treehouse", "Cave"};
        if (faction <= 3) names.emplace_back(kFirst[faction]);
    }
    return names;
}

std::string localized_structure_desc(const char* english_name, const char* english_description) {
    static const std::pair<const char*, const char*> kD[] = {
        {"Mage Guild, Level 1", "STRUCTDESC_MAGE"}, {"Mage Guild, Level 2", "STRUCTDESC_MAGE"},
        {"Mage Guild, Level 3", "STRUCTDESC_MAGE"}, {"Mage Guild, Level 4", "STRUCTDESC_MAGE"},
        {"Shipyard", "STRUCTDESC_SHIPYARD"},       {"Thieves' Guild", "STRUCTDESC_THIEVES"},
        {"Well", "STRUCTDESC_WELL"},               {"Tavern", "STRUCTDESC_TAVERN"},
    };
    if (english_name)
        for (const auto& [name, key] : kD)
            if (std::strcmp(name, english_name) == 0) return strings().get(key);
    return english_description ? english_description : "";
}

int build_cost_first_row(const std::vector<int>& widths) {
    auto row_width = [&](size_t from, size_t to) {
        int w = 0;
        for (size_t i = from; i < to; ++i) w += widths[i] + 12;
        return to > from ? w - 12 : 0;
    };
    const int n = static_cast<int>(widths.size());
    if (row_width(0, widths.size()) <= 290) return n;
    const int half = n / 2;
    if (row_width(0, static_cast<size_t>(half)) > 290) return n;
    return half;
}

}  // namespace vorn1
