#pragma once
// A folder of its own under the system's temporary folder, removed at the end. The process id keeps
// runs of other checkouts apart; the counter keeps two folders of one test apart.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "datakit/datakit.h"

namespace vorn1::test {

struct TempDir {
    std::filesystem::path path;
    explicit TempDir(const std::string& tag) {
        static int counter = 0;
        path = std::filesystem::temp_directory_path() /
               ("vorn1_" + tag + "_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The folder with its trailing separator, as the loaders take it.
    std::string dir() const { return path.string() + "/"; }
    void put(const std::string& rel, const kit::Bytes& bytes) const { kit::write_file((path / rel).string(), bytes); }
};

}  // namespace vorn1::test
