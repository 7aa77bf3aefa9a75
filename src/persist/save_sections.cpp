#include "persist/save_sections.h"

#include <bit>

namespace vorn1 {

namespace {

// Minimum bytes of a record in the file, used to bound list counts before allocating.
constexpr uint64_t kCastleMinBytes = 72;
constexpr uint64_t kMineBytes = 14;
constexpr uint64_t kChestBytes = 13;
constexpr uint64_t kArtifactBytes = 10;
constexpr uint64_t kPileBytes = 14;
constexpr uint64_t kMillBytes = 14;
constexpr uint64_t kCampfireBytes = 19;
constexpr uint64_t kMonsterBytes = 14;
constexpr uint64_t kGarrisonBytes = 26;
constexpr uint64_t kShrineBytes = 9;
constexpr uint64_t kHutBytes = 15;
constexpr uint64_t kHeroMinBytes = 111;
constexpr uint64_t kBoatBytes = 21;

void w_army(ByteWriter& w, const Army& a) {
    for (uint8_t id : a.ids) w.u8(id);
    for (uint16_t c : a.counts) w.u16(c);
}

void r_army(ByteReader& r, Army& a) {
    for (uint8_t& id : a.ids) id = r.u8();
    for (uint16_t& c : a.counts) c = r.u16();
}

template <std::size_t N>
void w_bytes(ByteWriter& w, const std::array<uint8_t, N>& a) {
    for (uint8_t v : a) w.u8(v);
}

template <std::size_t N>
void r_bytes(ByteReader& r, std::array<uint8_t, N>& a) {
    for (uint8_t& v : a) v = r.u8();
}

uint8_t r_bool(ByteReader& r) { return r.u8() != 0 ? 1 : 0; }

// count + records; the target is cleared and holds exactly the records read.
template <class T, class Fn>
void r_list(ByteReader& r, std::vector<T>& v, uint64_t min_bytes, Fn read_one) {
    const uint32_t n = r.count(min_bytes);
    v.clear();
    v.resize(n);
    for (T& rec : v) read_one(rec);
}

template <class T, class Fn>
void w_list(ByteWriter& w, const std::vector<T>& v, Fn write_one) {
    w.u32(static_cast<uint32_t>(v.size()));
    for (const T& rec : v) write_one(rec);
}

void w_site(ByteWriter& w, const MapSiteState& s) {
    w.flag(s.active);
    w.i32(s.x);
    w.i32(s.y);
    w.i32(s.owner);
}

void r_site(ByteReader& r, MapSiteState& s) {
    s.active = r_bool(r);
    s.x = r.i32();
    s.y = r.i32();
    s.owner = r.i32();
}

void w_castle(ByteWriter& w, const CastleState& c) {
    w.flag(c.live);
    w.i32(c.x);
    w.i32(c.y);
    w.flag(c.is_castle);
    w.u8(c.faction);
    w.i32(c.owner);
    w.i32(c.field5);
    w.flag(c.built_today);
    w.str(c.name);
    w.u16(c.buildings);
    w_army(w, c.garrison);
    for (int32_t v : c.available) w.i32(v);
    w_bytes(w, c.guild_spells);
}

void r_castle(ByteReader& r, CastleState& c) {
    c.live = r_bool(r);
    c.x = r.i32();
    c.y = r.i32();
    c.is_castle = r_bool(r);
    c.faction = r.u8();
    c.owner = r.i32();
    c.field5 = r.i32();
    c.built_today = r_bool(r);
    c.name = r.str();
    c.buildings = r.u16();
    r_army(r, c.garrison);
    for (int32_t& v : c.available) v = r.i32();
    r_bytes(r, c.guild_spells);
}

void w_hero(ByteWriter& w, const HeroState& h) {
    w.flag(h.live);
    w.i32(h.x);
    w.i32(h.y);
    w.i32(h.owner);
    w.u8(h.portrait);
    w_army(w, h.army);
    w_bytes(w, h.artifacts);
    w.u32(h.experience);
    w.u8(h.attack);
    w.u8(h.defense);
    w.u8(h.power);
    w.u8(h.knowledge);
    w.flag(h.has_spellbook);
    w_bytes(w, h.spell_charges);
    w.str(h.name);
    w.u8(h.crest);
    w.u8(h.figure);
    w.u8(static_cast<uint8_t>(h.morale));
    w.u8(static_cast<uint8_t>(h.luck));
    w.u8(h.level);
    w_bytes(w, h.artifact_bonus);
    w.u8(h.visit_flags);
    w.flag(h.on_boat);
    w.i32(h.boat_index);
    w.flag(h.selected_at_save);
    w.i32(h.dest_x);
    w.i32(h.dest_y);
    w.i32(h.saved_mp);
}

void r_hero(ByteReader& r, HeroState& h) {
    h.live = r_bool(r);
    h.x = r.i32();
    h.y = r.i32();
    h.owner = r.i32();
    h.portrait = r.u8();
    r_army(r, h.army);
    r_bytes(r, h.artifacts);
    h.experience = r.u32();
    h.attack = r.u8();
    h.defense = r.u8();
    h.power = r.u8();
    h.knowledge = r.u8();
    h.has_spellbook = r_bool(r);
    r_bytes(r, h.spell_charges);
    h.name = r.str();
    h.crest = r.u8();
    h.figure = r.u8();
    h.morale = static_cast<int8_t>(r.u8());
    h.luck = static_cast<int8_t>(r.u8());
    h.level = r.u8();
    r_bytes(r, h.artifact_bonus);
    h.visit_flags = r.u8();
    h.on_boat = r_bool(r);
    h.boat_index = r.i32();
    h.selected_at_save = r_bool(r);
    h.dest_x = r.i32();
    h.dest_y = r.i32();
    h.saved_mp = r.i32();
}

void w_pool_entry(ByteWriter& w, const HeroPoolEntry& e) {
    w.u8(e.faction);
    w.str(e.name);
    w.u8(e.kind);
    w_bytes(w, e.start_skills);
    w_army(w, e.start_army);
    w.i32(e.start_experience);
    w.flag(e.start_spellbook);
    w.u8(e.status);
    w.i32(e.last_owner);
    w.i32(e.week_returned);
    w_army(w, e.kept_army);
    w_bytes(w, e.kept_artifacts);
    w.i32(e.kept_experience);
    w.flag(e.kept_spellbook);
    w_bytes(w, e.kept_charges);
    w_bytes(w, e.kept_skills);
    w.u8(e.kept_level);
}

void r_pool_entry(ByteReader& r, HeroPoolEntry& e) {
    e.faction = r.u8();
    e.name = r.str();
    e.kind = r.u8();
    r_bytes(r, e.start_skills);
    r_army(r, e.start_army);
    e.start_experience = r.i32();
    e.start_spellbook = r_bool(r);
    e.status = r.u8();
    e.last_owner = r.i32();
    e.week_returned = r.i32();
    r_army(r, e.kept_army);
    r_bytes(r, e.kept_artifacts);
    e.kept_experience = r.i32();
    e.kept_spellbook = r_bool(r);
    r_bytes(r, e.kept_charges);
    r_bytes(r, e.kept_skills);
    e.kept_level = r.u8();
}

void w_ai_vars(ByteWriter& w, const AIPlayerVars& a) {
    for (float f : a.weights) w.u32(std::bit_cast<uint32_t>(f));
    w.u32(std::bit_cast<uint32_t>(a.savings));
    w.u32(std::bit_cast<uint32_t>(a.battle_bias));
    for (int32_t v : a.income) w.i32(v);
    w.i32(a.gold_income);
    for (int32_t v : a.reserved) w.i32(v);
    w.u32(std::bit_cast<uint32_t>(a.wealth_ratio));
    w.u32(std::bit_cast<uint32_t>(a.wealth_scale));
    w.u32(std::bit_cast<uint32_t>(a.player_share));
}

void r_ai_vars(ByteReader& r, AIPlayerVars& a) {
    for (float& f : a.weights) f = std::bit_cast<float>(r.u32());
    a.savings = std::bit_cast<float>(r.u32());
    a.battle_bias = std::bit_cast<float>(r.u32());
    for (int32_t& v : a.income) v = r.i32();
    a.gold_income = r.i32();
    for (int32_t& v : a.reserved) v = r.i32();
    a.wealth_ratio = std::bit_cast<float>(r.u32());
    a.wealth_scale = std::bit_cast<float>(r.u32());
    a.player_share = std::bit_cast<float>(r.u32());
}

void w_fog(ByteWriter& w, const FogOfWar& f) {
    for (std::size_t k = 0; k < kFogPlaneBytes; ++k) {
        uint8_t b = 0;
        for (int i = 0; i < 8; ++i)
            if (f.explored[8 * k + i]) b = static_cast<uint8_t>(b | (1u << i));
        w.u8(b);
    }
}

void r_fog(ByteReader& r, FogOfWar& f) {
    for (std::size_t k = 0; k < kFogPlaneBytes; ++k) {
        const uint8_t b = r.u8();
        for (int i = 0; i < 8; ++i) f.explored[8 * k + i] = (b >> i) & 1;
    }
}

}  // namespace

void w_ng_cfg(ByteWriter& w, const NewGameConfig& c) {
    w.u8(static_cast<uint8_t>(c.mode));
    w.str(c.map_path);
    w.str(c.map_name);
    w.str(c.map_stem);
    w.u8(static_cast<uint8_t>(c.difficulty));
    for (OpponentDifficulty o : c.opponents) w.u8(static_cast<uint8_t>(o));
    w.u8(c.color);
    w.flag(c.king_of_the_hill);
    w.i32(c.difficulty_rating);
    w.str(c.description);
    w.u8(c.map_size);
    w.u8(c.map_difficulty);
}

void r_ng_cfg(ByteReader& r, NewGameConfig& c) {
    c.quit = false;
    c.mode = static_cast<GameMode>(r.u8());
    c.map_path = r.str();
    c.map_name = r.str();
    c.map_stem = r.str();
    c.difficulty = static_cast<GameDifficulty>(r.u8());
    for (OpponentDifficulty& o : c.opponents) o = static_cast<OpponentDifficulty>(r.u8());
    c.color = r.u8();
    c.king_of_the_hill = r_bool(r);
    c.difficulty_rating = r.i32();
    c.description = r.str();
    c.map_size = r.u8();
    c.map_difficulty = r.u8();
}

void w_campaign(ByteWriter& w, const NewGameConfig& c) {
    w.u8(static_cast<uint8_t>(c.campaign_id));
    w.u8(static_cast<uint8_t>(c.campaign_lord));
    w.u8(static_cast<uint8_t>(c.lord_number));
    w.u8(c.lord_faction);
    w.i32(c.scenario_index);
    w.str(c.campaign_map_path);
    w.u32(static_cast<uint32_t>(c.campaign_maps.size()));
    for (const std::string& m : c.campaign_maps) w.str(m);
}

void r_campaign(ByteReader& r, NewGameConfig& c) {
    c.campaign_id = static_cast<CampaignId>(r.u8());
    c.campaign_lord = r.u8();
    c.lord_number = r.u8();
    c.lord_faction = r.u8();
    c.scenario_index = r.i32();
    c.campaign_map_path = r.str();
    // A campaign is a handful of maps; a larger list can only come from a damaged file.
    constexpr uint32_t kMaxCampaignMaps = 64;
    uint32_t n = r.count(2);
    if (n > kMaxCampaignMaps) {
        r.fail = true;
        n = 0;
    }
    c.campaign_maps.clear();
    c.campaign_maps.reserve(n);
    for (uint32_t i = 0; i < n; ++i) c.campaign_maps.push_back(r.str());
    c.mode = MODE_CAMPAIGN;
}

void w_tiles(ByteWriter& w, const GameMap& m) {
    const int32_t width = m.width > 0 ? m.width : 0;
    const int32_t height = m.height > 0 ? m.height : 0;
    w.i32(width);
    w.i32(height);
    // Exactly width x height cells, whatever the tile list holds, so the image stays readable.
    const std::size_t cells = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const MapTile blank{};
    for (std::size_t c = 0; c < cells; ++c) {
        const MapTile& t = c < m.tiles.size() ? m.tiles[c] : blank;
        for (int i = 0; i < static_cast<int>(kTileSaveBytes); ++i) w.u8(t.byte_at(i));
    }
}

void r_tiles_overlay(ByteReader& r, GameMap& m) {
    const uint32_t w = r.u32();
    const uint32_t h = r.u32();
    // Every per-map grid of the game is at most 72 x 72, and the cells must be in the file.
    const uint64_t cells = static_cast<uint64_t>(w) * h;
    if (r.fail || w == 0 || h == 0 || w > static_cast<uint32_t>(MAP_MAX_DIM) || h > static_cast<uint32_t>(MAP_MAX_DIM) ||
        cells > r.left() / kTileSaveBytes) {
        r.fail = true;
        r.pos = r.size;
        return;
    }
    if (m.width != static_cast<int32_t>(w) || m.height != static_cast<int32_t>(h) || m.tiles.size() != cells) {
        m.width = static_cast<int32_t>(w);
        m.height = static_cast<int32_t>(h);
        m.tiles.assign(static_cast<std::size_t>(cells), MapTile{});
    }
    for (MapTile& t : m.tiles) {
        for (int i = 0; i < 12; ++i) t.set_byte(i, r.u8());
        t.set_byte(12, r.u8() != 0 ? 1 : 0);
        t.set_byte(13, r.u8() != 0 ? 1 : 0);
    }
}

void w_game_state(ByteWriter& w, const GameState& s, int day, int week, int month, int current_player) {
    w.str(s.map_name);
    w.str(s.map_path);
    w.i32(s.map_width);
    w.i32(s.map_height);
    w.i32(s.num_players);
    w_bytes(w, s.player_in_play);
    w_bytes(w, s.player_color);
    for (uint8_t v : s.player_is_human) w.flag(v);
    for (const PlayerResources& p : s.resources)
        for (int i = 0; i < RES_COUNT; ++i) w.i32(p[i]);
    for (const FogOfWar& f : s.fog) w_fog(w, f);
    w.i32(s.human_castle_slot);
    w_list(w, s.castles, [&](const CastleState& c) { w_castle(w, c); });
    w_list(w, s.mines, [&](const MineState& m) {
        w.flag(m.live);
        w.i32(m.x);
        w.i32(m.y);
        w.u8(m.kind);
        w.i32(m.owner);
    });
    w_site(w, s.dragon_city);
    w_site(w, s.lighthouse);
    w_list(w, s.chests, [&](const TreasureChestState& c) {
        w.i32(c.x);
        w.i32(c.y);
        w.i32(c.value);
        w.flag(c.taken);
    });
    w_list(w, s.map_artifacts, [&](const ArtifactState& a) {
        w.i32(a.x);
        w.i32(a.y);
        w.u8(a.artifact);
        w.flag(a.taken);
    });
    w_list(w, s.resource_piles, [&](const ResourcePileState& p) {
        w.i32(p.x);
        w.i32(p.y);
        w.u8(p.kind);
        w.i32(p.amount);
        w.flag(p.taken);
    });
    w_list(w, s.mills, [&](const MillState& m) {
        w.flag(m.active);
        w.i32(m.x);
        w.i32(m.y);
        w.i32(m.amount);
        w.flag(m.flag);
    });
    w_list(w, s.campfires, [&](const CampfireState& c) {
        w.flag(c.active);
        w.i32(c.x);
        w.i32(c.y);
        w.i32(c.gold);
        w.i32(c.amount);
        w.u8(c.kind);
        w.flag(c.taken);
    });
    w_list(w, s.monsters, [&](const MonsterStackState& m) {
        w.i32(m.x);
        w.i32(m.y);
        w.u8(m.creature);
        w.i32(m.count);
        w.flag(m.removed);
    });
    w_list(w, s.garrisons, [&](const NeutralTownGarrison& g) {
        w.flag(g.live);
        w.i32(g.x);
        w.i32(g.y);
        w_bytes(w, g.ids);
        for (int i = 0; i < 3; ++i) w.i32(g.counts[i]);
    });
    w_list(w, s.shrines, [&](const ShrineState& sh) {
        w.i32(sh.x);
        w.i32(sh.y);
        w.u8(sh.spell);
    });
    w_list(w, s.huts, [&](const MapCreatureHutState& h) {
        w.flag(h.live);
        w.i32(h.x);
        w.i32(h.y);
        w.u8(h.creature);
        w.u8(h.flag);
        w.i32(h.available);
    });
    w_list(w, s.heroes, [&](const HeroState& h) { w_hero(w, h); });
    w_list(w, s.boats, [&](const BoatState& b) {
        w.flag(b.active);
        w.i32(b.x);
        w.i32(b.y);
        w.i32(b.hero);
        w.i32(b.facing);
        w.i32(b.owner);
    });
    for (const HeroPoolEntry& e : s.pool.entries) w_pool_entry(w, e);
    w_list(w, s.pool.free_entries, [&](int32_t v) { w.i32(v); });
    for (const auto& pair : s.offers) {
        w.i32(pair[0]);
        w.i32(pair[1]);
    }
    w.u8(s.victory.kind);
    w.i32(s.victory.target_x);
    w.i32(s.victory.target_y);
    w.flag(s.victory.won);
    w.i32(day);
    w.i32(week);
    w.i32(month);
    w.flag(s.day_over);
    w.i32(current_player);
    for (const AIPlayerVars& a : s.ai_vars) w_ai_vars(w, a);
    for (const auto& arr : s.ai_arrays)
        for (int32_t v : arr) w.i32(v);
    w_list(w, s.visited_sites, [&](uint32_t k) { w.u32(k); });
    const std::size_t pairs = std::min(s.visit_count_keys.size(), s.visit_counts.size());
    w.u32(static_cast<uint32_t>(pairs));
    for (std::size_t i = 0; i < pairs; ++i) {
        w.u32(s.visit_count_keys[i]);
        w.i32(s.visit_counts[i]);
    }
}

void r_game_state(ByteReader& r, GameState& s, int& day, int& week, int& month, unsigned /*version*/,
                  int& current_player) {
    s.map_name = r.str();
    s.map_path = r.str();
    s.map_width = r.i32();
    s.map_height = r.i32();
    s.num_players = r.i32();
    r_bytes(r, s.player_in_play);
    r_bytes(r, s.player_color);
    for (uint8_t& v : s.player_is_human) v = r_bool(r);
    for (PlayerResources& p : s.resources)
        for (int i = 0; i < RES_COUNT; ++i) p[i] = r.i32();
    for (FogOfWar& f : s.fog) r_fog(r, f);
    s.human_castle_slot = r.i32();
    r_list(r, s.castles, kCastleMinBytes, [&](CastleState& c) { r_castle(r, c); });
    r_list(r, s.mines, kMineBytes, [&](MineState& m) {
        m.live = r_bool(r);
        m.x = r.i32();
        m.y = r.i32();
        m.kind = r.u8();
        m.owner = r.i32();
    });
    r_site(r, s.dragon_city);
    r_site(r, s.lighthouse);
    r_list(r, s.chests, kChestBytes, [&](TreasureChestState& c) {
        c.x = r.i32();
        c.y = r.i32();
        c.value = r.i32();
        c.taken = r_bool(r);
    });
    r_list(r, s.map_artifacts, kArtifactBytes, [&](ArtifactState& a) {
        a.x = r.i32();
        a.y = r.i32();
        a.artifact = r.u8();
        a.taken = r_bool(r);
    });
    r_list(r, s.resource_piles, kPileBytes, [&](ResourcePileState& p) {
        p.x = r.i32();
        p.y = r.i32();
        p.kind = r.u8();
        p.amount = r.i32();
        p.taken = r_bool(r);
    });
    r_list(r, s.mills, kMillBytes, [&](MillState& m) {
        m.active = r_bool(r);
        m.x = r.i32();
        m.y = r.i32();
        m.amount = r.i32();
        m.flag = r_bool(r);
    });
    r_list(r, s.campfires, kCampfireBytes, [&](CampfireState& c) {
        c.active = r_bool(r);
        c.x = r.i32();
        c.y = r.i32();
        c.gold = r.i32();
        c.amount = r.i32();
        c.kind = r.u8();
        c.taken = r_bool(r);
    });
    r_list(r, s.monsters, kMonsterBytes, [&](MonsterStackState& m) {
        m.x = r.i32();
        m.y = r.i32();
        m.creature = r.u8();
        m.count = r.i32();
        m.removed = r_bool(r);
    });
    r_list(r, s.garrisons, kGarrisonBytes, [&](NeutralTownGarrison& g) {
        g.live = r_bool(r);
        g.x = r.i32();
        g.y = r.i32();
        r_bytes(r, g.ids);
        for (int i = 0; i < 3; ++i) g.counts[i] = r.i32();
    });
    r_list(r, s.shrines, kShrineBytes, [&](ShrineState& sh) {
        sh.x = r.i32();
        sh.y = r.i32();
        sh.spell = r.u8();
    });
    r_list(r, s.huts, kHutBytes, [&](MapCreatureHutState& h) {
        h.live = r_bool(r);
        h.x = r.i32();
        h.y = r.i32();
        h.creature = r.u8();
        h.flag = r.u8();
        h.available = r.i32();
    });
    r_list(r, s.heroes, kHeroMinBytes, [&](HeroState& h) { r_hero(r, h); });
    r_list(r, s.boats, kBoatBytes, [&](BoatState& b) {
        b.active = r_bool(r);
        b.x = r.i32();
        b.y = r.i32();
        b.hero = r.i32();
        b.facing = r.i32();
        b.owner = r.i32();
    });
    for (HeroPoolEntry& e : s.pool.entries) r_pool_entry(r, e);
    r_list(r, s.pool.free_entries, 4, [&](int32_t& v) { v = r.i32(); });
    for (auto& pair : s.offers) {
        pair[0] = r.i32();
        pair[1] = r.i32();
    }
    s.victory.kind = r.u8();
    s.victory.target_x = r.i32();
    s.victory.target_y = r.i32();
    s.victory.won = r_bool(r);
    day = r.i32();
    week = r.i32();
    month = r.i32();
    s.day = day;
    s.week = week;
    s.month = month;
    s.day_over = r_bool(r);
    current_player = r.i32();
    for (AIPlayerVars& a : s.ai_vars) r_ai_vars(r, a);
    for (auto& arr : s.ai_arrays)
        for (int32_t& v : arr) v = r.i32();
    r_list(r, s.visited_sites, 4, [&](uint32_t& k) { k = r.u32(); });
    const uint32_t pairs = r.count(8);
    s.visit_count_keys.assign(pairs, 0);
    s.visit_counts.assign(pairs, 0);
    for (uint32_t i = 0; i < pairs; ++i) {
        s.visit_count_keys[i] = r.u32();
        s.visit_counts[i] = r.i32();
    }
}

void w_puzzle(ByteWriter& w, const PuzzleMapState* p) {
    if (!p) {
        w.u8(0);
        return;
    }
    w.u8(1);
    w.flag(p->active);
    w.i32(p->obelisk_count);
    w.u8(p->ultimate_artifact);
    w.i32(p->dig_x);
    w.i32(p->dig_y);
    w.flag(p->artifact_awarded);
    for (int32_t v : p->layout) w.i32(v);
    for (int32_t v : p->pieces) w.i32(v);
    for (int32_t v : p->visited_count) w.i32(v);
    w.u32(static_cast<uint32_t>(p->visited_obelisks.size()));
    for (const auto& [key, mask] : p->visited_obelisks) {
        w.i32(key);
        w.u8(mask);
    }
}

bool r_puzzle(ByteReader& r, PuzzleMapState& p) {
    if (r.u8() == 0) return false;
    reset_puzzle_map(p);  // also clears the view fields
    p.active = r.flag();
    p.obelisk_count = r.i32();
    p.ultimate_artifact = r.u8();
    p.dig_x = r.i32();
    p.dig_y = r.i32();
    p.artifact_awarded = r.flag();
    for (int32_t& v : p.layout) v = r.i32();
    for (int32_t& v : p.pieces) v = r.i32();
    for (int32_t& v : p.visited_count) v = r.i32();
    const uint32_t n = r.count(kObeliskEntryBytes);
    for (uint32_t i = 0; i < n; ++i) {
        const int32_t key = r.i32();
        p.visited_obelisks[key] = r.u8();
    }
    return true;
}

void w_elim(ByteWriter& w, const SavedEliminationState* e) {
    if (!e) {
        w.u8(0);
        return;
    }
    w.u8(1);
    for (const PlayerEliminationRecord& rec : e->players) {
        w.u8(rec.eliminated);
        w.i32(rec.days_left);
        w.u8(rec.countdown_notice);
        w.u8(rec.notice_pending);
    }
}

void r_elim(ByteReader& r, SavedEliminationState& e) {
    e = SavedEliminationState{};
    if (r.u8() == 0) return;
    for (PlayerEliminationRecord& rec : e.players) {
        rec.eliminated = r.flag() ? 1 : 0;
        rec.days_left = r.i32();
        rec.countdown_notice = r.flag() ? 1 : 0;
        rec.notice_pending = r.flag() ? 1 : 0;
    }
}

namespace {
constexpr uint8_t kTargetLeftBit = 1;
constexpr uint8_t kDragonLeftBit = 2;

uint8_t goal_progress_bits(const ScenarioVictory& v) {
    return (uint8_t)((v.target_left_start ? kTargetLeftBit : 0u) | (v.dragon_left_start ? kDragonLeftBit : 0u));
}
}  // namespace

bool goal_progress_written(const ScenarioVictory& v) { return goal_progress_bits(v) != 0; }

void w_goal_progress(ByteWriter& w, const ScenarioVictory& v) {
    // Written only once something has changed hands, so other saves keep the older layout byte for byte.
    if (goal_progress_written(v)) w.u8(goal_progress_bits(v));
}

void r_goal_progress(ByteReader& r, ScenarioVictory& v, bool marked) {
    // Only the byte the writer makes counts: a marked save's next byte, or the lone last byte of a save from
    // before the mark. Anything else after the elimination part (a line ending added by a text-mode copy)
    // is not ours; saves without the byte have had nothing change hands.
    const uint8_t bits = marked || r.left() == 1 ? r.u8() : 0;
    const bool ours = (bits & ~(kTargetLeftBit | kDragonLeftBit)) == 0;
    v.target_left_start = ours && (bits & kTargetLeftBit) ? 1 : 0;
    v.dragon_left_start = ours && (bits & kDragonLeftBit) ? 1 : 0;
}

}  // namespace vorn1
