// Deciding what a visit does: the built-in event definitions and EventSystem::try_trigger.
#include <SDL_mixer.h>

#include <cstdio>
#include <cstring>

#include "events/event.h"
#include "events/event_actions.h"
#include "lang/runtime_strings.h"
#include "world/trade_rates.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

// Site look-ups of event_actions.cpp (first record at the tile that still has something).
int event_chest_at(const GameState& s, int x, int y);
int event_artifact_at(const GameState& s, int x, int y);
int event_pile_at(const GameState& s, int x, int y);
int event_campfire_at(const GameState& s, int x, int y);
int event_hut_at(const GameState& s, int x, int y);
int event_shrine_at(const GameState& s, int x, int y);
int event_mill_at(const GameState& s, int x, int y);

namespace {

constexpr const char* kPickupSound = "PICKUP01.82M";

std::string resource_name(int kind) {
    return strings().get("EVENT_RESOURCE_NAME_" + std::to_string(kind >= 0 && kind <= 6 ? kind : 6));
}

std::string creature_plural(uint8_t id) {
    if (id >= kCreatureKeyStem.size()) return std::string();
    return strings().get(std::string("CREATURE_") + kCreatureKeyStem[id] + "_PLURAL");
}

EventDef make_def(uint8_t type, const char* title, const char* text, std::vector<EventButtonId> buttons,
                  int mode, const char* sound = "") {
    EventDef d;
    d.type = type;
    d.title = title;
    d.text = text;
    d.buttons = std::move(buttons);
    d.mode = mode;
    d.sound = sound;
    return d;
}

}  // namespace

void EventSystem::install_builtin_defs() {
    const std::vector<EventButtonId> ok{EVENT_BUTTON_OK};
    const std::vector<EventButtonId> yes_no{EVENT_BUTTON_ACCEPT, EVENT_BUTTON_DECLINE};
    // Titles and texts are string-table keys, formatted when the dialog opens.
    register_def(make_def(OBJ_TRADING_POST, "EVENT_TITLE_TRADING_POST", "EVENT_TRADING_POST_CLOSED", ok, 1));
    register_def(make_def(OBJ_CHEST, "EVENT_TITLE_CHEST", "EVENT_CHEST_TEXT", yes_no, 2, kPickupSound));
    register_def(make_def(OBJ_RESOURCE, "EVENT_TITLE_RESOURCE", "EVENT_RESOURCE_TEXT", ok, 2, kPickupSound));
    register_def(make_def(OBJ_ARTIFACT, "EVENT_TITLE_ARTIFACT", "EVENT_ARTIFACT_TEXT", ok, 2, kPickupSound));
    register_def(make_def(OBJ_THIEVES_DEN, "EVENT_TITLE_THIEVES_DEN", "EVENT_THIEVES_DEN_TEXT", ok, 1));
    register_def(make_def(OBJ_DWELLING, "EVENT_TITLE_DWELLING", "EVENT_DWELLING_TEXT", ok, 2));
    register_def(make_def(OBJ_GRAVEYARD, "EVENT_TITLE_GRAVEYARD", "EVENT_GRAVEYARD_TEXT", yes_no, 2));
    register_def(make_def(OBJ_FAERIE_RING, "EVENT_TITLE_FAERIE_RING", "EVENT_FAERIE_RING_TEXT", ok, 1));
    register_def(make_def(OBJ_FOUNTAIN, "EVENT_TITLE_FOUNTAIN", "EVENT_FOUNTAIN_TEXT", ok, 1));
    register_def(make_def(OBJ_ANGEL_STATUE, "EVENT_TITLE_ANGEL_STATUE", "EVENT_ANGEL_STATUE_TEXT", ok, 1));
    register_def(make_def(OBJ_BUOY, "EVENT_TITLE_BUOY", "EVENT_BUOY_TEXT", ok, 1));
    register_def(make_def(OBJ_OASIS, "EVENT_TITLE_OASIS", "EVENT_OASIS_TEXT", ok, 1));
    register_def(make_def(OBJ_DRAGON_CITY, "EVENT_TITLE_DRAGON_CITY", "EVENT_DRAGON_CITY_TEXT", yes_no, 2));
    register_def(make_def(OBJ_MINE, "EVENT_TITLE_MINE", "EVENT_MINE_TEXT", ok, 1));
    register_def(make_def(OBJ_LIGHTHOUSE, "EVENT_TITLE_LIGHTHOUSE", "EVENT_LIGHTHOUSE_TEXT", ok, 1));
    register_def(make_def(OBJ_SHRINE, "EVENT_TITLE_SHRINE", "EVENT_SHRINE_TEXT", ok, 1));
    register_def(make_def(OBJ_OBELISK, "EVENT_TITLE_OBELISK", "EVENT_OBELISK_TEXT", ok, 1));
    register_def(make_def(OBJ_CAMPFIRE, "EVENT_TITLE_CAMPFIRE", "EVENT_CAMPFIRE_TEXT", ok, 2, kPickupSound));
    register_def(make_def(OBJ_MILL, "EVENT_TITLE_MILL", "EVENT_MILL_TEXT", ok, 1));
    register_def(make_def(OBJ_SHIPWRECK, "EVENT_TITLE_SHIPWRECK", "EVENT_SHIPWRECK_TEXT", yes_no, 2));
    register_def(make_def(OBJ_ARTIFACT_AMBUSH, "EVENT_TITLE_ARTIFACT", "EVENT_AMBUSH_TEXT", ok, 2));
    register_def(make_def(OBJ_ARTIFACT_AMBUSH_B, "EVENT_TITLE_ARTIFACT", "EVENT_AMBUSH_TEXT", ok, 2));
}

void EventSystem::load(const Resources* res, const AggArchive* archive, TTF_Font* font, TTF_Font* small_font,
                       bool audio_ok) {
    res_ = res;
    archive_ = archive;
    font_ = font;
    small_font_ = small_font;
    audio_ok_ = audio_ok;
    dialog_ = Dialog{};
    dialog_open = false;
    queue_.clear();
    resource_flash = false;
    resource_flash_ms = 0.0f;
    dialog_artifact = -1;
    timed_status = false;
    timed_status_ms = 0.0f;
    status_text.clear();
    visits = VisitRecords{};
    defs_.clear();
    install_builtin_defs();
}

bool EventSystem::try_trigger(const GameMap& map, const GameState& state, int hero, int x, int y, SDL_Rect area,
                              EventCallback cb) {
    if (!state.valid_hero(hero)) return false;
    const MapTile* tile = map.tile(x, y);
    if (!tile) return false;
    const HeroState& h = state.heroes[hero];
    const int player = h.owner;
    const uint8_t type = tile->object_type;

    EventResult r;
    r.type = type;
    r.hero = hero;
    r.x = x;
    r.y = y;

    auto at_once = [&](const EventResult& res) {
        record_visit(x, y, hero);
        if (cb) cb(res);
        return true;
    };
    // Opens the dialog of a definition with its text formatted from `args`.
    auto show = [&](uint8_t def_type, const std::string& text_key, const std::vector<std::string>& args,
                    std::vector<EventIcon> icons, std::vector<EventButtonId> buttons, bool accept_battle = false,
                    uint8_t force_button = 0) {
        const EventDef* base = find_def(def_type);
        Dialog d;
        if (base) d.def = *base;
        d.def.type = type;
        d.def.title = d.def.title.empty() ? std::string() : strings().get(d.def.title);
        d.def.text = strings().format(text_key, args);
        d.def.icons = std::move(icons);
        if (!buttons.empty()) d.def.buttons = std::move(buttons);
        d.area = area;
        d.result = r;
        d.accept_battle = accept_battle;
        d.force_button = force_button;
        d.callback = std::move(cb);
        record_visit(x, y, hero);
        open_dialog(std::move(d));
        return true;
    };
    const std::vector<EventButtonId> ok{EVENT_BUTTON_OK};
    const std::vector<EventButtonId> yes_no{EVENT_BUTTON_ACCEPT, EVENT_BUTTON_DECLINE};

    // Visits that need no dialog.
    if (tile->is_town_entrance()) {
        const int town = state.castle_at(x, y);
        if (town >= 0) {
            if (is_player_index(player) && state.castles[town].owner == player) r.enter_castle = 1;
            else r.town_battle = 1;
            return at_once(r);
        }
        if (state.garrison_at(x, y) >= 0) {
            r.town_battle = 1;
            return at_once(r);
        }
        return false;
    }
    if (type == OBJ_PORTAL) {
        r.teleport = 1;
        return at_once(r);
    }
    if (type == OBJ_TRADING_POST) {
        r.choice = SITE_TRADING_POST;
        if (trade_enabled) {
            r.open_trading_post = 1;
            r.count = count_player_thieves_guilds(state, player) + 1;
            return at_once(r);
        }
        return show(OBJ_TRADING_POST, "EVENT_TRADING_POST_CLOSED", {}, {}, ok);
    }

    // Guarded sites: accepting means fighting the guards.
    if (type == OBJ_GRAVEYARD) {
        r.site_kind = GUARDED_GRAVEYARD;
        r.site_level = static_cast<int8_t>(tile->object_detail <= 3 ? tile->object_detail : 0);
        return show(OBJ_GRAVEYARD, "EVENT_GRAVEYARD_TEXT", {}, {}, yes_no, true);
    }
    if (type == OBJ_SHIPWRECK) {
        r.site_kind = GUARDED_SHIPWRECK;
        return show(OBJ_SHIPWRECK, "EVENT_SHIPWRECK_TEXT", {}, {}, yes_no, true);
    }
    if (type == OBJ_DRAGON_CITY) {
        if (state.dragon_city.active && state.dragon_city.owner == player && is_player_index(player))
            return show(OBJ_DRAGON_CITY, "EVENT_DRAGON_CITY_OWNED", {}, {}, ok);
        r.site_kind = GUARDED_DRAGON_CITY;
        return show(OBJ_DRAGON_CITY, "EVENT_DRAGON_CITY_TEXT", {}, {}, yes_no, true);
    }
    const int art = event_artifact_at(state, x, y);
    const bool ambush = type == OBJ_ARTIFACT_AMBUSH || type == OBJ_ARTIFACT_AMBUSH_B ||
                        (art >= 0 && state.map_artifacts[art].guard_kind == 1);
    if (ambush) {
        if (art < 0) return false;
        const ArtifactState& a = state.map_artifacts[art];
        r.site_battle = 1;
        r.site_kind = GUARDED_ARTIFACT;
        r.artifact = static_cast<int8_t>(a.artifact);
        return show(OBJ_ARTIFACT_AMBUSH, "EVENT_AMBUSH_TEXT", {artifact_display_name(a.artifact).value_or("")},
                    {{"ARTIFACT.ICN", a.artifact, ""}}, ok, false, EVENT_BUTTON_ACCEPT);
    }
    if (type == OBJ_OBELISK) {
        r.visit_flag = 1;
        r.choice = SITE_OBELISK;
        return show(OBJ_OBELISK, "EVENT_OBELISK_TEXT", {}, {}, ok);
    }
    if (const uint8_t bit = bonus_bit_of_type(type)) {
        if (h.visit_flags & bit) return show(type, "EVENT_BONUS_VISITED", {}, {}, ok);
        r.choice = SITE_BONUS;
        r.bonus_bit = bit;
        // The site's own text key is the one its built-in definition carries.
        const EventDef* def = find_def(type);
        return show(type, def ? def->text : std::string("EVENT_BONUS_VISITED"), {}, {}, ok);
    }
    if (type == OBJ_THIEVES_DEN) {
        r.open_thieves_guild = 1;
        r.choice = SITE_THIEVES_DEN;
        return show(OBJ_THIEVES_DEN, "EVENT_THIEVES_DEN_TEXT", {}, {}, ok);
    }

    // Sites found by their record at the tile.
    const int mine = state.mine_at(x, y);
    if (mine >= 0) {
        const MineState& m = state.mines[mine];
        const std::string res_name = resource_name(m.kind);
        const std::vector<EventIcon> icons{{"RESOURCE.ICN", m.kind, ""}};
        if (m.owner == player) return show(OBJ_MINE, "EVENT_MINE_OWNED", {res_name}, icons, ok);
        r.choice = SITE_MINE;
        return show(OBJ_MINE, "EVENT_MINE_TEXT", {res_name}, icons, ok);
    }
    if (state.lighthouse.active && state.lighthouse.x == x && state.lighthouse.y == y) {
        if (state.lighthouse.owner == player) return show(OBJ_LIGHTHOUSE, "EVENT_LIGHTHOUSE_OWNED", {}, {}, ok);
        r.choice = SITE_LIGHTHOUSE;
        return show(OBJ_LIGHTHOUSE, "EVENT_LIGHTHOUSE_TEXT", {}, {}, ok);
    }
    if (const int c = event_chest_at(state, x, y); c >= 0) {
        const int32_t gold = state.chests[c].value;
        r.choice = SITE_CHEST;
        return show(OBJ_CHEST, "EVENT_CHEST_TEXT", {std::to_string(gold), std::to_string(std::max(0, gold - 500))},
                    {{"RESOURCE.ICN", MINE_GOLD, std::to_string(gold)}}, yes_no);
    }
    if (art >= 0) {
        const ArtifactState& a = state.map_artifacts[art];
        const std::string name = artifact_display_name(a.artifact).value_or("");
        const std::vector<EventIcon> icons{{"ARTIFACT.ICN", a.artifact, ""}};
        if (h.free_artifact_slot() < 0) return show(OBJ_ARTIFACT, "EVENT_ARTIFACT_NO_ROOM", {name}, icons, ok);
        r.choice = SITE_ARTIFACT;
        if (a.guard_kind == 2) {
            const bool can_pay = is_player_index(player) && state.resources[player].gold >= kPaidArtifactGold;
            if (!can_pay) {
                r.choice = SITE_NONE;
                return show(OBJ_ARTIFACT, "EVENT_ARTIFACT_CANNOT_PAY", {name, std::to_string(kPaidArtifactGold)},
                            icons, ok);
            }
            r.pay_gold = 1;
            return show(OBJ_ARTIFACT, "EVENT_ARTIFACT_PAY", {name, std::to_string(kPaidArtifactGold)}, icons, yes_no);
        }
        return show(OBJ_ARTIFACT, "EVENT_ARTIFACT_TEXT", {name}, icons, ok);
    }
    if (const int p = event_pile_at(state, x, y); p >= 0) {
        const ResourcePileState& pile = state.resource_piles[p];
        r.choice = SITE_RESOURCE;
        return show(OBJ_RESOURCE, "EVENT_RESOURCE_TEXT", {std::to_string(pile.amount), resource_name(pile.kind)},
                    {{"RESOURCE.ICN", pile.kind, std::to_string(pile.amount)}}, ok);
    }
    if (const int c = event_campfire_at(state, x, y); c >= 0) {
        const CampfireState& f = state.campfires[c];
        r.choice = SITE_CAMPFIRE;
        std::vector<EventIcon> icons{{"RESOURCE.ICN", MINE_GOLD, std::to_string(f.gold)}};
        if (f.kind <= MINE_GEMS) icons.push_back({"RESOURCE.ICN", f.kind, std::to_string(f.amount)});
        return show(OBJ_CAMPFIRE, "EVENT_CAMPFIRE_TEXT",
                    {std::to_string(f.gold), std::to_string(f.kind <= MINE_GEMS ? f.amount : 0), resource_name(f.kind)},
                    icons, ok);
    }
    if (const int hu = event_hut_at(state, x, y); hu >= 0) {
        const MapCreatureHutState& hut = state.huts[hu];
        const std::vector<EventIcon> icons{{"MONS32.ICN", hut.creature, ""}};
        if (hut.available <= 0 || hut.creature >= CREATURE_COUNT)
            return show(OBJ_DWELLING, "EVENT_DWELLING_EMPTY", {creature_plural(hut.creature)}, icons, ok);
        // Creatures of a map dwelling are bought through the recruit dialog.
        r.choice = SITE_DWELLING;
        r.open_recruit = 1;
        r.recruit_creature = hut.creature;
        r.recruit_available = hut.available;
        return show(OBJ_DWELLING, "EVENT_DWELLING_TEXT", {creature_plural(hut.creature), std::to_string(hut.available)},
                    icons, ok);
    }
    if (const int s = event_shrine_at(state, x, y); s >= 0) {
        if (!h.has_spellbook) return show(OBJ_SHRINE, "EVENT_SHRINE_NO_BOOK", {}, {}, ok);
        r.choice = SITE_SHRINE;
        return show(OBJ_SHRINE, "EVENT_SHRINE_TEXT", {}, {}, ok);
    }
    if (const int m = event_mill_at(state, x, y); m >= 0) {
        const MillState& mill = state.mills[m];
        if (mill.flag || mill.amount <= 0) return show(OBJ_MILL, "EVENT_MILL_EMPTY", {}, {}, ok);
        r.choice = SITE_MILL;
        return show(OBJ_MILL, "EVENT_MILL_TEXT", {std::to_string(mill.amount)},
                    {{"RESOURCE.ICN", MINE_GOLD, std::to_string(mill.amount)}}, ok);
    }
    return false;
}

}  // namespace vorn1
