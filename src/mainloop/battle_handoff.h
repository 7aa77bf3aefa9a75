#pragma once
// What the loop keeps between opening a battle and the work after it: which kind of fight is open,
// the tiles and records it concerns, the quick-combat result waiting for the player's answer, and the
// artifact notices queued by the outcome.
#include <cstdint>
#include <deque>

#include "battle/headless_battle.h"

namespace vorn1 {

enum class BattleKind : uint8_t { None, Monster, Site, Town, Siege, Hero };

// Quick-combat kinds of the pending preview record.
enum QuickCombatKind : int { QUICK_NONE = 0, QUICK_MONSTER = 1, QUICK_HERO = 2, QUICK_TOWN = 3 };

struct QuickCombatRecord {
    int kind = QUICK_NONE;
    int hero = -1;
    int x = -1, y = -1;
    int opponent = -1;  // monster record, defending hero, or guard record (-1: the town's garrison)
    HeadlessResult result;
    int32_t bonus = 0;  // the experience a given army adds to the headless figure
};

struct GuardedSiteRecord {
    bool pending = false;
    int x = -1, y = -1;
    int kind = 0;
    int level = -1;
    int artifact = -1;
};

// Artifact notices: low byte the kind, high byte the artifact.
enum ArtifactNoticeKind : uint8_t { ARTIFACT_CAPTURED = 0, ARTIFACT_VANISHED_OWN = 1, ARTIFACT_VANISHED_ENEMY = 2 };

struct BattleHandoff {
    BattleKind kind = BattleKind::None;
    int after_tile_x = -1, after_tile_y = -1;  // faded out after a won battle
    int siege_x = -1, siege_y = -1;
    int town_x = -1, town_y = -1;
    int guard = -1;                            // guard record fought, -1 the town's garrison
    uint32_t seed = 0;
    GuardedSiteRecord site;
    QuickCombatRecord quick;
    std::deque<uint16_t> artifact_notices;
};

}  // namespace vorn1
