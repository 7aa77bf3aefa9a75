#pragma once
// The kit's scenario made to be won in a few moves, and the English texts of the game's end.
#include <string>

#include "datakit/kit_lang.h"
#include "world/map.h"

namespace vorn1::kit {

const StringMap& game_end_english_strings();

// A small two-seat scenario won by taking the second seat's town: the first seat's hero stands
// right below its entrance, and it holds no creature and no hero (the rival's hero is far off), so
// walking in takes it without a battle and wins the game. The entrance is at `kQuickWinTownX`, `kQuickWinTownY`.
constexpr int kQuickWinTownX = 12, kQuickWinTownY = 10;
GameMap make_quick_win_map(const std::string& name = "Last Stand");
// File name of that map in the kit's maps folder.
extern const char* const KIT_QUICK_WIN_FILE;

}  // namespace vorn1::kit
