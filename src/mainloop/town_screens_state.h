#pragma once
// The loop's records of the town screen, its build screen and dialogs, the hero screen and the
// hero-meeting window (every one closed by default).
#include <SDL.h>

#include <cstdint>
#include <memory>

#include "assets/dissolve.h"
#include "town/army_view.h"
#include "town/build_screen.h"
#include "town/heroscrn_tooltip.h"
#include "town/magegld_screen.h"
#include "town/recruit_hero.h"
#include "town/shipyard_dialog.h"
#include "town/spellbook.h"
#include "town/swapwin.h"
#include "town/tavern_screen.h"
#include "town/thieves_guild_screen.h"
#include "town/well_screen.h"
#include "town/troop_move.h"
#include "world/game_state.h"

namespace vorn1 {

class CastleMusic;

// An offered pool hero shown on the hero screen from the hire dialog: after a left press until the
// next press or key, after a right press while that button is held.
struct PoolHeroView {
    bool open = false;
    bool held = false;
    HeroState hero;
};

struct TownScreenView {
    bool open = false;
    int castle = -1;
    bool exit_pressed = false;
    int anim_step = 0;
    float anim_ms = 0.0f;
    // The build screen over the town picture.
    bool build_open = false;
    int hover_cell = -1;
    int info_cell = -1;
    bool build_exit_pressed = false;
    BuildCastleDialogState castle_dialog;
    RecruitHeroSystem recruit_hero;
    PoolHeroView pool_hero;
    // The sub-screens over the town picture.
    MageGuildState mage;
    int mage_hero = -1;  // the visitor the guild teaches, -1 none
    WellScreenState well;
    ThievesGuildState thieves;
    ShipyardDialogState shipyard;
    // A second left press on the same slot soon after the first opens the creature view.
    SlotAddr last_slot;
    uint32_t last_slot_ms = 0;
};

struct HeroScreenView {
    bool open = false;
    int hero = -1;
    bool exit_pressed = false;
    bool dismiss_pressed = false;
    bool dismiss_hidden = false;
    HeroTooltipState tip;
    ArtifactInfoDialog artifact;
    SpellbookState book;  // over the whole screen while open
    int mouse_x = -1, mouse_y = -1;  // for the information bar
    bool exp_box = false;  // the experience box, while the left button holds on the experience row
    SlotAddr last_slot;
    uint32_t last_slot_ms = 0;
};

// The town picture dissolving from before a build to after it, over the first frames that follow;
// it owns its two pictures.
struct TownDissolve {
    SDL_Texture* from = nullptr;
    SDL_Texture* to = nullptr;
    float elapsed_ms = 0.0f;
    DissolveMask mask;

    TownDissolve() = default;
    ~TownDissolve() { stop(); }
    TownDissolve(const TownDissolve&) = delete;
    TownDissolve& operator=(const TownDissolve&) = delete;
    bool running() const { return from && to; }
    void stop() {
        if (from) SDL_DestroyTexture(from);
        if (to) SDL_DestroyTexture(to);
        from = to = nullptr;
        elapsed_ms = 0.0f;
        mask.free_textures();
    }
};

struct TownScreensState {
    TownScreenView town;
    HeroScreenView hero;
    TownDissolve dissolve;  // after a build
    SwapWinState swap;
    HeroTooltipState meeting_tip;  // an artifact's panel while the right button holds on it in the meeting
    ThievesGuildState thieves_full;  // the full view a map site opens
    TavernScreenState tavern;        // its animation lives on between visits
    // The town music, loaded at the first visit of a game with sound.
    std::shared_ptr<CastleMusic> music;
    TroopMoveSystem troops;
    ArmyViewSystem army_view;
};

}  // namespace vorn1
