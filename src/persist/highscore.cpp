#include "persist/highscore.h"

#include <SDL_log.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <utility>

#include "lang/runtime_strings.h"
#include "persist/save_file.h"
#include "world/game_state.h"
#include "world/new_day.h"

namespace vorn1 {

// ---- score rules

const std::array<RankRow, 28> k_standard_ladder = {{
    {189, "Dragon", 23},   {182, "Phoenix", 17},  {175, "Cyclops", 11},   {168, "Genie", 27},
    {161, "Paladin", 5},   {154, "Hydra", 22},    {147, "Troll", 10},     {140, "Unicorn", 16},
    {133, "Ghost", 26},    {126, "Cavalry", 4},   {119, "Minotaur", 21},  {112, "Druid", 15},
    {105, "Ogre", 9},      {98, "Swordsman", 3},  {91, "Griffin", 20},    {84, "Elf", 14},
    {77, "Nomad", 25},     {70, "Wolf", 8},       {63, "Pikeman", 2},     {56, "Dwarf", 13},
    {49, "Gargoyle", 19},  {42, "Archer", 1},     {35, "Orc", 7},         {28, "Rogue", 24},
    {21, "Centaur", 18},   {14, "Sprite", 12},    {7, "Goblin", 6},       {0, "Peasant", 0},
}};

const std::array<RankRow, 28> k_campaign_ladder = {{
    {300, "Dragon", 23},    {350, "Phoenix", 17},   {400, "Cyclops", 11},   {450, "Genie", 27},
    {500, "Paladin", 5},    {550, "Hydra", 22},     {600, "Troll", 10},     {650, "Unicorn", 16},
    {700, "Ghost", 26},     {750, "Cavalry", 4},    {800, "Minotaur", 21},  {900, "Druid", 15},
    {1000, "Ogre", 9},      {1100, "Swordsman", 3}, {1200, "Griffin", 20},  {1300, "Elf", 14},
    {1400, "Nomad", 25},    {1500, "Wolf", 8},      {1600, "Pikeman", 2},   {1800, "Dwarf", 13},
    {2000, "Gargoyle", 19}, {2200, "Archer", 1},    {2400, "Orc", 7},       {2600, "Rogue", 24},
    {3000, "Centaur", 18},  {3200, "Sprite", 12},   {3400, "Goblin", 6},
    {std::numeric_limits<int32_t>::max(), "Peasant", 0},
}};

int32_t days_played(int32_t day, int32_t week, int32_t month) {
    return calendar_day_count(day, week, month);
}

ScenarioResult make_scenario_result(const GameState& state, int player, GameDifficulty difficulty,
                                    int difficulty_percent) {
    if (player < 0) player = 0;
    ScenarioResult r;
    r.days = days_played(state.day, state.week, state.month);
    r.difficulty_percent = difficulty_percent;
    r.difficulty = difficulty;

    bool opponent_left = false;
    for (const CastleState& c : state.castles) {
        if (!c.live) continue;
        if (c.owner == player) ++r.castles_owned;
        else if (state.seat_active(c.owner)) opponent_left = true;
    }
    for (const HeroState& h : state.heroes) {
        if (!h.live) continue;
        if (h.owner == player) {
            for (uint8_t a : h.artifacts)
                if (a <= 3) r.holds_ultimate_artifact = true;
        } else if (state.seat_active(h.owner)) {
            opponent_left = true;
        }
    }
    r.all_opponents_defeated = !opponent_left;
    return r;
}

std::string high_score_default_name(const GameState& state) {
    for (const HeroState& h : state.heroes)
        if (h.live && h.owner == 0 && !h.name.empty()) return h.name;
    return "Player";
}

int scenario_points(int days) {
    if (days <= 0) return 200;
    if (days <= 60) return 200 - days;
    if (days <= 120) return static_cast<int>(std::floor(170.0 - days * 0.5));
    if (days <= 360) return static_cast<int>(std::floor(140.0 - days * 0.25));
    if (days <= 592) return static_cast<int>(std::floor(95.0 - days * 0.125));
    return 20;
}

uint16_t compute_standard_score(const ScenarioResult& r) {
    const int base = scenario_points(r.days);
    double x = base;
    if (r.difficulty_percent > 0) x = base * (r.difficulty_percent / 100.0);
    return static_cast<uint16_t>(std::clamp(std::floor(x), 1.0, 65535.0));
}

uint16_t compute_campaign_score(int total_days) { return static_cast<uint16_t>(std::clamp(total_days, 0, 65535)); }

namespace {

const RankRow& standard_row(unsigned short score) {
    for (const RankRow& row : k_standard_ladder)
        if (row.threshold <= score) return row;
    return k_standard_ladder.back();
}

const RankRow& campaign_row(int days) {
    for (const RankRow& row : k_campaign_ladder)
        if (row.threshold >= days) return row;
    return k_campaign_ladder.back();
}

}  // namespace

const char* standard_rank_title(unsigned short score) { return standard_row(score).title; }
int standard_rank_creature_id(unsigned short score) { return standard_row(score).creature_id; }
const char* campaign_rank_title(int days) { return campaign_row(days).title; }
int campaign_rank_creature_id(int days) { return campaign_row(days).creature_id; }

std::string rank_name_loc(const char* title) {
    if (!title) return {};
    // Every ladder title is a creature's English name; its key is that creature's singular name.
    for (const RankRow& row : k_standard_ladder)
        if (std::strcmp(row.title, title) == 0)
            return strings().get(std::string("CREATURE_") + kCreatureKeyStem[row.creature_id] + "_SG");
    return title;
}

// ---- high-score tables

std::vector<HighScoreEntry> default_standard_high_scores() {
    return {
        {"Lord Zevoraz", "The Jester", 130}, {"Razud", "Two if by Sea", 110}, {"Sir Darovo", "Knight's Quest", 90},
        {"Zerarur", "Crossroads", 70},       {"Lord Vaziv", "Shangri-La", 60}, {"Rerev", "River's End", 50},
        {"Vizedav", "Pathways", 40},         {"Revuza", "Squirrel Lake", 30},  {"Zorud", "Continentia", 20},
        {"Rovod", "The Claw", 10},
    };
}

std::vector<HighScoreEntry> default_campaign_high_scores() {
    return {
        {"Ziduzud", "Lord Varkhelm", 500},  {"Ruvuvaz", "Lord Brudek", 700},    {"Razov", "Queen Selvina", 900},
        {"Rero", "Lord Oskarn", 1200},      {"Redazur", "Queen Selvina", 1500}, {"Dodora", "Lord Oskarn", 1700},
        {"Zedarov", "Lord Varkhelm", 2000}, {"Zurizu", "Queen Selvina", 2400},  {"Diduvo", "Lord Brudek", 3200},
        {"Zazizuviv", "Lord Oskarn", 4400},
    };
}

std::vector<HighScoreEntry> default_high_scores(HighScoreTable table) {
    return table == HighScoreTable::Standard ? default_standard_high_scores() : default_campaign_high_scores();
}

void sort_high_scores(std::vector<HighScoreEntry>& rows, HighScoreTable table) {
    if (table == HighScoreTable::Standard)
        std::stable_sort(rows.begin(), rows.end(),
                         [](const HighScoreEntry& a, const HighScoreEntry& b) { return a.score > b.score; });
    else
        std::stable_sort(rows.begin(), rows.end(),
                         [](const HighScoreEntry& a, const HighScoreEntry& b) { return a.score < b.score; });
}

std::string high_score_path(const std::string& folder, HighScoreTable table) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
    path += table == HighScoreTable::Standard ? "STANDARD.HS" : "CAMPAIGN.HS";
    return path;
}

namespace {

constexpr std::size_t kNameBytes = 16;
constexpr std::size_t kLabelOffset = 17;
constexpr std::size_t kLabelBytes = 14;
constexpr std::size_t kScoreOffset = 32;

void put_padded(uint8_t* out, const std::string& s, std::size_t width) {
    const std::size_t n = std::min(s.size(), width);
    std::memcpy(out, s.data(), n);
    std::memset(out + n, ' ', width - n);
}

// Bytes from `p` up to the first zero, at most `limit`, without trailing spaces.
std::string take_field(const uint8_t* p, std::size_t limit) {
    std::size_t n = 0;
    while (n < limit && p[n] != 0) ++n;
    while (n > 0 && p[n - 1] == ' ') --n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

}  // namespace

std::vector<uint8_t> high_score_image(std::vector<HighScoreEntry> rows, HighScoreTable table) {
    sort_high_scores(rows, table);
    rows.resize(kHighScoreRows);  // pads with empty rows or keeps the first ten
    std::vector<uint8_t> image(kHighScoreFileBytes, 0);
    for (int i = 0; i < kHighScoreRows; ++i) {
        uint8_t* rec = image.data() + kHighScoreRecordBytes * i;
        put_padded(rec, rows[i].name, kNameBytes);
        put_padded(rec + kLabelOffset, rows[i].label, kLabelBytes);
        rec[kScoreOffset] = static_cast<uint8_t>(rows[i].score & 0xFF);
        rec[kScoreOffset + 1] = static_cast<uint8_t>(rows[i].score >> 8);
    }
    return image;
}

std::vector<HighScoreEntry> parse_high_score_image(const uint8_t* data, std::size_t size, HighScoreTable table) {
    if (!data || size < kHighScoreFileBytes) return default_high_scores(table);
    std::vector<HighScoreEntry> rows(kHighScoreRows);
    for (int i = 0; i < kHighScoreRows; ++i) {
        const uint8_t* rec = data + kHighScoreRecordBytes * i;
        // A file of another writer may lack the zero after a full field: the field then runs
        // through the separator byte, and no further.
        rows[i].name = take_field(rec, kNameBytes + 1);
        rows[i].label = take_field(rec + kLabelOffset, kLabelBytes + 1);
        rows[i].score = static_cast<uint16_t>(rec[kScoreOffset] | (rec[kScoreOffset + 1] << 8));
    }
    sort_high_scores(rows, table);
    return rows;
}

std::vector<HighScoreEntry> load_high_scores(const std::string& path, HighScoreTable table) {
    // Only the table's own bytes are read, whatever the file's size.
    std::vector<uint8_t> bytes(kHighScoreFileBytes);
    std::size_t got = 0;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        while (got < bytes.size()) {
            const std::size_t n = std::fread(bytes.data() + got, 1, bytes.size() - got, f);
            if (n == 0) break;
            got += n;
        }
        std::fclose(f);
    }
    return parse_high_score_image(bytes.data(), got, table);
}

bool save_high_scores(const std::string& path, std::vector<HighScoreEntry> rows, HighScoreTable table,
                      SaveOutcome* outcome) {
    // Rewriting the file in place could leave it short after a failed write, and a short file
    // loads as the defaults: the whole table would be lost. A rename replaces it in one step.
    static const SaveWriteTexts texts{"save_high_scores", "cannot open temp file for writing: "};
    return write_file_atomic(path, high_score_image(std::move(rows), table), texts, outcome);
}

int insert_high_score(std::vector<HighScoreEntry>& rows, const HighScoreEntry& entry, HighScoreTable table) {
    const HighScoreEntry added = entry;  // the entry may be a row of the list itself
    rows.push_back(added);
    sort_high_scores(rows, table);
    for (int i = static_cast<int>(rows.size()) - 1; i >= 0; --i)
        if (rows[i] == added) return i < kHighScoreRows ? i : -1;
    return -1;
}

bool score_qualifies_for_table(const std::string& folder, HighScoreTable table, unsigned short score) {
    const std::vector<HighScoreEntry> rows = load_high_scores(high_score_path(folder, table), table);
    if (rows.size() < static_cast<std::size_t>(kHighScoreRows)) return true;
    const uint16_t tenth = rows[kHighScoreRows - 1].score;
    return table == HighScoreTable::Standard ? score > tenth : score < tenth;
}

int enter_high_score(const std::string& folder, HighScoreTable table, const HighScoreEntry& entry,
                     SaveOutcome* outcome) {
    const std::string path = high_score_path(folder, table);
    std::vector<HighScoreEntry> rows = load_high_scores(path, table);
    const int place = insert_high_score(rows, entry, table);
    SaveOutcome saved;
    const bool ok = save_high_scores(path, rows, table, &saved);
    // Said on the console too: a row kept as the program ends has no screen left to tell it on.
    if (!ok)
        SDL_Log("The high-score table could not be written: %s: %s",
                (saved.reason_file.empty() ? saved.path : saved.reason_file).c_str(), saved.reason.c_str());
    if (outcome) *outcome = std::move(saved);
    return ok ? place : -1;
}

int keep_campaign_result(const std::string& folder, int total_days, const std::string& default_name,
                         const std::string& lord_name) {
    const uint16_t days = compute_campaign_score(total_days);
    if (!score_qualifies_for_table(folder, HighScoreTable::Campaign, days)) return -1;
    return enter_high_score(folder, HighScoreTable::Campaign, {default_name, lord_name, days});
}

}  // namespace vorn1
