#pragma once
// Where save files live, how a typed name becomes a path, and the lists the dialogs show.
#include <ctime>
#include <string>
#include <vector>

namespace vorn1 {

struct SaveFileInfo {
    std::string path;      // folder + "/" + file name
    std::string filename;  // "autosave.sav"
    std::string stem;      // "autosave": the text the dialogs show
};

// The save folders beside the data archive ("saved_games", "saved_camps"), normalised lexically.
std::string saved_games_dir();
std::string saved_camps_dir();
// The same for any archive path (the folder part of the path, or "./").
std::string save_folder_beside(const std::string& archive_path, const std::string& folder_name);
// Replaces the archive path the folders hang off (tests, tools); empty restores agg_base_path().
void set_save_archive_path(const std::string& archive_path);

// A file as the player finds it: from the data archive's folder when it lies there
// ("saved_games/a.sav", "STANDARD.HS"), otherwise its folder and name.
std::string path_beside_archive(const std::string& path);

// True when the folder exists as a folder or could be created (one error line otherwise, and the
// system's reason in `reason` when given).
bool ensure_saved_games_dir(std::string* reason = nullptr);
bool ensure_saved_camps_dir(std::string* reason = nullptr);

// Separators and zero bytes become "_", surrounding white space goes; may return "".
std::string sanitise_name(const std::string& name);

// "%y-%m-%d-%H%M-" of the current local time (14 characters).
std::string default_save_stem();
// "%y%m%d-%H%M" framed as "%s-CAMP-SCEN-%d" with the scenario number.
std::string default_campaign_stem(int scenario);
// The two stems for a given local time.
std::string format_save_stem(const std::tm& local);
std::string format_campaign_stem(const std::tm& local, int scenario);

// Full path of a save of that name in the folder of its kind; the folder is not created.
std::string compose_save_path(const std::string& name);
std::string compose_campaign_save_path(const std::string& name);

// True when saving under `name` would replace a file that is there (a question comes first).
bool save_name_taken(const std::string& name, bool campaign);
// `stem` when no save of that name is there, else the first free of stem-2, stem-3, ... (so a save
// made without asking never replaces one); empty when even stem-999 is taken.
std::string free_save_stem(const std::string& stem, bool campaign);

// The ".sav" files of a folder, stems in descending byte order; a missing folder lists nothing.
std::vector<SaveFileInfo> list_save_files();
std::vector<SaveFileInfo> list_campaign_save_files();
std::vector<SaveFileInfo> list_save_folder(const std::string& folder);

}  // namespace vorn1
