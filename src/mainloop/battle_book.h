#pragma once
// The battle's spellbook: the loop lends the battle screen the hero's book through its seams.
namespace vorn1 {

class BattleScreen;
struct SpellbookModal;

// Sets the battle's book seams to open `book` on its combat half, route the overlay's input to it and
// draw it. The caller keeps `book` as long as the battle.
void attach_battle_spellbook(BattleScreen& b, SpellbookModal& book);

}  // namespace vorn1
