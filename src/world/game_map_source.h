#pragma once
// Which map a new game plays.
#include <string>

#include "world/map.h"
#include "world/new_game_config.h"

namespace vorn1 {

class AggArchive;

// Where a game's map came from.
enum class MapSource { CampaignMap, ChosenMap, DemoMap, Empty };

// The map of a new game: the campaign map, the chosen map, the archive's "DEMO.MAP", else the empty
// 72 x 72 "EMPTY" map, the first that loads. A failure is written to the error stream and the next
// source tried; `failure` gets the first named map's file name and the reader's reason.
GameMap load_game_map(const NewGameConfig& cfg, const AggArchive* archive, MapSource* source = nullptr,
                      std::string* failure = nullptr);

}  // namespace vorn1
