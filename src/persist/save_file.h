#pragma once
// Crash-safe writing of a whole file image and bounded reading of one.
#include <cstdint>
#include <string>
#include <vector>

namespace vorn1 {

// What a save did: the file it was to write and, when it was not written, the system's reason and
// the file that reason belongs to when that is not `path` (the temporary file that could not be
// opened or written, the save folder that could not be made; the player finds nothing wrong with
// the target then, or no target at all).
struct SaveOutcome {
    bool ok = false;
    std::string path;
    std::string reason;
    std::string reason_file{};  // empty: `path`
};

// Texts of the log lines, which differ between the standard and the campaign writer.
struct SaveWriteTexts {
    const char* op;         // "save_game"
    const char* open_fail;  // "cannot open temp file for writing: "
};

// Writes the image to "<target>.tmp", flushes, fsyncs and closes it with every step checked, then
// renames it over the target. Any failure prints one line and returns false; the target then still
// holds its old contents. `outcome` (when given) gets the target, the result and, on failure, the
// system's reason and the file it belongs to.
bool write_file_atomic(const std::string& target, const std::vector<uint8_t>& image, const SaveWriteTexts& texts,
                       SaveOutcome* outcome = nullptr);

enum class ReadFileStatus { ok, cannot_open, too_large };
// Reads the whole file, refusing (without reading it all) one larger than max_bytes.
ReadFileStatus read_file_bounded(const std::string& path, uint64_t max_bytes, std::vector<uint8_t>& out);

}  // namespace vorn1
