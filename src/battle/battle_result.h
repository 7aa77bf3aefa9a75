#pragma once
// The result overlay of a battle (and of a quick-combat preview): its working record and the
// casualty rows it shows. The overlay's operations are members of BattleScreen.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vorn1 {

struct BattleResultState {
    // The side that lost, retreated or surrendered (0 attacker, 1 defender, -1 none); kept after closing.
    int8_t losing_side = -1;

    // Quick-combat preview: the winner's title, the map picture behind it (owned), the answer.
    uint8_t preview = 0;
    uint8_t preview_answer = 0;  // 1 accept, 0 decline
    std::string preview_title;
    SDL_Texture* preview_portrait = nullptr;
    uint8_t accept_pressed = 0;
    uint8_t decline_pressed = 0;
    SDL_Rect accept_rect{216, 419, 96, 25};
    SDL_Rect decline_rect{328, 419, 96, 25};

    SDL_Rect done_rect{272, 419, 96, 25};
    uint8_t done_pressed = 0;
    uint8_t acknowledged = 0;

    float open_ms = 0.0f;  // input waits until it reaches kResultInputDelayMs
    float victory_ms = 0.0f;
    int32_t victory_frame = 0;
    float strip_x = 0.0f;
    float strip_ms = 0.0f;
    int32_t walk_frame = 0;
};

constexpr float kResultInputDelayMs = 400.0f;

// The result's text column, inside the frame of its panel (160, 320 wide).
constexpr int kResultTextX = 176;
constexpr int kResultTextW = 288;
// The text bar's message column, between its two buttons.
constexpr int kBarTextX = 52;
constexpr int kBarTextW = 536;
// Where the retreat strip and its walker show: above the first line of text.
constexpr SDL_Rect kResultStripClip{208, 39, 221, 176};

// A sentence shown over the catalogue's lines (the result's, the text bar's one), fitted to a column
// `width` wide: the lines as they are when each fits in `main`; else the sentence wrapped anew in no more
// lines, in `main` when it takes no more, else in `small`, cut to the width as a last resort.
struct FittedLines {
    TTF_Font* font = nullptr;
    std::vector<std::string> lines;
};
FittedLines fit_column_lines(const std::vector<std::string>& lines, int width, TTF_Font* main, TTF_Font* small);

// The (creature, casualties) pairs of one side that are shown: filled slots that lost creatures.
std::vector<std::pair<uint8_t, int32_t>> casualty_pairs(const uint8_t* ids, const int32_t* casualties);

// How a battle ended, as the result tells it: for the player, or the side that left.
enum class ResultKind : uint8_t { Victory, Retreat, Surrender, Defeat };

// The side a result's sentence is about: the player's for a victory or a defeat, the one that left
// for a retreat or a surrender.
struct ResultSubject {
    std::string name;    // its hero's name
    bool hero = false;   // a hero led it; a garrison alone has none
    bool own = true;     // the player's side
};

// The result's sentence in the catalogue's lines, its title and the surrender's cost aside. Only a hero
// earns experience, so a side without one is told its victory alone, and its defeat has no hero who
// abandons the cause; an unnamed hero is the player's or the enemy's as the side is.
std::vector<std::string> result_lines(ResultKind kind, const ResultSubject& who, int experience);

// Where the preview's accept and decline buttons sit for buttons of these sizes.
void layout_preview_buttons(SDL_Point accept_size, SDL_Point decline_size, SDL_Rect& accept, SDL_Rect& decline);

}  // namespace vorn1
