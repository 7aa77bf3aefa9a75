#pragma once
// The in-game system menu over a picture of the adventure screen: volumes, movement speed and
// switches, the optional rules, save, and the confirmed new game, load and quit.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdint>
#include <string>

#include "assets/palette.h"
#include "world/new_game_config.h"
#include "world/settings.h"

namespace vorn1 {

class AggArchive;
struct Resources;
struct GameState;
struct GameMap;
struct PuzzleMapState;
struct SavedEliminationState;

enum class ControlPanelResult : int32_t { Closed = 0, NewGame = 1, Quit = 2, ScenarioInfo = 3, Load = 4, Saved = 5 };

// The panel's clickable elements, in hit-test order.
enum class PanelElement { None = -1, NewGame, Load, Save, Quit, Music, Effects, Speed, Autosave, ShowPath, ViewEnemy,
                          Close, Rules, Info };
SDL_Rect panel_element_rect(PanelElement e);
PanelElement panel_element_at(int x, int y);

// What a release on an element does to the settings (levels, speed and switches), with the
// mixer told at once when audio is on. False for the elements that are not settings.
bool apply_panel_setting(PanelElement e, ControlPanelSettings& s, bool audio_enabled);

// "On"/"Off" texts and the speed name, with English fallbacks when no catalogue has them.
std::string panel_on_off(bool on);
std::string panel_speed_name(int speed);

ControlPanelResult run_control_panel(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                                     const Resources& resources, TTF_Font* dialog_font, TTF_Font* text_font,
                                     const NewGameConfig& config, ControlPanelSettings& settings, bool audio_enabled,
                                     SDL_Texture* background, const GameState* state, const GameMap* map, int day,
                                     int week, int month, const PuzzleMapState* puzzle, int current_player,
                                     const SavedEliminationState* elim);

// Saves the running game through the save dialog; true when saved. A save that fails is told at
// once (the file and the reason) and gives false. Nothing is shown without a state or a map.
bool run_save_game_flow(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                        const Resources& resources, TTF_Font* font, const NewGameConfig& config,
                        const GameState* state, const GameMap* map, int day, int week, int month,
                        const PuzzleMapState* puzzle, int current_player, const SavedEliminationState* elim);

}  // namespace vorn1
