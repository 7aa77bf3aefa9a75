#pragma once
// Scoring of won games, the two rank ladders, and the two high-score tables with their files.
// Pure rules over plain values: no renderer, no clock.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "world/new_game_config.h"

namespace vorn1 {

struct GameState;
struct SaveOutcome;

// ---- score rules

// The summary of a won standard scenario. Only days and difficulty_percent enter the score.
struct ScenarioResult {
    int32_t days = 0;                // (month - 1) * 28 + (week - 1) * 7 + day
    int32_t difficulty_percent = 0;  // the game's difficulty rating
    int32_t castles_owned = 0;       // live towns and castles of the winner
    bool all_opponents_defeated = false;
    bool holds_ultimate_artifact = false;
    GameDifficulty difficulty = DIFF_EASY;
};

struct RankRow {
    int32_t threshold;  // standard: lowest score of the row; campaign: most days of the row
    const char* title;  // English creature name
    uint8_t creature_id;
};

// 28 rows each; the standard ladder by falling threshold, the campaign ladder by rising one.
// Both end in a catch-all row.
extern const std::array<RankRow, 28> k_standard_ladder;
extern const std::array<RankRow, 28> k_campaign_ladder;

// Days played by a date whose counters all start at 1 (the first day counts as 1); clamped to
// the 32-bit range for counters a damaged state could hold.
int32_t days_played(int32_t day, int32_t week, int32_t month);

// The winning seat's summary; a negative seat counts as seat 0.
ScenarioResult make_scenario_result(const GameState& state, int player, GameDifficulty difficulty,
                                    int difficulty_percent);

// The name offered after a win: the first live hero of seat 0 that has a name, else "Player".
std::string high_score_default_name(const GameState& state);

// Base points for a number of days: 200 at 0 days or fewer, falling to 20 from 593 days on.
int scenario_points(int days);
// floor(points x rating / 100) (unscaled for a rating of 0 or below), clamped to 1..65535.
uint16_t compute_standard_score(const ScenarioResult& r);
// The campaign's total of days clamped to 0..65535 (lower is better).
uint16_t compute_campaign_score(int total_days);

const char* standard_rank_title(unsigned short score);
int standard_rank_creature_id(unsigned short score);
const char* campaign_rank_title(int days);
int campaign_rank_creature_id(int days);

// A ladder title in the current language; a title of no ladder row comes back as it is, a null
// title as "".
std::string rank_name_loc(const char* title);

// ---- high-score tables

struct HighScoreEntry {
    std::string name;   // at most 16 bytes survive a save
    std::string label;  // scenario name or campaign lord; at most 14 bytes survive a save
    uint16_t score = 0; // standard: score (higher first); campaign: days (lower first)
    bool operator==(const HighScoreEntry&) const = default;
};

enum class HighScoreTable : int32_t { Standard = 0, Campaign = 1 };

constexpr int kHighScoreRows = 10;
constexpr std::size_t kHighScoreRecordBytes = 87;
constexpr std::size_t kHighScoreFileBytes = kHighScoreRows * kHighScoreRecordBytes;  // 870

std::vector<HighScoreEntry> default_standard_high_scores();
std::vector<HighScoreEntry> default_campaign_high_scores();
std::vector<HighScoreEntry> default_high_scores(HighScoreTable table);

// Stable sort in table order: equal scores keep their order.
void sort_high_scores(std::vector<HighScoreEntry>& rows, HighScoreTable table);

// folder + "/" (unless the folder is empty or ends in "/" or "\") + "STANDARD.HS" / "CAMPAIGN.HS".
std::string high_score_path(const std::string& folder, HighScoreTable table);

// The 870-byte file image of a list: sorted, padded with empty rows or cut to ten.
std::vector<uint8_t> high_score_image(std::vector<HighScoreEntry> rows, HighScoreTable table);
// Ten rows in table order from the first 870 bytes of an image; the defaults when shorter.
std::vector<HighScoreEntry> parse_high_score_image(const uint8_t* data, std::size_t size, HighScoreTable table);

// Always ten rows; a missing, unreadable or short file gives the default table. Only the first
// 870 bytes are read.
std::vector<HighScoreEntry> load_high_scores(const std::string& path, HighScoreTable table);
// Writes the first ten rows in table order through a temporary file and a rename, so a failed
// write leaves the old file whole. True when the new file is in place; `outcome` (when given) tells
// why not, and which file the reason belongs to.
bool save_high_scores(const std::string& path, std::vector<HighScoreEntry> rows, HighScoreTable table,
                      SaveOutcome* outcome = nullptr);

// Adds the row and sorts (a tie lands behind the rows already there); the new row's place 0..9,
// or -1 beyond the tenth. The list is not shortened.
int insert_high_score(std::vector<HighScoreEntry>& rows, const HighScoreEntry& entry, HighScoreTable table);

// Whether a result would enter the stored table of the folder: strictly better than the tenth.
bool score_qualifies_for_table(const std::string& folder, HighScoreTable table, unsigned short score);

// Enters the row in the folder's table and writes the table back. The row's place 0..9, or -1 when
// it fell outside the ten or the table could not be written (`outcome`, when given, tells why; the
// console is told the file and the reason).
int enter_high_score(const std::string& folder, HighScoreTable table, const HighScoreEntry& entry,
                     SaveOutcome* outcome = nullptr);

// A won campaign's row when the window was closed before its name was asked (on the closing films
// or the congratulations): entered under the default name when its days make the ten, as a name
// entry closed by the window keeps that name. The row's place 0..9, or -1.
int keep_campaign_result(const std::string& folder, int total_days, const std::string& default_name,
                         const std::string& lord_name);

}  // namespace vorn1
