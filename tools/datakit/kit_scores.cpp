#include "datakit/kit_scores.h"

#include "datakit/datakit.h"
#include "persist/highscore.h"

namespace vorn1::kit {

const StringMap& scores_english_strings() {
    // "HS_OKAY" and "LOAD_FILE_TITLE" are shared with the front end, whose kit file gives their texts.
    static const StringMap texts{
        {"HS_GLORIOUS_VICTORY", "A Glorious Victory!"},
        {"HS_DAYS_SPENT", "Days spent:"},
        {"HS_BASE_SCORE", "Base score:"},
        {"HS_DIFFICULTY_RATING", "Difficulty rating:"},
        {"HS_FINAL_SCORE", "Final score:"},
        {"HS_RANKING", "Your rank:"},
        {"HS_NAME", "Name"},
        {"HS_SCENARIO", "Scenario"},
        {"HS_LORD", "Lord"},
        {"HS_SCORE", "Score"},
        {"HS_DAYS", "Days"},
        {"HS_RANK", "Rank"},
        {"HS_ENTER_NAME1", "Your name will be entered in"},
        {"HS_CONGRATULATIONS", "Congratulations!"},
        {"HS_FINISHED_DAYS", "You finished the campaign in {0} days."},
        {"HS_RANK_OF", "Your rank: {0}"},
        {"HS_NEW_HIGH_SCORE", "You take place {0} in the high score list!"},
        {"HS_SAVE_FAILED", "The high-score table could not be written."},
        {"SAVE_GAME_TITLE", "Save Game"},
        {"SAVE_CAMPAIGN_TITLE", "Save Campaign"},
        {"LOAD_CAMPAIGN_TITLE", "Load Campaign"},
        {"CAMPAIGN_SAVED_PROMPT", "Your campaign has been saved as {0}. Go on to the next scenario?"},
        {"CAMPAIGN_SAVE_FAILED_PROMPT",
         "The won scenario is not saved. Go on to the next scenario without a save? No tries the save again."},
        {"SAVE_OVERWRITE_PROMPT", "A saved game named {0} is already there. Replace it?"},
        {"LOAD_GAME_TITLE", "Load Game"},
        {"LOAD_NO_SAVES", "There are no saved games."},
    };
    return texts;
}

void write_highscore_seeds(const std::string& out_dir) {
    const Bytes standard = high_score_image(default_standard_high_scores(), HighScoreTable::Standard);
    const Bytes campaign = high_score_image(default_campaign_high_scores(), HighScoreTable::Campaign);
    write_seed(out_dir, "highscore", "standard.hs", standard);
    write_seed(out_dir, "highscore", "campaign.hs", campaign);
    write_seed(out_dir, "highscore", "short.hs", Bytes(standard.begin(), standard.end() - 1));
    Bytes longer = campaign;
    longer.insert(longer.end(), 30, 0xEE);
    write_seed(out_dir, "highscore", "long.hs", longer);
    // Fields without their zero bytes and with bytes of every kind.
    Bytes dense(kHighScoreFileBytes);
    for (std::size_t i = 0; i < dense.size(); ++i) dense[i] = static_cast<uint8_t>(0x20 + (i * 37) % 224);
    write_seed(out_dir, "highscore", "dense.hs", dense);
}

}  // namespace vorn1::kit
