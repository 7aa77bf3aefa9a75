#pragma once
// The hero screen: name and class, portrait, skills, morale, luck, experience, crest, army,
// artifacts, exit and dismiss buttons, and the information bar for the zone under the mouse.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <string>
#include <vector>

#include "assets/palette.h"
#include "town/hero_zones.h"

namespace vorn1 {

class AggArchive;
struct Resources;
struct GameState;
struct HeroState;

struct HeroScreenResources {
    HeroScreenResources() = default;
    ~HeroScreenResources() { unload(); }
    HeroScreenResources(const HeroScreenResources&) = delete;
    HeroScreenResources& operator=(const HeroScreenResources&) = delete;

    void load(SDL_Renderer* renderer, const AggArchive& archive, const Palette& palette);
    void unload();

    SDL_Texture* background = nullptr;
    std::vector<SDL_Texture*> icn;
    SDL_Renderer* renderer = nullptr;
};

extern const std::array<int, 28> MONSTER_W;
extern const std::array<int, 28> MONSTER_H;

// The title's parts: the localised name (or "HERO_GENERIC") and the class name.
std::string hero_display_name(const HeroState& hero);
std::string hero_class_name(const HeroState& hero);
// A primary skill as shown: base plus artifact bonus, at most 127 (0 attack .. 3 knowledge).
int hero_shown_skill(const HeroState& hero, int skill);

// The spellbook overlay is not drawn here (the caller draws what it has over the screen).
void draw_hero_screen(SDL_Renderer* r, const HeroScreenResources& hres, const Resources& res, const GameState& game,
                      int hero, bool exit_pressed, TTF_Font* font, TTF_Font* small_font, bool dismiss_hidden,
                      bool dismiss_pressed);
// The same for a hero record that need not be in play (an offered pool hero).
void draw_hero_screen(SDL_Renderer* r, const HeroScreenResources& hres, const Resources& res, const HeroState& hero,
                      bool exit_pressed, TTF_Font* font, TTF_Font* small_font, bool dismiss_hidden,
                      bool dismiss_pressed);
std::string hero_screen_infobar_text(HsZone zone, const HeroState& hero, bool dismiss_hidden);
// The dismiss button's question: its information-bar text asked ("Dismiss Ann the Knight?").
std::string hero_dismiss_question(const HeroState& hero);
void draw_hero_infobar(SDL_Renderer* r, TTF_Font* font, const std::string& text);

}  // namespace vorn1
