#include "town/army_view.h"

#include <algorithm>
#include <iostream>

#include "assets/dialog_utils.h"
#include "assets/render_utils.h"
#include "assets/resources.h"
#include "world/creature_table.h"
#include "battle/morale_luck.h"
#include "events/event.h"
#include "lang/lang_icn_override.h"
#include "lang/runtime_strings.h"

namespace vorn1 {

namespace {

bool in(const SDL_Rect& r, int x, int y) {
    const SDL_Point p{x, y};
    return SDL_PointInRect(&p, &r);
}

const Army* army_of(const GameState& game, const SlotAddr& slot, int castle, int hero) {
    if (slot.context == SLOT_GARRISON) {
        if (castle < 0 || static_cast<size_t>(castle) >= game.castles.size()) return nullptr;
        return &game.castles[static_cast<size_t>(castle)].garrison;
    }
    return game.valid_hero(hero) ? &game.heroes[static_cast<size_t>(hero)].army : nullptr;
}

const char* speed_key(int speed) {
    if (speed == 1) return "SPEED_SLOW";
    if (speed == 3) return "SPEED_FAST";
    return "SPEED_MEDIUM";
}

}  // namespace

bool fill_army_view_info(ArmyViewInfo& info, const SlotAddr& slot, const GameState& game, int castle, int hero) {
    if (!slot.valid()) return false;
    const Army* army = army_of(game, slot, castle, hero);
    if (!army || army->slot_empty(slot.index)) return false;
    info = ArmyViewInfo{};
    info.open = true;
    info.slot = slot;
    info.creature = army->ids[static_cast<size_t>(slot.index)];
    info.count = army->counts[static_cast<size_t>(slot.index)];
    info.castle = castle;
    info.hero = hero;
    if (game.valid_hero(hero)) {
        const HeroState& h = game.heroes[static_cast<size_t>(hero)];
        info.attack = std::min(h.attack + h.artifact_bonus[0], 127);
        info.defense = std::min(h.defense + h.artifact_bonus[1], 127);
        info.morale = hero_battle_morale(h);
        info.luck = hero_battle_luck(h);
    }
    return true;
}

std::vector<std::string> army_view_stat_lines(uint8_t creature, int count, int attack, int defense, int8_t morale,
                                              int8_t luck) {
    const CreatureStats s = creature_stats(creature);
    auto n = [](long long v) { return std::to_string(v); };
    const StringTable& t = strings();
    std::vector<std::string> lines;
    lines.push_back(t.format("BATTLE_STAT_ATK_SKILL", {n(s.attack), n(s.attack + attack)}));
    lines.push_back(t.format("BATTLE_STAT_DEF_SKILL", {n(s.defense), n(s.defense + defense)}));
    if (s.shooter) lines.push_back(t.format("TROOP_STAT_SHOTS", {n(s.shots)}));
    lines.push_back(t.format("BATTLE_STAT_DAMAGE", {n(s.min_dmg), n(s.max_dmg)}));
    lines.push_back(t.format("TROOP_STAT_HP", {n(s.hp), n(static_cast<long long>(s.hp) * count)}));
    lines.push_back(t.format("BATTLE_STAT_SPEED", {t.get(speed_key(s.speed))}));
    lines.push_back(t.format("BATTLE_STAT_MORALE", {morale_label(morale)}));
    lines.push_back(t.format("BATTLE_STAT_LUCK", {luck_label(luck)}));
    return lines;
}

ArmyViewSystem::~ArmyViewSystem() { free_frames(); }

void ArmyViewSystem::free_frames() {
    for (ViewArmyFrame& f : frames)
        if (f.tex) SDL_DestroyTexture(f.tex);
    frames.clear();
}

void ArmyViewSystem::init(BattleResources* battle, Resources* resources, SDL_Renderer* r, TTF_Font* main,
                          TTF_Font* small, EventSystem* ev) {
    battle_res = battle;
    res = resources;
    renderer = r;
    main_font = main;
    small_font = small;
    events = ev;
}

void ArmyViewSystem::ensure_viewarmy_loaded() {
    if (!frames.empty() || !res || !res->archive || !renderer) return;
    IcnTextures set;
    const IcnLoadResult got = load_icn_textures(renderer, *res->archive, res->palette, kEntry, true, set);
    if (got.status == IcnLoad::Corrupt) std::cerr << "  WARN " << kEntry << ": " << got.error << "\n";
    if (res->language != EN) {
        const auto repl = load_lang_icn_override(lang_assets_root(), lang_code(res->language), "VIEWARMY");
        apply_icn_override(renderer, repl, set);
    }
    for (int i = 0; i < set.count(); ++i) frames.push_back({set.frames[static_cast<size_t>(i)], set.size(i).x, set.size(i).y});
    set.frames.clear();  // the list owns them now
}

bool ArmyViewSystem::open_dialog(const SlotAddr& slot, const GameState& game, int castle, int hero, bool ro) {
    if (view.open) return false;
    ArmyViewInfo info;
    if (!fill_army_view_info(info, slot, game, castle, hero)) return false;
    view = info;
    dismiss_locked = false;
    if (slot.context != SLOT_GARRISON) {
        const Army* army = army_of(game, slot, castle, hero);
        dismiss_locked = army && count_filled(army->ids.data(), army->counts.data()) < 2;
    }
    exit_pressed = dismiss_pressed = false;
    read_only = ro;
    exit_rect = {413, kButtonTop, 72, 27};
    dismiss_rect = {331, kButtonTop, 72, 27};
    return true;
}

void ArmyViewSystem::open_tooltip(const SlotAddr& slot, const GameState& game, int castle, int hero) {
    ArmyViewInfo info;
    if (fill_army_view_info(info, slot, game, castle, hero)) tip = info;
}

int ArmyViewSystem::count_filled(const uint8_t* ids, const uint16_t* counts) {
    return TroopMoveSystem::count_filled_slots(ids, counts);
}

void ArmyViewSystem::clear() {
    view = ArmyViewInfo{};
    tip = ArmyViewInfo{};
    exit_pressed = dismiss_pressed = false;
    pending_game = nullptr;
}

void ArmyViewSystem::empty_viewed_slot(GameState& game) {
    uint8_t* ids = nullptr;
    uint16_t* counts = nullptr;
    if (!TroopMoveSystem::resolve_arrays(view.slot.context, game, view.castle, view.hero, ids, counts)) return;
    if (!view.slot.valid()) return;
    ids[view.slot.index] = EMPTY_ID;
    counts[view.slot.index] = 0;
}

void ArmyViewSystem::dismiss(GameState& game) {
    if (!events) {
        empty_viewed_slot(game);
        clear();
        return;
    }
    EventDef def;
    def.text = strings().get("TROOP_DISMISS_ARMY");
    def.buttons = {EVENT_BUTTON_ACCEPT, EVENT_BUTTON_DECLINE};
    pending_game = &game;
    events->open_announcement(def, SDL_Rect{0, 0, 640, 480}, [this](EventResult r) {
        // A clear() in the meantime (the screen closed) drops the confirmation.
        GameState* g = pending_game;
        pending_game = nullptr;
        if (!g || !view.open || r.button != EVENT_BUTTON_ACCEPT) return;
        empty_viewed_slot(*g);
        clear();
    });
}

bool ArmyViewSystem::handle_event(const SDL_Event& e, GameState& game) {
    if (!view.open) return false;
    switch (e.type) {
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT) {
                if (in(exit_rect, e.button.x, e.button.y)) exit_pressed = true;
                else if (dismiss_usable() && in(dismiss_rect, e.button.x, e.button.y)) dismiss_pressed = true;
            }
            return true;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT) {
                const bool over_exit = in(exit_rect, e.button.x, e.button.y);
                const bool over_dismiss = in(dismiss_rect, e.button.x, e.button.y);
                if (exit_pressed) {
                    exit_pressed = false;
                    if (over_exit) clear();
                } else if (dismiss_pressed && dismiss_usable() && over_dismiss) {
                    dismiss_pressed = false;
                    dismiss(game);
                } else {
                    exit_pressed = dismiss_pressed = false;
                }
            }
            return true;
        case SDL_MOUSEMOTION:
            return true;
        default:  // keys too: they reach the screen beneath and the view stays
            return false;
    }
}

}  // namespace vorn1
