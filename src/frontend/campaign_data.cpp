#include "frontend/campaign_data.h"

#include <algorithm>
#include <random>

#include "frontend/localized_texts.h"

namespace vorn1 {

const std::array<ScenarioText, 9> k_scenario_data{{
    {"Gateway",
     "You have established a foothold in the new land. Three factions contest this small island, and "
     "whoever holds the town of Gateway holds the only safe harbour. Take the town and hold it."},
    {"The Archipelago",
     "Your way to the mainland is blocked by the Archipelago of the Ancients. Four islands, each held by a "
     "lord of its own, stand between you and the coast. Build ships and defeat every lord of the isles."},
    {"The Wounded Land",
     "Chaos. The land is sick and its people flee. Somewhere beneath it lies the Eye of Goros, an artifact "
     "that can heal the land. Gather the obelisks' clues and dig it up before your rivals do."},
    {"Free-for-All",
     "With the founding of a homeland, the other lords now take you seriously. The central continent is "
     "open to whoever can take it. Defeat every rival who stands on it."},
    {"Castle Varkhelm",
     "The land of the Knights, led by Lord Varkhelm, is divided by the Floodwater River. Cross it, take "
     "Castle Varkhelm and the Knights will trouble you no more."},
    {"Castle Brudek",
     "Far to the north, beyond the Trackless Desert, lies the Frozen Wastes. The barbarians' homeland "
     "hides behind a single mountain pass. Force the pass and take Castle Brudek."},
    {"Castle Selvina",
     "Warned of your approach, the sorceress Queen Selvina has sealed her land. A sunken port and a "
     "teleport gate are the only ways in. Find one and take Castle Selvina."},
    {"Castle Oskarn",
     "The warlocks' castle lies shrouded in the smokey volcanic rift. The only way through is the "
     "Minotaur Maze. Find your way through it and take Castle Oskarn."},
    {"King-of-the-Hill",
     "Final victory lies within your grasp. The defeated lords have banded together for one last stand, "
     "and the dragons of the hills will side with the strongest. Take every town and end the war."},
}};

const std::array<const char*, 9> k_campaign_victory_text{{
    "Gateway has fallen!  The other lords have heard of your victory and will not underestimate you again. "
    "The island is yours, and from its harbour your ships can reach the islands beyond.",
    "The Archipelago is yours. Its four lords are beaten and the way to the mainland lies open.",
    "The Eye of Goros is in your hands and the wounded land begins to heal. Its people will remember who "
    "brought the rains back.",
    "With your victory on the central continent, you have become the lord the others fear most. Only "
    "their own homelands remain to them.",
    "Castle Varkhelm has fallen and the Knights lay down their arms. The Floodwater River is yours.",
    "Castle Brudek has fallen. The barbarians of the Frozen Wastes will follow a leader who beat them.",
    "Castle Selvina has fallen. The sorceress queen has fled and her land opens its gates to you.",
    "Castle Oskarn has fallen. The warlocks' rift is quiet at last.",
    "The last alliance is broken and every town flies your flag. The war is over: the land is yours.",
}};

const std::array<SpiritScenario, 4> k_spirit_data{{
    {"SPIRIT_S1_TITLE", "The Green Lands", "SPIRIT_S1_INTRO",
     "For many years, the lands have been peaceful. Now the dead walk out of the graveyards at night. "
     "Clear the graveyards and find where the spirits come from.",
     "SPIRIT_S1_VICTORY",
     "The graveyards have been cleared, but the spirits have not been defeated. Their trail leads north.",
     "CMPG1.CMP"},
    {"SPIRIT_S2_TITLE", "The Frozen Dead", "SPIRIT_S2_INTRO",
     "The spirits have overrun the frozen lands. Its people hide in their towns. Drive the spirits from "
     "the coast.",
     "SPIRIT_S2_VICTORY",
     "The spirits have been driven from the frozen coast, and they flee south into the desert.",
     "CMPF2.CMP"},
    {"SPIRIT_S3_TITLE", "The Pyramid King", "SPIRIT_S3_INTRO",
     "This land was not always a desert. A king buried here long ago has woken and leads the spirits. "
     "Break his power.",
     "SPIRIT_S3_VICTORY",
     "The Pyramid King's power is broken. Behind his throne stands a gate to another world.", "CMPP3.CMP"},
    {"SPIRIT_S4_TITLE", "The Spirit World", "SPIRIT_S4_INTRO",
     "Beyond the gate lies a world unlike any you have known. Close the gate from this side and the "
     "spirits will never return.",
     "SPIRIT_S4_VICTORY",
     "The power of the Spirit World has been broken. The gate is closed and the living lands are safe.",
     "CMPS4.CMP"},
}};

std::vector<std::string> build_campaign_sequence(const std::string& base, int lord) {
    const int excluded = k_lord_traits[lord >= 0 && lord <= 3 ? lord : 0][2];
    std::vector<std::string> out;
    for (int n = 1; n <= 9; ++n)
        if (n != excluded) out.push_back(base + "maps/CAMP" + std::to_string(n) + ".CMP");
    return out;
}

std::vector<std::string> build_spirit_sequence(const std::string& base) {
    std::vector<std::string> out;
    for (const SpiritScenario& s : k_spirit_data) out.push_back(base + "maps/" + s.map_file);
    return out;
}

CampaignScenarioInfo get_campaign_scenario_info(int index, CampaignId campaign) {
    if (campaign == CAMPAIGN_SPIRIT_WORLD) {
        const SpiritScenario& s = k_spirit_data[index >= 0 && index <= 3 ? index : 0];
        return {spirit_tr(s.title_key, s.title), spirit_tr(s.intro_key, s.intro)};
    }
    const ScenarioText& s = k_scenario_data[index >= 0 && index <= 8 ? index : 0];
    return {localized_scenario_title(s.title), localized_scenario_desc(s.intro)};
}

int spirit_index_from_path(const std::string& path) {
    for (int i = 0; i < 4; ++i) {
        const std::string file = k_spirit_data[i].map_file;
        if (path.size() >= file.size() && path.compare(path.size() - file.size(), file.size(), file) == 0) return i;
    }
    return -1;
}

int campaign_number_from_path(const std::string& path, int fallback) {
    const std::size_t at = path.rfind("CAMP");
    if (at == std::string::npos) return fallback;
    std::size_t i = at + 4;
    bool negative = false;
    if (i < path.size() && (path[i] == '+' || path[i] == '-')) negative = path[i++] == '-';
    int64_t value = 0;
    std::size_t digits = 0;
    for (; i < path.size() && path[i] >= '0' && path[i] <= '9'; ++i, ++digits) {
        value = value * 10 + (path[i] - '0');
        if (value > 2147483648LL) return fallback;
    }
    if (digits == 0) return fallback;
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return fallback;
    return static_cast<int>(value);
}

int campaign_row_of_number(int number) { return number >= 1 && number <= 9 ? number - 1 : 0; }

int spirit_congrats_row(int index) { return std::clamp(index, 0, 3); }

int campaign_congrats_row(int scenario) { return scenario > 0 ? std::min(scenario, 9) - 1 : 0; }

NewGameConfig original_campaign_config(const std::string& base, int lord) {
    const int row = lord >= 0 && lord <= 3 ? lord : 0;
    NewGameConfig c;
    c.mode = MODE_CAMPAIGN;
    c.campaign_id = CAMPAIGN_ORIGINAL;
    c.campaign_lord = row;
    c.lord_number = k_lord_traits[row][0];
    c.lord_faction = static_cast<uint8_t>(k_lord_traits[row][1]);
    c.color = c.lord_faction;
    c.scenario_index = 0;
    c.campaign_maps = build_campaign_sequence(base, row);
    if (!c.campaign_maps.empty()) c.campaign_map_path = c.campaign_maps.front();
    return c;
}

NewGameConfig spirit_campaign_config(const std::string& base, int r) {
    r &= 3;
    NewGameConfig c;
    c.mode = MODE_CAMPAIGN;
    c.campaign_id = CAMPAIGN_SPIRIT_WORLD;
    c.campaign_lord = r;
    c.lord_number = r;
    c.lord_faction = kFactionColor[r];
    c.color = c.lord_faction;
    c.scenario_index = 0;
    c.campaign_maps = build_spirit_sequence(base);
    if (!c.campaign_maps.empty()) c.campaign_map_path = c.campaign_maps.front();
    return c;
}

int draw_spirit_lord(uint32_t tick_ms) {
    std::mt19937 gen(tick_ms);
    return static_cast<int>(gen() & 3u);
}

CampaignStep next_campaign_step(const NewGameConfig& config) {
    CampaignStep step;
    const int next = config.scenario_index + 1;
    step.next_index = next;
    step.has_next = next >= 0 && next < static_cast<int>(config.campaign_maps.size());
    if (step.has_next) step.next_path = config.campaign_maps[next];
    if (config.campaign_id == CAMPAIGN_SPIRIT_WORLD) {
        int won = spirit_index_from_path(config.campaign_map_path);
        if (won < 0) won = config.scenario_index;
        step.won_row = spirit_congrats_row(won);
        if (step.has_next) {
            const int idx = spirit_index_from_path(step.next_path);
            step.announce = idx >= 0 ? idx : next;
        }
    } else {
        const int won = campaign_number_from_path(config.campaign_map_path, config.scenario_index + 1);
        step.won_row = campaign_congrats_row(won);
        if (step.has_next)
            step.announce = std::clamp(campaign_number_from_path(step.next_path, config.scenario_index + 2), 1, 9);
    }
    return step;
}

NewGameConfig advance_campaign(const NewGameConfig& config, const CampaignStep& step) {
    if (!step.has_next) {
        NewGameConfig done;
        done.quit = true;
        return done;
    }
    NewGameConfig next = config;
    next.quit = false;
    next.scenario_index = step.next_index;
    next.campaign_map_path = step.next_path;
    return next;
}

}  // namespace vorn1
