#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vorn1 {

// The opened data archive. Entries are looked up by name, case-insensitively (names upper-cased).
class AggArchive {
public:
    struct Entry {
        uint32_t hash = 0;
        uint32_t offset = 0;
        uint32_t size = 0;
    };

    // Opens the file (found ignoring case when absent as written) and reads its index; throws
    // std::runtime_error ("AGG has zero files", ...), also when an entry has no readable name or its
    // bytes lie outside the archive's data (a file cut short or overwritten).
    explicit AggArchive(const std::string& path);
    // An archive image held in memory (tests, fuzzing); same checks.
    static AggArchive from_bytes(std::vector<uint8_t> bytes);

    bool has(const std::string& name) const;
    // Copy of the entry's bytes; empty when absent or empty, or when the file could not be read.
    std::vector<uint8_t> get(const std::string& name) const;
    // Names in index order (upper-case).
    const std::vector<std::string>& names() const { return names_; }
    const std::string& path() const { return path_; }

private:
    AggArchive() = default;
    // `data` holds the records and the name table as one image of `size` bytes; entry ranges are
    // checked against the whole file of `file_size` bytes.
    void read_index(const uint8_t* data, uint64_t size, uint64_t file_size);

    std::string path_;
    std::shared_ptr<std::FILE> file_;  // open for the archive's lifetime when read from disk
    std::vector<uint8_t> memory_;  // whole image when built from bytes
    uint64_t file_size_ = 0;
    std::vector<std::string> names_;
    std::vector<Entry> entries_;
    std::unordered_map<std::string, int> by_name_;
};

// Base folder (from SDL_GetBasePath) + "../VELDAR.AGG", or "../VELDAR.AGG" alone; computed once.
const std::string& agg_base_path();
// Set once at start-up from agg_base_path(); its folder part locates sounds and music.
extern std::string AGG_PATH;
// The folder part of a path up to and including the last '/' or '\\' (empty when none).
std::string path_folder(const std::string& path);
// What the player is told when the archive at `path` did not open (`reason` from the reader): where
// to put it when it is not there, else that the file there is damaged or unreadable.
std::string archive_failure_text(const std::string& path, const std::string& reason);

// The 32-bit name hash stored in each index record. Look-ups go through the name table, so the
// reader never checks it; writers store it to keep the records complete.
uint32_t agg_name_hash(const std::string& name);

// Upper-cases ASCII letters only (archive names may hold bytes above 127).
std::string upper_ascii(std::string s);

}  // namespace vorn1
