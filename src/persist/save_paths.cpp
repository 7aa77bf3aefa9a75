#include "persist/save_paths.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "assets/agg.h"

namespace fs = std::filesystem;

namespace vorn1 {

namespace {

std::string& archive_override() {
    static std::string path;
    return path;
}

std::string save_archive_path() {
    const std::string& over = archive_override();
    return over.empty() ? agg_base_path() : over;
}

bool ensure_folder(const std::string& folder, const char* op, std::string* reason) {
    std::error_code ec;
    const fs::file_status st = fs::status(folder, ec);
    if (!ec && fs::exists(st)) {
        if (fs::is_directory(st)) return true;
        // Something else of that name stands where the folder should be.
        if (reason) *reason = std::make_error_code(std::errc::not_a_directory).message();
        return false;
    }
    ec.clear();
    fs::create_directories(folder, ec);
    if (!ec) return true;
    std::cerr << op << ": cannot create save directory: " << folder << " (" << ec.message() << ")\n";
    if (reason) *reason = ec.message();
    return false;
}

std::tm local_now() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

bool ends_with_sav(const std::string& s) {
    return s.size() >= 4 && s.compare(s.size() - 4, 4, ".sav") == 0;
}

// Extension from the last "."; none when the only "." is the first character.
std::string::size_type extension_start(const std::string& file_name) {
    const auto dot = file_name.rfind('.');
    if (dot == std::string::npos || dot == 0) return std::string::npos;
    return dot;
}

}  // namespace

std::string save_folder_beside(const std::string& archive_path, const std::string& folder_name) {
    const auto cut = archive_path.find_last_of("/\\");
    const std::string base = cut == std::string::npos ? std::string("./") : archive_path.substr(0, cut + 1);
    return (fs::path(base) / folder_name).lexically_normal().string();
}

void set_save_archive_path(const std::string& archive_path) { archive_override() = archive_path; }

std::string saved_games_dir() { return save_folder_beside(save_archive_path(), "saved_games"); }
std::string saved_camps_dir() { return save_folder_beside(save_archive_path(), "saved_camps"); }

std::string path_beside_archive(const std::string& path) {
    if (path.empty()) return path;
    const fs::path file = fs::path(path).lexically_normal();
    const fs::path base = fs::path(save_folder_beside(save_archive_path(), ".")).lexically_normal();
    const fs::path inside = file.lexically_relative(base);
    if (!inside.empty() && *inside.begin() != ".." && inside != ".") return inside.string();
    // Elsewhere the folder's name tells which folder it is; "." or ".." would tell nothing.
    const fs::path folder = file.parent_path().filename();
    const bool named = !folder.empty() && folder != "." && folder != "..";
    return (named ? folder / file.filename() : file.filename()).string();
}

bool ensure_saved_games_dir(std::string* reason) { return ensure_folder(saved_games_dir(), "save_game", reason); }
bool ensure_saved_camps_dir(std::string* reason) {
    return ensure_folder(saved_camps_dir(), "save_campaign_game", reason);
}

std::string sanitise_name(const std::string& name) {
    std::string s = name;
    for (char& c : s)
        if (c == '/' || c == '\\' || c == '\0') c = '_';
    const char* ws = " \t\n\v\f\r";
    const auto first = s.find_first_not_of(ws);
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(ws);
    return s.substr(first, last - first + 1);
}

std::string format_save_stem(const std::tm& local) {
    char buf[64];
    const std::size_t n = std::strftime(buf, sizeof buf, "%y-%m-%d-%H%M-", &local);
    return std::string(buf, n);
}

std::string format_campaign_stem(const std::tm& local, int scenario) {
    char when[32];
    const std::size_t n = std::strftime(when, sizeof when, "%y%m%d-%H%M", &local);
    when[n] = '\0';
    char buf[80];
    std::snprintf(buf, sizeof buf, "%s-CAMP-SCEN-%d", when, scenario);
    return buf;
}

std::string default_save_stem() { return format_save_stem(local_now()); }
std::string default_campaign_stem(int scenario) { return format_campaign_stem(local_now(), scenario); }

std::string compose_save_path(const std::string& name) {
    std::string file = sanitise_name(name);
    if (file.empty()) file = default_save_stem() + "game";
    if (!ends_with_sav(file)) file += ".sav";
    return (fs::path(saved_games_dir()) / file).string();
}

std::string compose_campaign_save_path(const std::string& name) {
    std::string file = sanitise_name(name);
    if (file.empty()) file = default_campaign_stem(1);
    if (!ends_with_sav(file)) file += ".sav";
    return (fs::path(saved_camps_dir()) / file).string();
}

bool save_name_taken(const std::string& name, bool campaign) {
    std::error_code ec;
    return fs::exists(campaign ? compose_campaign_save_path(name) : compose_save_path(name), ec);
}

std::string free_save_stem(const std::string& stem, bool campaign) {
    if (!save_name_taken(stem, campaign)) return stem;
    for (int n = 2; n <= 999; ++n) {
        std::string candidate = stem + "-" + std::to_string(n);
        if (!save_name_taken(candidate, campaign)) return candidate;
    }
    return {};
}

std::vector<SaveFileInfo> list_save_folder(const std::string& folder) {
    std::vector<SaveFileInfo> out;
    std::error_code ec;
    const fs::file_status st = fs::status(folder, ec);
    if (ec || !fs::exists(st)) return out;
    fs::directory_iterator it(folder, ec);
    if (ec) return out;
    // The scan stops at its first error and keeps what it gathered.
    while (it != fs::directory_iterator()) {
        bool regular = it->is_regular_file(ec);
        if (ec == std::errc::no_such_file_or_directory) {  // a dangling link is just not a save
            ec.clear();
            regular = false;
        }
        if (ec) break;
        const std::string file = it->path().filename().string();
        const auto dot = extension_start(file);
        if (regular && dot != std::string::npos) {
            std::string ext = file.substr(dot);
            for (char& c : ext)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if (ext == ".sav") out.push_back({it->path().string(), file, file.substr(0, dot)});
        }
        it.increment(ec);
        if (ec) break;
    }
    std::sort(out.begin(), out.end(), [](const SaveFileInfo& a, const SaveFileInfo& b) { return a.stem > b.stem; });
    return out;
}

std::vector<SaveFileInfo> list_save_files() { return list_save_folder(saved_games_dir()); }
std::vector<SaveFileInfo> list_campaign_save_files() { return list_save_folder(saved_camps_dir()); }

}  // namespace vorn1
