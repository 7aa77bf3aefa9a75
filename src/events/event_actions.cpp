#include "events/event_actions.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "events/event.h"
#include "lang/runtime_strings.h"
#include "world/recruit_rules.h"
#include "world/levels.h"
#include "world/tile_rules.h"

namespace vorn1 {

namespace {

constexpr float kResourceFlashMs = 1500.0f;

int32_t saturating_add(int32_t a, int64_t b) {
    const int64_t s = static_cast<int64_t>(a) + b;
    return static_cast<int32_t>(std::clamp<int64_t>(s, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

void add_resource(GameState& state, int player, int res_index, int64_t amount) {
    if (!is_player_index(player) || res_index < 0 || res_index >= RES_COUNT || amount <= 0) return;
    int32_t& v = state.resources[player][res_index];
    v = saturating_add(v, amount);
}

int chest_at(const GameState& s, int x, int y) {
    for (size_t i = 0; i < s.chests.size(); ++i)
        if (!s.chests[i].taken && s.chests[i].x == x && s.chests[i].y == y) return static_cast<int>(i);
    return -1;
}
int artifact_at(const GameState& s, int x, int y) {
    for (size_t i = 0; i < s.map_artifacts.size(); ++i)
        if (!s.map_artifacts[i].taken && s.map_artifacts[i].x == x && s.map_artifacts[i].y == y)
            return static_cast<int>(i);
    return -1;
}
int pile_at(const GameState& s, int x, int y) {
    for (size_t i = 0; i < s.resource_piles.size(); ++i)
        if (!s.resource_piles[i].taken && s.resource_piles[i].x == x && s.resource_piles[i].y == y)
            return static_cast<int>(i);
    return -1;
}
int campfire_at(const GameState& s, int x, int y) {
    for (size_t i = 0; i < s.campfires.size(); ++i)
        if (s.campfires[i].active && !s.campfires[i].taken && s.campfires[i].x == x && s.campfires[i].y == y)
            return static_cast<int>(i);
    return -1;
}
int hut_at(const GameState& s, int x, int y) {
    for (size_t i = 0; i < s.huts.size(); ++i)
        if (s.huts[i].live && s.huts[i].x == x && s.huts[i].y == y) return static_cast<int>(i);
    return -1;
}
int shrine_at(const GameState& s, int x, int y) {
    for (size_t i = 0; i < s.shrines.size(); ++i)
        if (s.shrines[i].x == x && s.shrines[i].y == y) return static_cast<int>(i);
    return -1;
}
int mill_at(const GameState& s, int x, int y) {
    for (size_t i = 0; i < s.mills.size(); ++i)
        if (s.mills[i].active && s.mills[i].x == x && s.mills[i].y == y) return static_cast<int>(i);
    return -1;
}

void refresh_day_points(const GameState& state, const GameMap& map, int hero, std::vector<int>& mp_max) {
    if (hero < 0 || hero >= static_cast<int>(mp_max.size())) return;
    mp_max[hero] = hero_day_mp(state, map, hero);
}

}  // namespace

// Site look-ups shared with try_trigger.
int event_chest_at(const GameState& s, int x, int y) { return chest_at(s, x, y); }
int event_artifact_at(const GameState& s, int x, int y) { return artifact_at(s, x, y); }
int event_pile_at(const GameState& s, int x, int y) { return pile_at(s, x, y); }
int event_campfire_at(const GameState& s, int x, int y) { return campfire_at(s, x, y); }
int event_hut_at(const GameState& s, int x, int y) { return hut_at(s, x, y); }
int event_shrine_at(const GameState& s, int x, int y) { return shrine_at(s, x, y); }
int event_mill_at(const GameState& s, int x, int y) { return mill_at(s, x, y); }

SiteGuards site_guard_army(int kind, int level) {
    SiteGuards g;
    uint8_t id = EMPTY_ID;
    int32_t n = 0;
    switch (kind) {
        case GUARDED_DRAGON_CITY: id = kCreatureDragon; n = 1; break;
        case GUARDED_SHIPWRECK: id = kCreatureGhost; n = 10; break;
        case GUARDED_GRAVEYARD:
            id = kCreatureGhost;
            n = (level >= 0 && level <= 3) ? GY_QTY[level] : GY_QTY[0];
            break;
        case GUARDED_ARTIFACT: id = kCreatureRogue; n = 10; break;
        default: return g;
    }
    g.ids.fill(id);
    g.counts.fill(n);
    return g;
}

uint8_t bonus_bit_of_type(uint8_t type) {
    switch (type) {
        case OBJ_FAERIE_RING: return VISIT_LUCK_A;
        case OBJ_FOUNTAIN: return VISIT_LUCK_B;
        case OBJ_ANGEL_STATUE: return VISIT_MORALE_2;
        case OBJ_BUOY: return VISIT_MORALE_A;
        case OBJ_OASIS: return VISIT_MORALE_B;
        default: return 0;
    }
}

bool add_creatures_to_army(Army& army, uint8_t creature, int64_t count) {
    if (creature >= CREATURE_COUNT || count <= 0) return false;
    int slot = -1;
    for (int i = 0; i < ARMY_SLOTS && slot < 0; ++i)
        if (army.ids[i] == creature && army.counts[i] > 0) slot = i;
    for (int i = 0; i < ARMY_SLOTS && slot < 0; ++i)
        if (army.slot_empty(i)) slot = i;
    if (slot < 0) return false;
    const int64_t base = army.ids[slot] == creature ? army.counts[slot] : 0;
    army.ids[slot] = creature;
    army.counts[slot] = static_cast<uint16_t>(std::min<int64_t>(base + count, 65535));
    return true;
}

void clear_site_tile(GameMap& map, int x, int y) {
    if (MapTile* t = map.tile(x, y)) clear_tile_object(*t);
}

bool claim_mine(GameState& state, int mine, int player) {
    if (mine < 0 || mine >= static_cast<int>(state.mines.size()) || !is_player_index(player)) return false;
    state.mines[mine].owner = player;
    return true;
}

bool claim_lighthouse(GameState& state, int player) {
    if (!is_player_index(player)) return false;
    state.lighthouse.owner = player;
    return true;
}

bool claim_dragon_city(GameState& state, int player) {
    if (!is_player_index(player)) return false;
    state.dragon_city.owner = player;
    return true;
}

bool take_chest(GameState& state, GameMap& map, int chest, int player, int hero, bool as_experience) {
    if (chest < 0 || chest >= static_cast<int>(state.chests.size())) return false;
    TreasureChestState& c = state.chests[chest];
    if (c.taken) return false;
    if (as_experience) {
        if (!state.valid_hero(hero)) return false;
        HeroState& h = state.heroes[hero];
        const int64_t xp = std::max<int64_t>(0, static_cast<int64_t>(c.value) - 500);
        h.experience = static_cast<uint32_t>(std::min<int64_t>(int64_t{h.experience} + xp, UINT32_MAX));
    } else {
        if (!is_player_index(player)) return false;
        add_resource(state, player, RES_GOLD, c.value);
    }
    c.taken = 1;
    clear_site_tile(map, c.x, c.y);
    return true;
}

bool take_resource_pile(GameState& state, GameMap& map, int pile, int player) {
    if (pile < 0 || pile >= static_cast<int>(state.resource_piles.size()) || !is_player_index(player)) return false;
    ResourcePileState& p = state.resource_piles[pile];
    if (p.taken) return false;
    add_resource(state, player, resource_index_of_kind(p.kind), p.amount);
    p.taken = 1;
    clear_site_tile(map, p.x, p.y);
    return true;
}

bool take_campfire(GameState& state, GameMap& map, int campfire, int player) {
    if (campfire < 0 || campfire >= static_cast<int>(state.campfires.size()) || !is_player_index(player))
        return false;
    CampfireState& c = state.campfires[campfire];
    if (c.taken) return false;
    add_resource(state, player, RES_GOLD, c.gold);
    if (c.kind <= MINE_GEMS) add_resource(state, player, resource_index_of_kind(c.kind), c.amount);
    c.taken = 1;
    clear_site_tile(map, c.x, c.y);
    return true;
}

bool give_artifact(HeroState& hero, uint8_t artifact) {
    if (artifact == EMPTY_ID) return false;
    const int slot = hero.free_artifact_slot();
    if (slot < 0) return false;
    hero.artifacts[slot] = artifact;
    if (artifact == ART_MAGIC_BOOK) hero.has_spellbook = 1;
    recalc_hero_artifact_stats(hero);
    return true;
}

ArtifactTake take_map_artifact(GameState& state, GameMap& map, int artifact_record, int hero) {
    if (artifact_record < 0 || artifact_record >= static_cast<int>(state.map_artifacts.size()) ||
        !state.valid_hero(hero))
        return ArtifactTake::Invalid;
    ArtifactState& a = state.map_artifacts[artifact_record];
    if (a.taken || a.artifact == EMPTY_ID) return ArtifactTake::Invalid;
    HeroState& h = state.heroes[hero];
    // Checked before paying, so a full hero loses neither the gold nor the artifact.
    if (h.free_artifact_slot() < 0) return ArtifactTake::NoRoom;
    if (a.guard_kind == 2) {
        if (!is_player_index(h.owner) || state.resources[h.owner].gold < kPaidArtifactGold)
            return ArtifactTake::CannotPay;
        state.resources[h.owner].gold -= kPaidArtifactGold;
    }
    give_artifact(h, a.artifact);
    a.taken = 1;
    clear_site_tile(map, a.x, a.y);
    return ArtifactTake::Taken;
}

bool grant_visit_bonus(HeroState& hero, uint8_t bit) {
    if (bit == 0 || (hero.visit_flags & bit)) return false;
    hero.visit_flags |= bit;
    return true;
}

bool visit_shrine(GameState& state, int shrine, int hero) {
    if (shrine < 0 || shrine >= static_cast<int>(state.shrines.size()) || !state.valid_hero(hero)) return false;
    const uint8_t spell = state.shrines[shrine].spell;
    HeroState& h = state.heroes[hero];
    if (!h.has_spellbook || spell >= SPELL_COUNT) return false;
    if (h.spell_charges[spell] == 255) return false;
    ++h.spell_charges[spell];
    return true;
}

bool visit_mill(GameState& state, int mill, int player) {
    if (mill < 0 || mill >= static_cast<int>(state.mills.size()) || !is_player_index(player)) return false;
    MillState& m = state.mills[mill];
    if (!m.active || m.flag || m.amount <= 0) return false;
    add_resource(state, player, RES_GOLD, m.amount);
    m.flag = 1;  // emptied until the turnover refills it
    return true;
}

bool grant_guarded_site_reward(GameState& state, GameMap& map, int hero, int x, int y, int kind, int level,
                               int artifact) {
    if (!state.valid_hero(hero)) return false;
    HeroState& h = state.heroes[hero];
    MapTile* t = map.tile(x, y);
    switch (kind) {
        case GUARDED_DRAGON_CITY:
            if (!state.dragon_city.active || state.dragon_city.x != x || state.dragon_city.y != y) return false;
            if (state.dragon_city.owner == h.owner) return false;
            return claim_dragon_city(state, h.owner);
        case GUARDED_SHIPWRECK:
        case GUARDED_GRAVEYARD: {
            const uint8_t want = kind == GUARDED_GRAVEYARD ? OBJ_GRAVEYARD : OBJ_SHIPWRECK;
            if (!t || t->object_type != want) return false;
            const int lv = (level >= 0 && level <= 3) ? level : 0;
            if (kind == GUARDED_GRAVEYARD) add_resource(state, h.owner, RES_GOLD, GY_GOLD[lv]);
            h.visit_flags |= kind == GUARDED_GRAVEYARD ? VISIT_MORALE_MINUS_A : VISIT_MORALE_MINUS_B;
            // The site stays drawn but has nothing more to give.
            t->object_type = 0;
            return true;
        }
        case GUARDED_ARTIFACT: {
            const int rec = artifact_at(state, x, y);
            if (rec < 0) return false;
            ArtifactState& a = state.map_artifacts[rec];
            if (artifact >= 0 && a.artifact != artifact) return false;
            if (h.free_artifact_slot() < 0) {
                // The guards are beaten but the hero cannot carry it: it stays, unguarded.
                a.guard_kind = 0;
                if (t) t->object_type = OBJ_ARTIFACT;
                return false;
            }
            a.guard_kind = 0;
            return take_map_artifact(state, map, rec, hero) == ArtifactTake::Taken;
        }
        default: return false;
    }
}

void recalc_hero_artifact_stats(HeroState& hero) {
    // Bonus of each artifact to attack, defense, power and knowledge.
    struct Bonus { uint8_t id; uint8_t stat; uint8_t amount; };
    static constexpr Bonus kBonus[] = {
        {1, 0, 12}, {13, 0, 1}, {16, 0, 1}, {19, 0, 3}, {20, 0, 2},
        {2, 1, 12}, {14, 1, 1}, {15, 1, 1}, {18, 1, 2}, {21, 1, 3},
        {3, 2, 12}, {4, 2, 4}, {5, 2, 2}, {6, 2, 2}, {7, 2, 3},
        {0, 3, 12}, {22, 3, 2}, {23, 3, 3}, {24, 3, 4}, {25, 3, 5},
    };
    std::array<int, 4> sum{};
    for (uint8_t id : hero.artifacts)
        for (const Bonus& b : kBonus)
            if (b.id == id) sum[b.stat] += b.amount;
    for (int i = 0; i < 4; ++i) hero.artifact_bonus[i] = static_cast<uint8_t>(std::min(sum[i], 127));
}

std::optional<std::string> artifact_display_name(int id) {
    if (id < 0 || id > ART_MAGIC_BOOK) return std::nullopt;
    if (id == ART_MAGIC_BOOK) return strings().get("ARTIFACT_SPELLBOOK_TITLE");
    char key[32];
    std::snprintf(key, sizeof key, "ARTIFACTNAME_%02d", id);
    return strings().get(key);
}

void apply_event_result(const EventResult& res, GameMap& map, GameState& state, std::vector<int>& mp_left,
                        std::vector<int>& mp_max, EventSystem& events, const LevelUpSink& levelups,
                        bool& garrison_full) {
    (void)mp_left;
    garrison_full = false;
    if (!state.valid_hero(res.hero)) return;
    const int hero = res.hero;
    const int player = state.heroes[hero].owner;
    const int x = res.x, y = res.y;
    const uint32_t xp_before = state.heroes[hero].experience;
    bool gained = false;

    switch (res.choice) {
        case SITE_MINE:
            if (res.button != EVENT_BUTTON_DECLINE) claim_mine(state, state.mine_at(x, y), player);
            break;
        case SITE_LIGHTHOUSE:
            if (res.button != EVENT_BUTTON_DECLINE && state.lighthouse.active && state.lighthouse.x == x &&
                state.lighthouse.y == y)
                claim_lighthouse(state, player);
            break;
        case SITE_CHEST:
            // Accept keeps the gold, decline hands it out for experience.
            gained = take_chest(state, map, chest_at(state, x, y), player, hero, res.button == EVENT_BUTTON_DECLINE) &&
                     res.button != EVENT_BUTTON_DECLINE;
            break;
        case SITE_ARTIFACT: {
            const int rec = artifact_at(state, x, y);
            if (rec < 0) break;
            if (state.map_artifacts[rec].guard_kind == 2 && res.button != EVENT_BUTTON_ACCEPT) break;
            if (state.map_artifacts[rec].guard_kind == 1) break;  // taken only by beating its guards
            if (take_map_artifact(state, map, rec, hero) == ArtifactTake::Taken) refresh_day_points(state, map, hero, mp_max);
            break;
        }
        case SITE_RESOURCE: gained = take_resource_pile(state, map, pile_at(state, x, y), player); break;
        case SITE_CAMPFIRE: gained = take_campfire(state, map, campfire_at(state, x, y), player); break;
        case SITE_SHRINE: visit_shrine(state, shrine_at(state, x, y), hero); break;
        case SITE_MILL: gained = visit_mill(state, mill_at(state, x, y), player); break;
        case SITE_BONUS: grant_visit_bonus(state.heroes[hero], res.bonus_bit); break;
        default: break;
    }

    if (gained) {
        events.resource_flash = true;
        events.resource_flash_ms = kResourceFlashMs;
    }
    if (state.heroes[hero].experience > xp_before && levelups) levelups(hero);
}

void apply_map_recruit_result(const RecruitResult& rr, GameMap& map, GameState& state, std::vector<int>& mp_left,
                              std::vector<int>& mp_max, EventSystem& events, bool& no_room) {
    (void)mp_left;
    (void)events;
    no_room = false;
    if (!state.valid_hero(rr.hero) || rr.count < 1) return;
    HeroState& h = state.heroes[rr.hero];
    if (!is_player_index(h.owner)) return;
    PlayerResources& treasury = state.resources[h.owner];
    if (!can_pay_cost(treasury, rr.cost)) return;
    const PlayerResources price = creature_cost_as_resources(rr.cost);
    const PlayerResources before = treasury;
    treasury -= price;
    const int hut = hut_at(state, rr.site_x, rr.site_y);
    int32_t population_before = 0;
    if (hut >= 0) {
        population_before = state.huts[hut].available;
        state.huts[hut].available = std::max<int32_t>(0, population_before - rr.count);
    }
    if (!add_creatures_to_army(h.army, rr.creature, rr.count)) {
        treasury = before;
        if (hut >= 0) state.huts[hut].available = population_before;
        no_room = true;
        return;
    }
    refresh_day_points(state, map, rr.hero, mp_max);
}

}  // namespace vorn1
