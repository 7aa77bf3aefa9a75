#pragma once
// One army stack in detail: the creature view with Exit and Dismiss (a quick second click on a
// slot) and the right-click panel without buttons.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <string>
#include <vector>

#include "town/troop_move.h"

namespace vorn1 {

struct BattleResources;
struct Resources;
class EventSystem;

struct ArmyViewInfo {
    bool open = false;
    SlotAddr slot;
    uint8_t creature = EMPTY_ID;
    int32_t count = 0;
    int32_t castle = -1;
    int32_t hero = -1;
    int32_t attack = 0;  // hero skill plus artifact bonus, at most 127; 0 without a hero
    int32_t defense = 0;
    int8_t morale = 0;   // -3..3; 0 without a hero
    int8_t luck = 0;
};

struct ViewArmyFrame {
    SDL_Texture* tex = nullptr;
    int w = 0;
    int h = 0;
};

// Fills the view record of a slot; false when the army does not resolve or the slot is empty.
bool fill_army_view_info(ArmyViewInfo& info, const SlotAddr& slot, const GameState& game, int castle, int hero);

// The statistics lines under the name, in drawing order.
std::vector<std::string> army_view_stat_lines(uint8_t creature, int count, int attack, int defense, int8_t morale,
                                              int8_t luck);

class ArmyViewSystem {
public:
    static constexpr SDL_Rect kPanelRect{119, 125, 402, 229};
    static constexpr const char* kEntry = "VIEWARMY.ICN";
    static constexpr int kButtonTop = kPanelRect.y + kPanelRect.h - 47;  // Exit's and Dismiss's top edge

    ArmyViewSystem() = default;
    ~ArmyViewSystem();
    ArmyViewSystem(const ArmyViewSystem&) = delete;
    ArmyViewSystem& operator=(const ArmyViewSystem&) = delete;

    BattleResources* battle_res = nullptr;
    Resources* res = nullptr;
    SDL_Renderer* renderer = nullptr;
    TTF_Font* main_font = nullptr;
    TTF_Font* small_font = nullptr;
    EventSystem* events = nullptr;
    GameState* pending_game = nullptr;  // the game a pending dismiss confirmation will change
    std::vector<ViewArmyFrame> frames;
    ArmyViewInfo view;
    bool exit_pressed = false;
    bool dismiss_pressed = false;
    bool dismiss_locked = false;  // a hero's only stack
    bool read_only = false;       // no Dismiss button at all
    SDL_Rect exit_rect{};
    SDL_Rect dismiss_rect{};
    ArmyViewInfo tip;

    void init(BattleResources* battle, Resources* resources, SDL_Renderer* r, TTF_Font* main, TTF_Font* small,
              EventSystem* ev);
    void ensure_viewarmy_loaded();
    // False, nothing changed, when the view is already open or the slot is empty or unknown.
    bool open_dialog(const SlotAddr& slot, const GameState& game, int castle, int hero, bool read_only);
    void open_tooltip(const SlotAddr& slot, const GameState& game, int castle, int hero);
    // True when consumed: mouse events while the view is open; keys pass through.
    bool handle_event(const SDL_Event& e, GameState& game);
    // Closes the view and the panel and forgets a pending confirmation.
    void clear();
    static int count_filled(const uint8_t* ids, const uint16_t* counts);

    void draw_dialog(int tick);
    void draw_tooltip();
    SDL_Rect draw_viewarmy_bg();
    void draw_stat_block(int x, int y, int width, uint8_t creature, int count, int attack, int defense, int8_t morale,
                         int8_t luck);
    void render_text(const std::string& s, int x, int y, SDL_Color c, bool centre, int width, TTF_Font* font);

private:
    bool dismiss_usable() const { return !dismiss_locked && !read_only; }
    void dismiss(GameState& game);
    void empty_viewed_slot(GameState& game);
    void draw_creature_and_count(const ArmyViewInfo& info, const SDL_Rect& panel, int tick);
    void free_frames();
};

}  // namespace vorn1
