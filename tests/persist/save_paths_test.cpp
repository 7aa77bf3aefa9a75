#include "persist/save_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "persist_test_util.h"

namespace fs = std::filesystem;

namespace vorn1 {
namespace {

TEST(SavePaths, FoldersSitBesideTheArchive) {
    EXPECT_EQ(save_folder_beside("/opt/game/bin/../VELDAR.AGG", "saved_games"), "/opt/game/saved_games");
    EXPECT_EQ(save_folder_beside("../VELDAR.AGG", "saved_games"), "../saved_games");
    EXPECT_EQ(save_folder_beside("VELDAR.AGG", "saved_camps"), "saved_camps");

    test::ScratchDataDir dir;
    EXPECT_EQ(saved_games_dir(), dir.root() + "/saved_games");
    EXPECT_EQ(saved_camps_dir(), dir.root() + "/saved_camps");
}

TEST(SavePaths, TypedNamesBecomeFileNamesInsideTheFolder) {
    test::ScratchDataDir dir;
    const std::string g = dir.root() + "/saved_games/";
    EXPECT_EQ(compose_save_path("my/save"), g + "my_save.sav");
    EXPECT_EQ(compose_save_path("  my save  "), g + "my save.sav");
    EXPECT_EQ(compose_save_path("x.sav"), g + "x.sav");
    EXPECT_EQ(compose_save_path("x.SAV"), g + "x.SAV.sav");
    EXPECT_EQ(compose_save_path(".."), g + "...sav");
    EXPECT_EQ(compose_save_path("..\\..\\etc"), g + ".._.._etc.sav");
    EXPECT_EQ(compose_save_path(std::string("a\0b", 3)), g + "a_b.sav");
    EXPECT_EQ(compose_save_path("autosave"), g + "autosave.sav");
    EXPECT_EQ(compose_campaign_save_path("c1"), dir.root() + "/saved_camps/c1.sav");

    const std::regex std_default(".*/saved_games/\\d\\d-\\d\\d-\\d\\d-\\d{4}-game\\.sav$");
    EXPECT_TRUE(std::regex_match(compose_save_path(" \t \r\n"), std_default)) << compose_save_path("   ");
    EXPECT_TRUE(std::regex_match(compose_save_path(""), std_default));
    const std::regex camp_default(".*/saved_camps/\\d{6}-\\d{4}-CAMP-SCEN-1\\.sav$");
    EXPECT_TRUE(std::regex_match(compose_campaign_save_path("  "), camp_default));
    EXPECT_FALSE(fs::exists(saved_games_dir()));  // composing never creates the folder
}

TEST(SavePaths, DefaultStemsFollowTheClock) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 6;
    t.tm_hour = 9;
    t.tm_min = 42;
    EXPECT_EQ(format_save_stem(t), "26-12-06-0942-");
    EXPECT_EQ(format_campaign_stem(t, 3), "261206-0942-CAMP-SCEN-3");
    EXPECT_EQ(default_save_stem().size(), 14u);
}

TEST(SavePaths, EnsureCreatesTheFolderButNotOverAFile) {
    test::ScratchDataDir dir;
    EXPECT_TRUE(ensure_saved_games_dir());
    EXPECT_TRUE(fs::is_directory(saved_games_dir()));
    EXPECT_TRUE(ensure_saved_games_dir());  // already there

    test::write_bytes(saved_camps_dir(), {1, 2, 3});
    EXPECT_FALSE(ensure_saved_camps_dir());
    EXPECT_TRUE(fs::is_regular_file(saved_camps_dir()));

    // Unwritable parent: creation fails and reports.
    set_save_archive_path(dir.root() + "/saved_camps/sub/VELDAR.AGG");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(ensure_saved_games_dir());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("save_game: cannot create save directory: " + dir.root() + "/saved_camps/sub/saved_games (", 0), 0u)
        << err;
}

TEST(SavePaths, ListsAreSavFilesNewestNameFirst) {
    test::ScratchDataDir dir;
    EXPECT_TRUE(list_save_files().empty());  // missing folder
    EXPECT_FALSE(fs::exists(saved_games_dir()));
    ASSERT_TRUE(ensure_saved_games_dir());
    EXPECT_TRUE(list_save_files().empty());

    const std::string g = saved_games_dir() + "/";
    for (const char* n : {"26-12-05-2310-game.sav", "autosave.sav", "26-12-06-0942-game.sav", "Zed.sav", "game.sav",
                          "game.SAV", "a.b.Sav", ".sav", "notes.txt", "savsav", "x.sav.tmp"})
        test::write_bytes(g + n, {0});
    fs::create_directory(g + "z.sav");
    test::write_bytes(dir.root() + "/target.bin", {0});
    fs::create_symlink(dir.root() + "/target.bin", g + "linked.sav");
    fs::create_symlink(dir.root() + "/missing.bin", g + "dangling.sav");

    std::vector<std::string> stems, files;
    for (const SaveFileInfo& f : list_save_files()) {
        stems.push_back(f.stem);
        files.push_back(f.filename);
        EXPECT_EQ(f.path, g + f.filename);
    }
    ASSERT_EQ(stems.size(), 8u) << testing::PrintToString(files);
    EXPECT_EQ(stems[0], "linked");
    EXPECT_EQ(stems[1], "game");
    EXPECT_EQ(stems[2], "game");
    EXPECT_EQ(stems[3], "autosave");
    EXPECT_EQ(stems[4], "a.b");
    EXPECT_EQ(stems[5], "Zed");
    EXPECT_EQ(stems[6], "26-12-06-0942-game");
    EXPECT_EQ(stems[7], "26-12-05-2310-game");
    EXPECT_TRUE(list_campaign_save_files().empty());
}

}  // namespace
}  // namespace vorn1
