#include "mainloop/battle_book.h"

#include <utility>

#include "battle/battle_screen.h"
#include "town/spellbook.h"

namespace vorn1 {

void attach_battle_spellbook(BattleScreen& b, SpellbookModal& book) {
    b.book_open_hook = [&book](BattleScreen&, HeroState& hero, int hero_index, std::function<void(int)> on_pick) {
        open_spellbook_for(book, hero, hero_index, SB_BATTLE, std::move(on_pick));
    };
    b.book_input_hook = [&book](BattleScreen&, const SDL_Event& e, HeroState* hero) {
        if (hero && spellbook_modal_active(book)) {
            handle_spellbook_modal(e, book, *hero);
            if (spellbook_modal_active(book)) return true;
        }
        book = {};
        return false;
    };
    b.book_draw_hook = [&book](BattleScreen& battle) {
        if (battle.res && spellbook_modal_active(book))
            draw_spellbook(battle.renderer, *battle.res, book.book, battle.font, battle.font_small);
    };
}

}  // namespace vorn1
