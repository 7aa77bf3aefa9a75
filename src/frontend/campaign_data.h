#pragma once
// What the front end knows about the two campaigns: scenario tables, the map sequences a lord or
// the spirit world plays, and the steps from one scenario to the next. No renderer needed.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "world/new_game_config.h"

namespace vorn1 {

enum CampaignLord : int32_t { LORD_0 = 0, LORD_1 = 1, LORD_2 = 2, LORD_3 = 3 };

// {lord, faction, excluded scenario} by lord.
inline constexpr std::array<std::array<int32_t, 3>, 4> k_lord_traits{{{0, 0, 5}, {1, 1, 6}, {2, 3, 7}, {3, 2, 8}}};
// Faction of the spirit world's lord 0..3.
inline constexpr std::array<uint8_t, 4> kFactionColor{0, 1, 3, 2};

struct ScenarioText {
    const char* title;
    const char* intro;
};
// The nine scenarios of the original campaign; scenario n is row n - 1.
extern const std::array<ScenarioText, 9> k_scenario_data;
// Congratulation texts of the original campaign, row n - 1 for scenario n.
extern const std::array<const char*, 9> k_campaign_victory_text;

struct SpiritScenario {
    const char* title_key;
    const char* title;
    const char* intro_key;
    const char* intro;
    const char* victory_key;
    const char* victory;
    const char* map_file;
};
extern const std::array<SpiritScenario, 4> k_spirit_data;

struct CampaignScenarioInfo {
    std::string title;
    std::string intro;
};

// base + "maps/CAMPn.CMP" for n = 1..9 without the lord's excluded scenario; a lord outside 0..3
// plays lord 0's list.
std::vector<std::string> build_campaign_sequence(const std::string& base, int lord);
std::vector<std::string> build_spirit_sequence(const std::string& base);
// Translated title and introduction; an index out of range gives the campaign's first row.
CampaignScenarioInfo get_campaign_scenario_info(int index, CampaignId campaign);
// The spirit row whose map file ends the path (case-sensitive), else -1.
int spirit_index_from_path(const std::string& path);
// The decimal number after the last "CAMP" of the path; `fallback` when there is none or it does
// not fit 32 bits.
int campaign_number_from_path(const std::string& path, int fallback);
// The scenario row shown for a scenario number: number - 1 for 1..9, else 0.
int campaign_row_of_number(int number);
// Row of k_spirit_data for a congratulation index: clamped to 0..3.
int spirit_congrats_row(int index);
// Row of k_campaign_victory_text for a congratulation scenario number.
int campaign_congrats_row(int scenario);

// The campaign fields of a new game of the original campaign with lord 0..3.
NewGameConfig original_campaign_config(const std::string& base, int lord);
// The same for the spirit world with its drawn lord r (0..3).
NewGameConfig spirit_campaign_config(const std::string& base, int r);
// The spirit world's lord for a start: mt19937 seeded with the tick count, first output AND 3.
int draw_spirit_lord(uint32_t tick_ms);

// The next scenario of a won campaign game: what scenario the victory page speaks of, whether
// there is a next one and which number or row it announces.
struct CampaignStep {
    int won_row = 0;       // victory text row
    bool has_next = false;
    int next_index = 0;    // config scenario index of the next game
    std::string next_path;
    int announce = 0;      // spirit row 0..3, or original scenario number 1..9
};
CampaignStep next_campaign_step(const NewGameConfig& config);
// The config of the next game (quit cleared, index and path advanced), or a default one with quit
// set when there is no next scenario.
NewGameConfig advance_campaign(const NewGameConfig& config, const CampaignStep& step);

}  // namespace vorn1
