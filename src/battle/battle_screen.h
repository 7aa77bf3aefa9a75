#pragma once
// The one long-lived battle record: sides, stacks, turn order, siege state, and the rules that
// belong to the record itself. Drawing lives elsewhere; nothing here needs art to be loaded.
#include <SDL.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "assets/battle_sky_cycle.h"
#include "battle/battle_resources.h"
#include "battle/battle_result.h"
#include "battle/battle_spell.h"
#include "battle/battle_types.h"

typedef struct _TTF_Font TTF_Font;

namespace vorn1 {

// Developer builds (VORN1_DEV_KEYS) answer keys no player should have, such as F12 winning a battle.
#ifdef VORN1_DEV_KEYS
inline constexpr bool kDeveloperKeys = true;
#else
inline constexpr bool kDeveloperKeys = false;
#endif

struct Resources;
struct GameState;
struct HeroState;
struct GameMap;

// Shapes of the combat cursor: frame indexes of its sprite set.
enum BattleCursor : int {
    CursorNone = 0, CursorWalk, CursorFly, CursorShoot, CursorAttackerHero, CursorInfo, CursorSpell,
    CursorStrikeUpRight, CursorStrikeRight, CursorStrikeDownRight, CursorStrikeDownLeft, CursorStrikeLeft,
    CursorStrikeUpLeft,
};

// Hit-effect animations by kind; frees its textures.
struct DamageIcnSet {
    std::array<std::vector<BattleSprite>, 5> kinds;
    bool loaded = false;
    DamageIcnSet() = default;
    ~DamageIcnSet();
    DamageIcnSet(const DamageIcnSet&) = delete;
    DamageIcnSet& operator=(const DamageIcnSet&) = delete;
    void release();
};

// A dialog's art loaded on first use: its frames and an optional picture, freed together.
struct SpriteList {
    std::vector<BattleSprite> frames;
    SDL_Texture* picture = nullptr;
    bool loaded = false;
    SpriteList() = default;
    ~SpriteList();
    SpriteList(const SpriteList&) = delete;
    SpriteList& operator=(const SpriteList&) = delete;
    void release();
};

// The stat lines of a stack's information panel, in drawing order (a shooter has eight, others seven).
std::vector<std::string> battle_stack_stat_lines(const BattleUnit& u, int attack_bonus, int defense_bonus,
                                                 int8_t morale, int8_t luck);

// A stack's information panel over the field, and the top of its exit button.
inline constexpr SDL_Rect kCreaturePanelRect{119, 115, 402, 229};
inline constexpr int kCreaturePanelButtonTop = kCreaturePanelRect.y + kCreaturePanelRect.h - 47;

// Mixer volume of a battle sound at an effects level: 0 at 0 or below, 128 at 10 or above.
int battle_effect_volume(int level);

// One step of a walking path.
struct HexStep {
    int32_t row = 0;
    int32_t col = 0;
    bool operator==(const HexStep&) const = default;
};

// The sounds the battle rules ask for; the sound part maps them to its entries.
enum class BattleSfx : uint8_t {
    Attack, Wince, Move, Shoot, GoodLuck, BadLuck, GoodMorale, BadMorale, Catapult, BoulderImpact, KeepShoot, SpellFizzle,
};

// What a blow left on the stack it struck: drawn as a hit effect and a wince.
struct HitRecord {
    uint8_t kind = 0;     // DamageAnimKind
    uint8_t killed = 0;
    int32_t reaction = -1;  // last wince frame: 9 killed, 3 lost creatures, -1 none lost
    int32_t x = 0;
    int32_t y = 0;
};

// Movement range of a stack this turn: the creature's range, changed by Slow and Haste.
int battle_move_range(const BattleUnit& u);
// Screen point of a hex's foot line centre (where hit effects are anchored).
void hex_foot_point(int row, int col, int& x, int& y);

class BattleScreen {
public:
    // One obstacle standing on the field (placed by the scenery).
    struct FieldObject {
        SDL_Rect rect{0, 0, 0, 0};
        int row = 0;
        int col = 0;
        int kind = 0;
        int layer = 0;  // 1: drawn after the stacks
    };

    // Where a side's hero figure stands and which banner and emblem go with it.
    struct HeroTentGeom {
        SDL_Texture* figure = nullptr;
        SDL_Rect rect{0, 0, 76, 100};
        int base_y = 0;
        bool mirrored = false;
        const BattleSprite* banner = nullptr;
        const BattleSprite* emblem = nullptr;
        int banner_x = 0;
        int banner_y = 0;
        int side = 0;
        bool alt_art = false;  // the figure is the replacement hero art: no banner or emblem
    };

    struct BattleControl {
        std::array<uint8_t, 2> human = {1, 0};  // byte 0 attacker, byte 1 defender; 1 = human
    };

    BattleScreen();
    ~BattleScreen();
    BattleScreen(const BattleScreen&) = delete;
    BattleScreen& operator=(const BattleScreen&) = delete;

    void init(BattleResources* battle_res, Resources* res, SDL_Renderer* renderer, TTF_Font* font,
              TTF_Font* font_small);

    // ---- the four open forms
    void open(int hero, int x, int y, const GameMap& map, GameState& game, unsigned seed, bool no_music);
    void open_neutral_town(int hero, int x, int y, const std::array<uint8_t, 5>& ids,
                           const std::array<int, 5>& counts, const GameMap& map, GameState& game,
                           unsigned seed, bool no_music, const char* background);
    void open_hero_vs_hero(int attacker, int defender, const GameMap& map, GameState& game, unsigned seed,
                           bool no_music, BattleControl control);
    void open_castle_battle(int attacker, int x, int y, int castle, bool hero_defends, int defender,
                            const std::array<uint8_t, 5>& ids, const std::array<int, 5>& counts,
                            const GameMap& map, GameState& game, unsigned seed, BattleControl control);

    // ---- record operations
    BattleUnit* active_unit();
    const BattleUnit* active_unit() const;
    // Stacks by the search order: 0..4 attacker slots, 5..9 defender slots; null outside.
    BattleUnit* unit_by_index(int index);
    const BattleUnit* unit_by_index(int index) const;
    int unit_index(const BattleUnit* u) const;  // -1 when u is not one of the ten stacks
    BattleSide& side(int s) { return s == 0 ? attacker_side : defender_side; }
    const BattleSide& side(int s) const { return s == 0 ? attacker_side : defender_side; }
    // A hero leads side s (one of the game's, when the battle belongs to a game); a garrison has none.
    bool side_has_hero(int s) const;
    void push_message(const std::string& text);
    static BattleControl control_from_heroes(const GameState& game, int attacker_hero, int defender_hero);
    int64_t compute_surrender_cost(bool defender_side_flag) const;
    int64_t side_player_gold(bool defender_side_flag) const;
    // Writes each side's stacks back into its hero's army; every end of a battle calls it.
    void write_back_armies();
    void close();
    // Closes the battle and frees every texture the screen holds, the hit effects too: its owner calls
    // it while the renderer still exists (the renderer takes its textures with it).
    void shutdown();

    // ---- turn order
    void build_turn_queue();
    void advance_turn();
    // ---- siege
    void start_catapult();
    ActionPhase start_keep_shot();
    void apply_wall_damage(int section, int damage);
    bool all_walls_down() const;

    // ---- movement
    std::vector<HexStep> find_path(const BattleUnit& u, int row, int col) const;
    bool find_approach_tile(const BattleUnit& att, const BattleUnit& target, int mouse_x_in, int mouse_y_in,
                            int& out_row, int& out_col, int& out_strike_col) const;
    bool resolve_directional_melee(const BattleUnit& u, int target_row, int target_col, int dir, int& out_row,
                                   int& out_col, int& out_strike_col, bool& out_backward) const;
    bool begin_directional_attack(BattleUnit& att, BattleUnit& target, int target_row, int target_col, int dir);
    void start_move_or_attack(int row, int col);

    // ---- blows
    struct SplashDmgTarget {
        int32_t unit = -1;  // stack index 0..9
        int32_t x = 0;
        int32_t y = 0;
        uint8_t kind = 0;
        int32_t reaction = -1;
        uint8_t killed = 0;
        int32_t hp = 0;
    };
    struct BreathRecord {
        int32_t target = -1;  // stack index 0..9
        uint8_t active = 0;
        uint8_t hit_applied = 0;
        uint8_t died = 0;
        HitRecord hit;
    };
    int compute_damage(const BattleUnit& att, const BattleUnit& def, bool retaliation, uint32_t& rng_state,
                       bool ranged, bool force_double, bool force_half) const;
    bool apply_damage(BattleUnit& u, int dmg);
    void resolve_attack_hit(BattleUnit* att, BattleUnit* def);
    void resolve_retaliation_hit(BattleUnit* retaliator, BattleUnit* target);
    static int attack_frame_idx(int r1, int c1, int r2, int c2, unsigned char creature, bool& flag);
    // Sets up a melee blow of `att` on `target` from the column `origin_col` of att's row at the
    // target's hex (target_row, target_col); a luck effect may go first.
    void start_strike(BattleUnit& att, BattleUnit& target, int origin_col, int target_row, int target_col);
    bool can_shoot(const BattleUnit& u);
    void start_ranged_attack(BattleUnit* shooter_unit, BattleUnit* target);
    static int projectile_frame_idx(const BattleUnit& shooter_unit, const BattleUnit& target);
    void resolve_shot_hit(BattleUnit* shooter_unit, BattleUnit* target);
    void setup_breath_second_target();
    void setup_breath_retal_second_target();
    void resolve_breath_second_hit(BattleUnit* breather, BattleUnit* second);
    void resolve_breath_retal_second_hit(BattleUnit* breather, BattleUnit* second);

    // ---- luck and morale
    bool check_and_start_good_luck_melee(BattleUnit* striker_unit, BattleUnit* target);
    bool check_and_start_good_luck_ranged(BattleUnit* shooter_unit, BattleUnit* target);
    bool check_and_start_good_luck_retaliation(BattleUnit* retaliator);
    bool check_and_start_good_morale(BattleUnit* u);

    // ---- end of battle
    bool check_battle_end();
    void open_result_screen(BattleOutcome result);
    // How the result tells the battle's end (a preview counts as a victory), and its sentence in the
    // catalogue's lines (result_lines about the side it speaks of); the text bar shows a retreat's or a
    // surrender's as one line.
    ResultKind result_kind() const;
    std::vector<std::string> result_sentence() const;
    // A quick-combat result shown on the result overlay with accept and decline; nothing is awarded.
    void open_autobattle_preview(const std::string& title, int experience, const std::array<uint8_t, 5>& att_ids,
                                 const std::array<int32_t, 5>& att_before, const std::array<int32_t, 5>& att_after,
                                 const std::array<uint8_t, 5>& def_ids, const std::array<int32_t, 5>& def_before,
                                 const std::array<int32_t, 5>& def_after, SDL_Texture* portrait);
    void tick_result_screen(float dt_ms);
    int handle_result_event(const SDL_Event& e);  // always consumes the event
    void draw_result_screen();
    // The local player fights as the defender: it plays that side alone.
    bool player_defends() const { return control.human[1] && !control.human[0]; }
    // The side whose stacks a left click inspects rather than attacks: the player's own, i.e. the acting
    // stack's side when a human plays it, else the only human side, else the attacker.
    int panel_side() const;
    bool player_won() const;
    BattleResultState result_screen;

    // ---- automatic combat
    void run_autobattle_turn(BattleUnit* u);
    bool autobattle_check_retreat(BattleUnit& u);
    BattleUnit* autobattle_pick_target(BattleUnit& u);

    // ---- input: every event while the screen is open goes here (mouse in logical coordinates)
    void handle_event(const SDL_Event& e);
    // The two text-bar buttons: automatic combat for a human side, and the end of the acting stack's turn.
    void engage_auto_combat();
    void skip_turn();
    // Hero options dialog and surrender confirmation.
    void open_hero_options(int side_index, bool info_only);
    void open_surrender_confirm(bool defender_side_flag);
    void surrender_confirm_accept();
    void surrender_confirm_decline();
    // Escape's retreat asks first; a yes retreats the side asked for, a no goes back to the battle.
    void ask_retreat(int side_index);
    void answer_retreat(bool yes);
    bool retreat_allowed(int side_index) const;
    bool surrender_allowed() const;

    // ---- frame
    void tick(float dt);
    void tick_combat(float dt);

    // ---- drawing (reads the record; only lazily loaded art is written)
    void draw();
    void draw_units();
    void draw_unit(const BattleUnit& unit, bool mirrored, bool active, int row, int col);
    void draw_unit_badge(int x, int y, int count);
    void draw_glow_outline(const BattleSprite& sprite, bool mirrored, int x, int y, float seconds);
    void draw_damage_anim(int x, int y, int kind, int frame);
    void ensure_damage_icns_loaded();
    // What a click at (x, y) would do, as a cursor shape.
    BattleCursor cursor_for_position(int x, int y);
    static BattleCursor attack_cursor(int r1, int c1, int r2, int c2);
    uint8_t spell_aiming = 0;  // a spell's target is being chosen
    // Siege pieces: the town's floor, back wall, keep, wall sections, catapult and missiles.
    void draw_castle_floor();
    void draw_castle_bg_wall();
    void draw_keep();
    void draw_castle_walls();
    void draw_catapult();
    void draw_boulder();
    void draw_keep_projectile();
    void draw_morale_luck_anim();  // the luck or morale effect over its stack
    // ---- spell animations: the spell state drawn; each art set is loaded once per battle
    void ensure_spell_icn_loaded();
    // Also records the splash frame counts the area and Storm phases run by.
    void ensure_splash_icns_loaded();
    void ensure_attack_dmg_icns_loaded();
    void draw_spell_anim();  // SpellCast: the effect over the target, or the area splash
    void draw_splash_anim();
    void draw_spell_screen_overlay();  // Storm and Armageddon
    void draw_spell_dmg_anim();
    void draw_status_glow(const BattleSprite& sprite, bool flip, int x, int y, float t, bool blue);
    void draw_spell_status_badge(int x, int y, uint8_t status, bool flip);
    void draw_spell_target_cursor();
    void release_spell_art();
    SpriteList spell_icons;                    // "SPELLS.ICN"
    std::array<SpriteList, 3> splash_icns;     // Fireball, Meteor Shower, Storm
    std::array<SpriteList, 2> spell_dmg_icns;  // electric and physical spell hits
    void draw_textbar();
    void draw_combat_cursor(int shape);  // shape = frame of the combat cursor set
    uint8_t textbar_left_pressed = 0;   // set and cleared by the battle input
    uint8_t textbar_right_pressed = 0;
    DamageIcnSet damage_icns;  // hit-effect frames by DamageAnimKind, loaded on first use

    // ---- scenery: the battlefield picture and its obstacles for a map tile, from the battle's seed
    void build_background(const GameMap& map, int x, int y, unsigned seed, bool graveyard);
    SDL_Texture* render_scene(const std::string& bkg, const std::string& xtl, const std::string& obj, unsigned seed);
    SDL_Texture* load_bkg_texture(const std::string& name);
    std::vector<BattleSprite> load_xtl(const std::string& name);

    // ---- hero tents and dialogs
    // The figure of a hero class (above 3 counts as 0) and its size; null without art.
    SDL_Texture* hero_figure(int hero_class, int& w, int& h) const;
    bool resolve_hero_tent_geom(int side_index, HeroTentGeom& geom) const;
    void draw_hero_tent_body(int side_index);
    void draw_hero_tent_banners();
    SDL_Texture* load_hero_portrait(uint8_t id);  // the caller destroys it
    void draw_general_options();
    SDL_Rect draw_viewarmy_bg();
    void draw_creature_tooltip(const BattleUnit& u);
    void draw_creature_view_dialog(const BattleUnit& u);
    void draw_creature_stat_block(int x, int y, int w, const BattleUnit& u, int attack_bonus, int defense_bonus,
                                  int8_t morale, int8_t luck);
    void draw_surrender_confirm();
    void draw_retreat_question();
    SpriteList viewgen_art;
    SpriteList viewarmy_art;
    SpriteList surrender_art;

    // ---- hex field
    static void hex_to_screen(int row, int col, int& x, int& y);
    static SDL_Rect hex_rect(int row, int col);
    SDL_Rect unit_sprite_rect_at(const BattleUnit& u, bool flip, int row, int col) const;
    SDL_Rect unit_sprite_rect(const BattleUnit& u, bool flip) const;
    SDL_Rect unit_sprite_center_rect(const BattleUnit& u, bool flip) const;
    BattleUnit* unit_at_screen(int x, int y);
    bool point_in_tent(int x, int y) const;
    static int hex_distance(int r1, int c1, int r2, int c2);
    static int screen_hex_distance(int r1, int c1, int r2, int c2);
    static float move_step_span_dur(int r1, int c1, int r2, int c2);
    BattleUnit* unit_at_hex(int row, int col);
    const BattleUnit* unit_at_hex(int row, int col) const;
    bool hex_occupied(int row, int col, const BattleUnit* ignore) const;
    BattleUnit* adjacent_enemy(int row, int col, bool side_flag);
    bool hex_is_hard_blocked(int row, int col) const;
    bool can_occupy(const BattleUnit& u, int row, int col) const;
    int flyer_landing_col(const BattleUnit& u, int row, int col) const;
    bool melee_attack_origin(const BattleUnit& u, int row, int col, int& origin_col) const;

    // ---- services
    BattleResources* battle_res = nullptr;
    Resources* res = nullptr;
    SDL_Renderer* renderer = nullptr;
    TTF_Font* font = nullptr;
    TTF_Font* font_small = nullptr;
    GameState* game = nullptr;

    // Seams to the scenery and music parts: called where an open builds the battlefield (after the
    // previous field's textures are released) or starts the music; left empty, the battle runs on a
    // bare field in silence.
    // Scenery: (battle, map, tile x, tile y, seed, graveyard flag, background picture or empty).
    std::function<void(BattleScreen&, const GameMap&, int, int, unsigned, bool, const std::string&)> scenery_hook;
    std::function<void(BattleScreen&, unsigned)> music_hook;
    // Millisecond tick count used for a zero seed; SDL_GetTicks when empty.
    std::function<uint32_t()> tick_source;

    // ---- life
    uint8_t active = 0;
    BattleControl control;
    // F12 wins at once for the one human side.
    bool developer_keys = kDeveloperKeys;

    // ---- result record
    uint8_t outcome = OutcomeNone;
    uint8_t attacker_won = 0;
    std::array<int32_t, 10> casualties{};
    std::array<uint8_t, 10> casualty_ids{};
    int32_t bonus_experience = 0;
    int32_t result_experience = 0;  // shown and awarded to the winner

    std::array<int32_t, 5> defender_start_counts{};
    std::array<int32_t, 5> attacker_start_counts{};
    std::array<int32_t, 5> garrison_slot = {-1, -1, -1, -1, -1};

    BattleSide attacker_side;
    BattleSide defender_side;
    SDL_Rect attacker_tent_rect{0, 0, 0, 0};
    SDL_Rect defender_tent_rect{0, 0, 0, 0};

    uint8_t monster_id = kNoCreature;
    int32_t monster_count = 0;

    std::array<BattleUnit, 5> attackers;
    std::array<BattleUnit, 5> defenders;

    // ---- turn order and the acting stack
    std::vector<TurnEntry> queue;
    int32_t current = -1;
    float phase_time = 0.0f;
    ActionPhase phase = ActionPhase::Idle;
    uint8_t busy = 0;
    // Set when a turn advance found no stack able to act: the stack left at `current` must not act.
    uint8_t no_actor = 0;
    // Set while a catapult throw or keep shot started by the turn advance runs: the entry at
    // `current` was stepped back and did not just finish a turn.
    uint8_t siege_action_running = 0;
    uint8_t auto_engaged = 0;   // automatic combat switched on for some side
    uint8_t auto_attacker = 0;
    uint8_t auto_defender = 0;
    float battle_clock = 0.0f;
    int32_t mouse_x = 0;  // last pointer position on the field
    int32_t mouse_y = 0;
    int32_t view_frame = 0;
    int32_t inspected_unit = -1;
    uint8_t retreating_side = 0;  // the side that retreated (outcome 3)

    // ---- walking (stack indexes 0..9, -1 none)
    std::vector<HexStep> move_path;
    int32_t moving_unit = -1;
    int32_t move_step = 0;
    float move_timer = 0.0f;
    int32_t move_sounds = 0;
    float walk_clock = 0.0f;  // never reset during a walk; read by drawing
    float move_scale = 1.0f;

    // ---- melee
    int32_t striker = -1;
    int32_t struck = -1;  // also the pending melee target of a walk
    int32_t strike_dir = 1;
    uint8_t strike_flag = 0;
    uint8_t strike_backward = 0;
    float strike_timer = 0.0f;
    uint8_t hit_applied = 0;
    uint8_t double_strike = 0;
    uint8_t second_strike = 0;
    BreathRecord breath;
    BreathRecord retal_breath;
    int32_t recovering = -1;
    float recover_timer = 0.0f;
    int32_t recover_dir = 1;
    uint8_t recover_flag = 0;
    uint8_t recover_backward = 0;
    HitRecord hit;  // the wince in progress
    float wince_timer = 0.0f;
    int32_t wince_frame = 0;
    std::vector<int32_t> struck_ids;
    std::vector<SplashDmgTarget> splash;
    uint8_t splash_active = 0;
    uint8_t retal_pending = 0;
    float retal_timer = 0.0f;
    int32_t retal_dir = 1;
    uint8_t retal_flag = 0;
    uint8_t retal_backward = 0;
    uint8_t retal_hit_applied = 0;
    HitRecord retal_hit;
    int32_t dying_unit = -1;
    float death_timer = 0.0f;

    // ---- shots
    int32_t shooter = -1;
    int32_t shot_target = -1;
    uint8_t double_shot = 0;
    float shot_timer = 0.0f;
    int32_t shot_frame = 0;
    uint8_t shot_drawn = 0;
    float missile_x = 0.0f, missile_y = 0.0f;
    float missile_end_x = 0.0f, missile_end_y = 0.0f;
    float missile_vx = 0.0f, missile_vy = 0.0f;
    float missile_elapsed = 0.0f, missile_duration = 0.0f;
    int32_t missile_dir = 2;
    uint8_t missile_mirror = 0;

    // ---- scenery
    SDL_Texture* background = nullptr;
    int background_w = 640;
    int background_h = 460;
    BattleSkyCycle sky;  // palette cycle of the battlefield's sky
    std::vector<FieldObject> field_objects;
    std::vector<BattleSprite> scene_frames;  // obstacle sprites, owned until the next scene or close
    std::array<std::array<uint8_t, 9>, 5> scene_blocked{};

    // ---- text and overlays
    std::string message;
    BattleOverlay overlay = BattleOverlay::None;
    // Hero options dialog: its side, whether it only shows a hero that is not the player's, and
    // the spell, retreat, surrender and leave buttons (rectangles rewritten by its drawing).
    uint8_t options_side = 0;
    uint8_t view_only = 0;
    std::array<SDL_Rect, 4> option_button_rects = {SDL_Rect{210, 277, 43, 48}, SDL_Rect{269, 277, 43, 48},
                                                   SDL_Rect{328, 277, 43, 48}, SDL_Rect{387, 277, 43, 48}};
    std::array<uint8_t, 4> option_button_pressed{};
    // Surrender confirmation: who gives up, the price, the enemy shown, the two buttons.
    uint8_t surrender_side = 0;  // 1: the defender surrenders
    int64_t surrender_cost = 0;
    std::string surrender_enemy_name;
    uint8_t surrender_enemy_portrait = 255;
    SDL_Rect surrender_accept_rect{152, 281, 116, 27};
    SDL_Rect surrender_decline_rect{356, 281, 116, 27};
    uint8_t surrender_accept_pressed = 0;
    uint8_t surrender_decline_pressed = 0;
    // What a surrender cost, kept with the outcome for the after-battle step (-1: nobody surrendered).
    int64_t surrender_gold_paid = 0;
    int32_t surrendered_side = -1;
    // Retreat question: the side that would leave and the two buttons (rewritten by its drawing).
    uint8_t retreat_question_side = 0;
    SDL_Rect retreat_accept_rect{216, 301, 66, 25};
    SDL_Rect retreat_decline_rect{358, 301, 66, 25};
    uint8_t retreat_accept_pressed = 0;
    uint8_t retreat_decline_pressed = 0;
    // Exit button of the creature view dialog.
    SDL_Rect view_close_rect{kCreaturePanelRect.x + kCreaturePanelRect.w - 108, kCreaturePanelButtonTop, 72, 27};
    uint8_t view_close_pressed = 0;
    const std::string view_spells_label = "View Spells";
    const SDL_Rect status_left_button{0, 460, 48, 20};
    const SDL_Rect status_right_button{592, 460, 48, 20};

    // ---- spells and effects
    uint8_t spell_cast_this_round = 0;
    uint8_t casting_side = 0;
    int32_t effect_unit = -1;  // stack index 0..9, -1 none
    float effect_timer = 0.0f;
    int32_t effect_frame = 0;
    uint8_t good_luck_pending = 0;  // force flags of the next damage roll
    uint8_t bad_luck_pending = 0;
    uint8_t good_luck_shown = 0, good_luck_on_shot = 0, good_luck_on_retal = 0;
    uint8_t bad_luck_shown = 0, bad_luck_on_shot = 0, bad_luck_on_retal = 0;
    int32_t spell_id = -1;  // the spell being cast, -1 none
    BattleSpellState spells;
    // The hero's book, opened on its combat half from the hero options dialog. The book is another
    // screen's, set by the loop: open (battle, hero, hero index, what a pick does); input while the
    // overlay shows (battle, event, the hero while it may still cast, else null), answering whether the
    // book stays open, and closing it when not; drawing over the field. Left empty, no book opens.
    std::function<void(BattleScreen&, HeroState&, int, std::function<void(int spell)>)> book_open_hook;
    std::function<bool(BattleScreen&, const SDL_Event&, HeroState*)> book_input_hook;
    std::function<void(BattleScreen&)> book_draw_hook;

    uint32_t rng = 12345;

    // ---- option copies
    uint8_t opt_ab_spells = 1;
    uint8_t opt_hex_outline = 1;
    uint8_t opt_hero_horse = 0;
    uint8_t opt_catapult_tower = 0;
    // Effects and music levels 0..10, taken from the game's settings when a battle opens.
    int sfx_level = 4;
    int music_level = 5;

    // ---- siege
    uint8_t siege = 0;
    int32_t castle = 0;
    uint8_t walls_down = 0;
    std::array<int32_t, 5> wall_hp = {2, 2, 2, 2, 2};
    uint8_t keep_alive = 1;
    uint8_t keep_fired = 0;
    int32_t catapult_shots = 1;
    int32_t catapult_shots_done = 0;
    uint8_t catapult_pending = 0;
    std::array<int32_t, 2> catapult_pos{};
    int32_t catapult_target = -1;
    float catapult_timer = 0.0f;
    int32_t keep_target = -1;  // stack index of the keep's shot, -1 none
    uint8_t keep_destroyed_notice = 0;
    int32_t catapult_frame = 0;
    float boulder_start_x = 0.0f, boulder_start_y = 0.0f, boulder_end_x = 0.0f, boulder_end_y = 0.0f;
    float boulder_x = 0.0f, boulder_y = 0.0f, boulder_progress = 0.0f, boulder_timer = 0.0f;
    int32_t boulder_spin = 0;
    float boulder_spin_timer = 0.0f;
    float impact_timer = 0.0f;
    int32_t impact_frame = 0;
    int32_t impact_last_frame = 3;
    int32_t impact_x = 0, impact_y = 0;
    float keep_arrow_start_x = 600.0f, keep_arrow_start_y = 122.0f;
    float keep_arrow_end_x = 0.0f, keep_arrow_end_y = 0.0f;
    float keep_arrow_x = 0.0f, keep_arrow_y = 0.0f;
    float keep_arrow_timer = 0.0f, keep_arrow_duration = 0.0f;
    int32_t keep_arrow_frame = 1;

    // Sound seam: (kind, creature id or -1, mixer channel, volume); empty = silent.
    std::function<void(BattleSfx, int, int, int)> sfx_hook;
    // Result seam, called when the result opens: (battle, the player won). Music and art live elsewhere.
    std::function<void(BattleScreen&, bool)> result_hook;
    // Input while the result overlay is open goes to the result screen through this seam.
    std::function<void(BattleScreen&, const SDL_Event&)> result_input_hook;
    void emit_sfx(BattleSfx kind, int creature, int channel, int volume);
    // Drops the rest of this round's turns of a stack (index 0..9).
    void remove_pending_turns(int unit);
    // Automatic spell casting seam: true when the hero cast for the stack.
    std::function<bool(BattleScreen&, BattleUnit&)> autocast_hook;

private:
    bool services_ready() const { return battle_res != nullptr && renderer != nullptr; }
    uint32_t seed_or_ticks(unsigned seed) const;
    void reset_siege_defaults();
    void release_scene();
    void clear_battle_working_state();
    void build_scenery(const GameMap& map, int x, int y, unsigned seed, bool graveyard,
                       const std::string& background_name);
    void end_status_spell_if_due(BattleUnit& u);
    void play_sfx(BattleSfx kind, int creature);
    bool check_luck(BattleUnit* u, int context);
    void clear_action_records();
    void end_action();
    void walk_to(BattleUnit& u, std::vector<HexStep> path, int target);
    void wince_burst();
    void tick_moving(float dt);
    void tick_strike(float dt, bool retaliation);
    void tick_target_wince(float dt);
    void tick_retaliation_wince(float dt);
    void tick_shot(float dt);
    void tick_effects(float dt);
    void tick_siege(float dt);
    bool start_second_strike();
    void run_boulder_flight(float dt);
    void berserk_turn(BattleUnit& u);
    void ensure_art_loaded(SpriteList& art, const char* icn, const char* bmp);
    void release_dialog_art();
    void handle_hero_options_event(const SDL_Event& e);
    void handle_surrender_event(const SDL_Event& e);
    void handle_retreat_question_event(const SDL_Event& e);
    void handle_creature_view_event(const SDL_Event& e);
    void handle_targeting_event(const SDL_Event& e);
    bool press_tents(const SDL_Event& e);
    bool press_creature_panels(const SDL_Event& e);
    void press_field(int x, int y);
    void handle_field_key(SDL_Keycode key);
    // The human side's hero with a book, while that side has not cast this round.
    HeroState* hand_caster(int side_index);
    void open_battle_spellbook(int side_index);
};

// Whether an army has no troops: a slot counts only with a creature and a count above 0.
bool army_is_empty(const std::array<uint8_t, 5>& ids, const std::array<int, 5>& counts);
// Writes the defending hero's survivors back into its army after a hero battle (garrison stacks excluded).
void apply_hero_vs_hero_result(BattleScreen& b, GameState& game);

}  // namespace vorn1
