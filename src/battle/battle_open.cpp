// The four ways a battle opens, the sides built from heroes, and the armies written back.
#include <SDL.h>

#include <algorithm>

#include "battle/battle_resources.h"
#include "battle/battle_scenery.h"
#include "battle/battle_screen.h"
#include "world/creature_table.h"
#include "battle/hex_field.h"
#include "battle/morale_luck.h"
#include "lang/runtime_strings.h"
#include "media/sound_levels.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

namespace {

constexpr uint8_t kBallista = 17;
constexpr uint8_t kMonsterSpriteSet = 12;

uint8_t capped_skill(int base, int bonus) { return static_cast<uint8_t>(std::min(base + bonus, 127)); }

// A stack placed from the creature table; col by side and size.
BattleUnit placed_stack(uint8_t id, int count, uint8_t side, int row) {
    BattleUnit u;
    u.side = side;
    u.row = row;
    u.col = side == 0 ? 1 : 7;
    if (id == kNoCreature || count <= 0) return u;
    u.creature = id;
    u.count = count;
    if (is_two_hex_creature(id)) u.col = side == 0 ? 2 : 6;
    CreatureStats cs = creature_stats(id);
    u.shots = cs.shots;
    u.top_hp = cs.hp;
    return u;
}

void side_from_hero(BattleSide& side, std::array<BattleUnit, 5>& stacks, const HeroState& h, int hero_index,
                    uint8_t side_id) {
    side.hero = hero_index;
    side.hero_class = h.crest & 0x0F;
    side.hero_colour = h.crest >> 4;
    side.portrait = h.portrait;
    side.name = h.name;
    side.attack = capped_skill(h.attack, h.artifact_bonus[0]);
    side.defense = capped_skill(h.defense, h.artifact_bonus[1]);
    side.power = capped_skill(h.power, h.artifact_bonus[2]);
    side.knowledge = capped_skill(h.knowledge, h.artifact_bonus[3]);
    side.morale = hero_battle_morale(h);
    side.luck = hero_battle_luck(h);
    for (int i = 0; i < 5; ++i) stacks[i] = placed_stack(h.army.ids[i], h.army.counts[i], side_id, i);
}

void reset_side(BattleSide& s) { s = BattleSide{}; }

SDL_Rect hero_figure_rect(const BattleScreen& b, int hero_class, bool defender, int foot_y, SDL_Rect fallback) {
    int w = 0, h = 0;
    if (!b.hero_figure(hero_class, w, h)) return fallback;
    return SDL_Rect{defender ? 640 - w : 0, foot_y - h, w, h};
}

std::array<int32_t, 5> stack_counts(const std::array<BattleUnit, 5>& stacks) {
    std::array<int32_t, 5> c{};
    for (int i = 0; i < 5; ++i) c[i] = stacks[i].count;
    return c;
}

// Writes a side's stacks into a hero's army: dead stacks empty their slot, living ones keep the id
// and store their count (at most 65535); slots empty in battle, and stacks lent by a town garrison,
// are left alone.
void write_back_side(HeroState& h, const std::array<BattleUnit, 5>& stacks, const std::array<int32_t, 5>* garrison) {
    for (int i = 0; i < 5; ++i) {
        const BattleUnit& u = stacks[i];
        if (u.creature == kNoCreature) continue;
        if (garrison && (*garrison)[i] >= 0) continue;
        if (!u.alive || u.count <= 0) {
            h.army.ids[i] = EMPTY_ID;
            h.army.counts[i] = 0;
        } else {
            h.army.counts[i] = static_cast<uint16_t>(std::min(u.count, 65535));
        }
    }
}

}  // namespace

bool army_is_empty(const std::array<uint8_t, 5>& ids, const std::array<int, 5>& counts) {
    for (int i = 0; i < 5; ++i)
        if (ids[i] != kNoCreature && counts[i] > 0) return false;
    return true;
}

void BattleScreen::build_scenery(const GameMap& map, int x, int y, unsigned seed, bool graveyard,
                                 const std::string& background_name) {
    release_scene();
    if (scenery_hook) {
        scenery_hook(*this, map, x, y, seed, graveyard, background_name);
        return;
    }
    if (background_name.empty()) {
        build_background(map, x, y, seed, graveyard);
        return;
    }
    // A given sky picture over the tile's own ground and obstacles.
    const MapTile* t = map.tile(x, y);
    std::string bkg, xtl, obj;
    pick_scene_files(map, x, y, t ? battle_terrain_for_ground(t->ground) : TerrainGrass, bkg, xtl, obj, false);
    background = render_scene(background_name, xtl, obj, seed);
    background_w = 640;
    background_h = 460;
}

void BattleScreen::open(int hero, int x, int y, const GameMap& map, GameState& game_in, unsigned seed,
                        bool no_music) {
    if (!services_ready()) return;
    game = &game_in;
    outcome = OutcomeNone;
    attacker_won = 0;
    // The last battle's surrender stays readable after its close, until the next battle opens.
    surrender_gold_paid = 0;
    surrendered_side = -1;
    control = BattleControl{};
    message.clear();
    clear_battle_working_state();
    attacker_start_counts = {};
    garrison_slot = {-1, -1, -1, -1, -1};

    rng = seed_or_ticks(seed);
    music_level = g_music_level();
    sfx_level = g_sfx_level();

    reset_side(attacker_side);
    reset_side(defender_side);
    defender_tent_rect = SDL_Rect{0, 0, 0, 0};
    bonus_experience = 0;

    bool valid = game_in.valid_hero(hero);
    if (valid) {
        side_from_hero(attacker_side, attackers, game_in.heroes[hero], hero, 0);
    } else {
        for (int i = 0; i < 5; ++i) attackers[i] = placed_stack(kNoCreature, 0, 0, i);
    }
    attacker_start_counts = stack_counts(attackers);

    monster_id = kNoCreature;
    monster_count = 0;
    int rec = game_in.monster_at(x, y);
    if (rec >= 0) {
        monster_id = game_in.monsters[rec].creature;
        monster_count = game_in.monsters[rec].count;
    }
    if (const MapTile* t = map.tile(x, y)) {
        if (rec < 0) monster_id = t->layer1_set == kMonsterSpriteSet ? t->layer1_frame : t->object_detail;
        if (monster_count == 0) monster_count = t->object_detail != 0 ? t->object_detail : 5;
    }

    for (int i = 0; i < 5; ++i) defenders[i] = placed_stack(kNoCreature, 0, 1, i);
    if (monster_id != kNoCreature && monster_count > 0) {
        int q = monster_count / 5;
        int r = monster_count % 5;
        for (int i = 0; i < 5; ++i) {
            int n = q + (i < r ? 1 : 0);
            if (n >= 1) defenders[i] = placed_stack(monster_id, n, 1, i);
        }
    }

    attacker_tent_rect = hero_figure_rect(*this, attacker_side.hero_class, false, 257, SDL_Rect{0, 157, 76, 100});

    build_turn_queue();
    current = 0;

    if (valid) build_scenery(map, game_in.heroes[hero].x, game_in.heroes[hero].y, seed, false, std::string());
    else build_scenery(map, x, y, seed, false, std::string());
    if (!no_music) {
        if (music_hook) music_hook(*this, seed);
        else if (battle_res) battle_res->play_battle_music(seed, battle_effect_volume(music_level));
    }

    defender_start_counts = stack_counts(defenders);
    // The battle draws its own pointer; without that art the system pointer stays, so the player still sees one.
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(battle_res && !battle_res->cursor_sprites.empty() ? SDL_DISABLE : SDL_ENABLE);
    active = 1;
    message = strings().get("BATTLE_BEGINS");
}

void BattleScreen::open_neutral_town(int hero, int x, int y, const std::array<uint8_t, 5>& ids,
                                     const std::array<int, 5>& counts, const GameMap& map, GameState& game_in,
                                     unsigned seed, bool no_music, const char* background) {
    if (!services_ready()) return;
    open(hero, -1, -1, map, game_in, seed, no_music);
    for (int i = 0; i < 5; ++i) defenders[i] = placed_stack(kNoCreature, 0, 1, i);
    int next = 0;
    for (int i = 0; i < 5; ++i) {
        if (ids[i] == kNoCreature || counts[i] <= 0) continue;
        defenders[next] = placed_stack(ids[i], counts[i], 1, next);
        ++next;
    }
    bonus_experience = 500;
    defender_start_counts = stack_counts(defenders);
    build_turn_queue();
    current = 0;
    build_scenery(map, x, y, seed, false, background ? std::string(background) : std::string());
}

void BattleScreen::open_hero_vs_hero(int attacker, int defender, const GameMap& map, GameState& game_in,
                                     unsigned seed, bool no_music, BattleControl control_in) {
    if (!services_ready()) return;
    if (!game_in.valid_hero(defender)) return;
    const HeroState& d = game_in.heroes[defender];
    open(attacker, d.x, d.y, map, game_in, seed, no_music);
    // The defender's tile holds a hero, not a monster: whatever the tile bytes suggested is dropped.
    monster_id = kNoCreature;
    monster_count = 0;
    control = control_in;
    side_from_hero(defender_side, defenders, game_in.heroes[defender], defender, 1);
    defender_start_counts = stack_counts(defenders);
    defender_tent_rect =
        hero_figure_rect(*this, defender_side.hero_class, true, 417, SDL_Rect{564, 317, 76, 100});
    bonus_experience = 500;
    build_turn_queue();
    current = 0;
}

void BattleScreen::open_castle_battle(int attacker, int x, int y, int castle_kind, bool hero_defends, int defender,
                                      const std::array<uint8_t, 5>& ids, const std::array<int, 5>& counts,
                                      const GameMap& map, GameState& game_in, unsigned seed,
                                      BattleControl control_in) {
    if (!services_ready()) return;
    auto set_siege_fields = [&] {
        castle = castle_kind;
        siege = 1;
        keep_alive = 1;
        keep_fired = 0;
        walls_down = 0;
        wall_hp = {2, 2, 2, 2, 2};
    };
    set_siege_fields();
    catapult_shots = 1;
    catapult_shots_done = 0;
    catapult_pending = 0;
    int hx = 0, hy = 0;
    hex_to_screen(3, 2, hx, hy);
    catapult_pos = {hx - 122, hy + 79};
    if (game_in.valid_hero(attacker) && game_in.heroes[attacker].has_artifact(kBallista)) catapult_shots = 2;

    if (hero_defends && game_in.valid_hero(defender)) {
        open_hero_vs_hero(attacker, defender, map, game_in, seed, false, control_in);
        for (int g = 0; g < 5; ++g) {
            if (ids[g] == kNoCreature || counts[g] <= 0) continue;
            int free_slot = -1;
            for (int i = 0; i < 5 && free_slot < 0; ++i)
                if (!is_living(defenders[i])) free_slot = i;
            if (free_slot < 0) break;
            defenders[free_slot] = placed_stack(ids[g], std::min(counts[g], 65535), 1, free_slot);
            garrison_slot[free_slot] = g;
        }
        defender_start_counts = stack_counts(defenders);
    } else {
        open_neutral_town(attacker, x, y, ids, counts, map, game_in, seed, false, nullptr);
        control = control_in;
        // Remember which garrison slot each packed stack came from.
        int next = 0;
        for (int g = 0; g < 5; ++g)
            if (ids[g] != kNoCreature && counts[g] > 0 && next < 5) garrison_slot[next++] = g;
    }

    set_siege_fields();
    build_scenery(map, x, y, seed, false, std::string());

    static constexpr int kSiegeRow[5] = {0, 2, 1, 4, 3};
    static constexpr int kSiegeCol[5] = {7, 7, 6, 7, 6};
    for (int i = 0; i < 5; ++i) {
        BattleUnit& u = defenders[i];
        if (!is_living(u)) continue;
        u.row = kSiegeRow[i];
        u.col = kSiegeCol[i];
        if (is_two_hex_creature(u.creature) && kSiegeCol[i] == 7) u.col = 6;
    }
    build_turn_queue();

    if (hero_defends && game_in.valid_hero(defender))
        defender_tent_rect = hero_figure_rect(*this, defender_side.hero_class, true, catapult_pos[1],
                                              SDL_Rect{564, 281, 76, 100});
    message = strings().get("BATTLE_SIEGE_BEGINS");
    current = -1;
    advance_turn();
}

void apply_hero_vs_hero_result(BattleScreen& b, GameState& game) {
    int h = b.defender_side.hero;
    if (!game.valid_hero(h)) return;
    HeroState& hero = game.heroes[h];
    for (int i = 0; i < 5; ++i) {
        if (b.garrison_slot[i] >= 0) continue;
        const BattleUnit& u = b.defenders[i];
        if (is_living(u)) {
            hero.army.counts[i] = static_cast<uint16_t>(std::min(u.count, 65535));
        } else {
            hero.army.ids[i] = EMPTY_ID;
            hero.army.counts[i] = 0;
        }
    }
}

void BattleScreen::write_back_armies() {
    if (!game) return;
    if (game->valid_hero(attacker_side.hero)) write_back_side(game->heroes[attacker_side.hero], attackers, nullptr);
    if (game->valid_hero(defender_side.hero))
        write_back_side(game->heroes[defender_side.hero], defenders, &garrison_slot);
}

BattleScreen::BattleControl BattleScreen::control_from_heroes(const GameState& g, int attacker_hero,
                                                              int defender_hero) {
    BattleControl c;
    c.human = {0, 0};
    auto human_of = [&](int h) -> uint8_t {
        if (!g.valid_hero(h)) return 0;
        int owner = g.heroes[h].owner;
        if (!is_player_index(owner)) return 0;
        return g.player_is_human[owner];
    };
    c.human[0] = human_of(attacker_hero);
    c.human[1] = human_of(defender_hero);
    return c;
}

int64_t BattleScreen::side_player_gold(bool defender_side_flag) const {
    if (!game) return 0;
    int h = defender_side_flag ? defender_side.hero : attacker_side.hero;
    if (!game->valid_hero(h)) return 0;
    int owner = game->heroes[h].owner;
    if (!is_player_index(owner)) return 0;
    return game->resources[owner].gold;
}

}  // namespace vorn1
