#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <tuple>

#include "assets/agg.h"
#include "assets/render_utils.h"
#include "battle/battle_resources.h"
#include "battle/battle_screen.h"
#include "battle/creature_sprites.h"
#include "datakit/kit_battledraw.h"
#include "datakit/kit_demo.h"
#include "datakit/kit_formats.h"
#include "datakit/kit_sound.h"
#include "media/sound_chunk.h"
#include "temp_dir.h"

using namespace vorn1;

namespace {

struct SoftRenderer {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    ~SoftRenderer() {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
};

AggArchive archive_of(std::vector<kit::AggFile> files) { return AggArchive::from_bytes(kit::write_agg(files)); }

}  // namespace

TEST(BattleResources, LoadsTheDemoArchive) {
    SoftRenderer sr;
    ASSERT_NE(sr.renderer, nullptr);
    AggArchive ar = AggArchive::from_bytes(kit::demo_archive_bytes());
    const Palette pal = kit::demo_palette();
    {
        BattleResources res;
        testing::internal::CaptureStdout();
        res.load(ar, pal, sr.renderer, "");
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find("  COMBAT.PAL loaded\n"), std::string::npos);
        EXPECT_NE(out.find("  Creature sprites loaded for 28 creatures\n"), std::string::npos);
        EXPECT_NE(out.find("  CATAPULT.ICN loaded (16 frames)\n"), std::string::npos);
        EXPECT_NE(out.find("Battle resources loaded.\n"), std::string::npos);
        EXPECT_TRUE(res.loaded);
        EXPECT_EQ(res.tent_sprites.size(), 12u);
        EXPECT_EQ(res.cursor_sprites.size(), 30u);
        EXPECT_EQ(res.magic_sprites[7].size(), 10u);
        EXPECT_EQ(res.keep_sprites[3].size(), 4u);
        ASSERT_NE(res.winlose_picture.tex, nullptr);
        EXPECT_EQ(res.winlose_picture.w, 320);
        for (int id = 0; id < 28; ++id) {
            const CreatureSprites& c = res.creatures[id];
            ASSERT_TRUE(c.loaded) << id;
            EXPECT_EQ(c.standing().size(), 11u) << id;  // 12 demo frames less the outline source
            EXPECT_NE(c.outline_mask.tex, nullptr) << id;
            const size_t melee = id == 22 ? 0u : creature_has_nine_poses(id) ? 9u : 3u;
            EXPECT_EQ(c.attack_frames.size(), melee + (creature_has_shoot_sfx(id) ? 4u : 0u)) << id;
            EXPECT_EQ(c.projectiles.empty(), !creature_has_shoot_sfx(id)) << id;
        }
        // The texture holds what the decoder painted.
        const BattleSprite& f = res.creatures[0].standing()[0];
        std::vector<uint32_t> px = texture_to_pixels(sr.renderer, f.tex, f.w, f.h);
        ASSERT_EQ(px.size(), size_t(f.w) * f.h);
        size_t opaque = 0;
        for (uint32_t p : px) opaque += (p >> 24) == 255;
        EXPECT_GT(opaque, px.size() / 2);
        res.shutdown();
        EXPECT_FALSE(res.loaded);
        EXPECT_TRUE(res.creatures[0].standing().empty());
        EXPECT_FALSE(res.creatures[0].loaded);
        EXPECT_TRUE(res.tent_sprites.empty());
    }
}

// The kit's creatures, one-hex and wide, on either side, are drawn over their own hexes: the middle of what it puts on the
// screen lies in its hex (the middle of both for a wide creature) and nothing of it reaches the row below.
TEST(BattleResources, TheKitsCreaturesStandOnTheirOwnHexes) {
    SoftRenderer sr;
    ASSERT_NE(sr.renderer, nullptr);
    AggArchive ar = AggArchive::from_bytes(kit::demo_archive_bytes());
    BattleResources res;
    testing::internal::CaptureStdout();
    res.load(ar, kit::demo_palette(), sr.renderer, "");
    testing::internal::GetCapturedStdout();
    BattleScreen b;
    b.init(&res, nullptr, sr.renderer, nullptr, nullptr);
    b.active = 1;
    b.tick_source = [] { return 0u; };
    b.mouse_x = b.mouse_y = 0;
    auto frame = [&] {
        b.draw();
        std::vector<uint32_t> px(640 * 480);
        SDL_RenderReadPixels(sr.renderer, nullptr, SDL_PIXELFORMAT_ABGR8888, px.data(), 640 * 4);
        return px;
    };
    const std::vector<uint32_t> empty = frame();
    for (const uint8_t id : {0, 1, 4, 13, 18, 22, 23, 27}) {
        for (const auto& [side, row, col] : {std::tuple{0, 1, 3}, std::tuple{1, 3, 5}}) {
            BattleUnit& u = side == 0 ? b.attackers[0] : b.defenders[0];
            u = BattleUnit{};
            u.creature = id, u.side = static_cast<uint8_t>(side), u.row = row, u.col = col, u.count = 7;
            const std::vector<uint32_t> with = frame();
            u = BattleUnit{};
            int x0 = 640, y0 = 480, x1 = -1, y1 = -1;
            for (int y = 0; y < 460; ++y)
                for (int x = 0; x < 640; ++x)
                    if (with[size_t(y) * 640 + x] != empty[size_t(y) * 640 + x])
                        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
            ASSERT_GE(x1, 0) << "creature " << int(id) << " side " << side << " not drawn";
            const SDL_Rect head = BattleScreen::hex_rect(row, col);
            const SDL_Rect tail = BattleScreen::hex_rect(row, tail_col(BattleUnit{id, 1, 0, row, col, uint8_t(side)}));
            const int left = std::min(head.x, tail.x), right = std::max(head.x, tail.x) + head.w;
            const int mid_x = (x0 + x1) / 2, mid_y = (y0 + y1) / 2;
            SCOPED_TRACE("creature " + std::to_string(id) + " side " + std::to_string(side));
            EXPECT_GE(mid_x, left + (right - left) / 2 - 8);
            EXPECT_LE(mid_x, left + (right - left) / 2 + 8);
            EXPECT_GE(mid_y, head.y);
            EXPECT_LT(y1, head.y + head.h) << "drawn into the row below";
            EXPECT_GE(y0, head.y - 10) << "drawn far into the row above";
        }
    }
    b.shutdown();
    res.shutdown();
}

// Handed the program's folder, as the game hands it, the battle finds its three tracks and the result's
// two in the kit's SOUND folder beside it, each the file of its own number: won 44, lost 43.
TEST(BattleResources, HandedTheProgramsFolderItFindsEachMusicTrack) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    if (!Mix_QuerySpec(nullptr, nullptr, nullptr)) {
        ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0);
    }
    const test::TempDir program("battle_music");
    kit::DemoData d;
    kit::add_sound_files(d);
    for (const auto& [path, bytes] : d.files) program.put(path, bytes);
    // The WAVE image of the kit's track VELDARnn, as the loader builds it from the file.
    auto wav_of = [&d](int n) {
        const std::string stem = "SOUND/VELDAR" + std::to_string(n);
        for (const auto& [path, bytes] : d.files) {
            if (path.rfind(stem, 0) != 0) continue;
            const VornAudioFmt fmt =
                path.ends_with(".62S") ? VORN_FMT_62S : path.ends_with(".82S") ? VORN_FMT_82S : VORN_FMT_82M;
            std::vector<uint8_t> wav;
            build_vorn1_wav(bytes, fmt, wav);
            return wav;
        }
        return std::vector<uint8_t>{};
    };
    SoftRenderer sr;
    const AggArchive ar = archive_of({{"DUMMY.BIN", {1}}});
    BattleResources res;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    res.load(ar, kit::demo_palette(), sr.renderer, program.dir());
    testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.find("VELDAR"), std::string::npos) << err;
    for (const auto& [entry, n] : {std::pair{&res.battle_music[0], 40}, std::pair{&res.battle_music[1], 41},
                                   std::pair{&res.battle_music[2], 42}, std::pair{&res.result_music[0], 44},
                                   std::pair{&res.result_music[1], 43}}) {
        EXPECT_NE(entry->chunk, nullptr) << n;
        EXPECT_TRUE(entry->wav == wav_of(n)) << "not track " << n;
    }
    res.shutdown();
}

TEST(BattleResources, PaletteAndMissingEntries) {
    SoftRenderer sr;
    Palette caller{};
    caller[5] = Color{1, 2, 3};
    std::vector<uint8_t> short_pal(767, 10);
    {
        BattleResources res;
        AggArchive ar = archive_of({{"COMBAT.PAL", short_pal}, {"DUMMY.BIN", {1}}});
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        res.load(ar, caller, sr.renderer, "");
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(res.palette[5], caller[5]);
        EXPECT_NE(err.find("  WARNING: COMBAT.PAL not found, falling back to QV.PAL\n"), std::string::npos);
        EXPECT_NE(err.find("  WARNING: MAGIC3.ICN not found\n"), std::string::npos);
        EXPECT_NE(err.find("  WARNING: CLOUDLUK.ICN not found\n"), std::string::npos);
        EXPECT_NE(err.find("  WARNING: KEEP02.ICN not found in AGG\n"), std::string::npos);
        EXPECT_NE(err.find("  WARNING: WINLOSE.BMP not found in AGG\n"), std::string::npos);
        EXPECT_NE(out.find("Battle resources loaded.\n"), std::string::npos);
        EXPECT_TRUE(res.loaded);
        EXPECT_FALSE(res.creatures[4].loaded);
    }
    std::vector<uint8_t> long_pal(800, 0);
    long_pal[0] = 63, long_pal[1] = 64, long_pal[2] = 200;
    {
        BattleResources res;
        AggArchive ar = archive_of({{"COMBAT.PAL", long_pal}, {"tent.icn", kit::labelled_icn("TENT", 3, 20, 20)}});
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        res.load(ar, caller, sr.renderer, "");
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(res.palette[0], (Color{252, 255, 255}));
        EXPECT_EQ(res.tent_sprites.size(), 3u);  // found under the lower-case name
    }
}

TEST(BattleResources, AlternativeStemsAndComposition) {
    SoftRenderer sr;
    std::vector<kit::IcnFrame> one(2);
    one[0].pixels = kit::IndexGrid(4, 30, 1);
    one[1].pixels = kit::IndexGrid(4, 30, 2);
    std::vector<kit::IcnFrame> other = one;
    other.push_back(one[1]);
    AggArchive ar = archive_of({{"peasant.STD", kit::write_sprite12(one)}, {"paysan.STD", kit::write_sprite12(other)},
                                {"pikeman.STD", kit::write_sprite12(one)}, {"archer.STD", kit::creature_std_with_shadows()},
                                {"archer.ATK", kit::creature_atk_with_parts()}});
    BattleResources res;
    res.renderer = sr.renderer;
    const Palette pal{};
    res.load_creature_sprite(ar, pal, 0, CREATURE_STEMS[0], STD, true);
    res.load_creature_sprite(ar, pal, 2, CREATURE_STEMS[2], STD, true);  // "fantassi" missing: standard stem
    res.load_creature_sprite(ar, pal, 30, "peasant", STD, true);        // out of range: nothing
    for (int id : {0, 2}) res.build_composite_frames(id);
    EXPECT_EQ(res.creatures[0].standing().size(), 2u);
    EXPECT_EQ(res.creatures[2].standing().size(), 1u);
    res.load_creature_sprite(ar, pal, 0, CREATURE_STEMS[0], STD, false);
    res.build_composite_frames(0);
    EXPECT_EQ(res.creatures[0].standing().size(), 1u);

    res.load_creature_sprite(ar, pal, 1, "archer", STD, false);
    res.load_creature_sprite(ar, pal, 1, "archer", ATK, false);
    res.build_composite_frames(1);
    const CreatureSprites& a = res.creatures[1];
    ASSERT_EQ(a.attack_frames.size(), 7u);
    EXPECT_EQ(a.attack_parts().size(), 5u);
    EXPECT_EQ(a.projectiles.size(), 5u);
    for (const BattleSprite& s : a.attack_frames) EXPECT_NE(s.tex, nullptr);
    EXPECT_TRUE(a.attack_shadows.empty());
    // Composition equals the picture-level result, pixel for pixel.
    CreatureImages expect;
    decode_creature_set(ar.get("archer.STD"), 1, STD, res.palette, expect);
    decode_creature_set(ar.get("archer.ATK"), 1, ATK, res.palette, expect);
    build_composite_images(1, expect);
    const BattleSprite& pose = a.attack_frames[4];
    std::vector<uint32_t> got = texture_to_pixels(sr.renderer, pose.tex, pose.w, pose.h);
    const Image& want = expect.attack_frames[4].img;
    ASSERT_EQ(pose.w, want.width);
    ASSERT_EQ(pose.h, want.height);
    EXPECT_EQ(pose.ox, expect.attack_frames[4].x);
    EXPECT_EQ(0, std::memcmp(got.data(), want.pixels.data(), want.pixels.size()));
}
