#pragma once
// A scratch data folder for the persistence tests: the save folders hang off a fake archive in it.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "persist/save_paths.h"

namespace vorn1::test {

class ScratchDataDir {
public:
    ScratchDataDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vorn1_saves_XXXXXX").string();
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        root_ = ::mkdtemp(buf.data()) ? std::string(buf.data()) : std::string();
        set_save_archive_path(root_ + "/VELDAR.AGG");
    }
    ~ScratchDataDir() {
        set_save_archive_path("");
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    const std::string& root() const { return root_; }

private:
    std::string root_;
};

inline std::vector<uint8_t> read_bytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

inline void write_bytes(const std::string& path, const std::vector<uint8_t>& b) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

}  // namespace vorn1::test
