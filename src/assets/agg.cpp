#include "assets/agg.h"

#include <SDL.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "lang/language.h"

namespace vorn1 {

namespace {

constexpr uint64_t kRecordSize = 12;
constexpr uint64_t kNameSize = 15;  // 13-byte zero-padded name + 2 unused bytes
constexpr uint64_t kNameChars = 13;

uint32_t rd32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

std::string AGG_PATH;

std::string upper_ascii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string path_folder(const std::string& path) {
    auto pos = path.find_last_of("/\\");
    return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

std::string archive_failure_text(const std::string& path, const std::string& reason) {
    std::error_code ec;
    const std::string found = resolve_ci(path);
    // Paths and names come from the disk and the file: shown escaped where they are not text.
    const std::string why = readable_text(reason);
    if (!std::filesystem::exists(found, ec))
        return "The data archive could not be opened.\nPath tried: " + readable_text(path) + "\n(" + why +
               ")\nPut VELDAR.AGG in the folder above the game's program folder.";
    return "The data archive is damaged or cannot be read:\n" + readable_text(found) + "\n(" + why +
           ")\nReplace it with a whole copy of the file.";
}

const std::string& agg_base_path() {
    static const std::string path = [] {
        std::string base;
        if (char* p = SDL_GetBasePath()) {
            base = p;
            SDL_free(p);
        }
        return base + "../VELDAR.AGG";
    }();
    return path;
}

uint32_t agg_name_hash(const std::string& name) {
    uint32_t a = 0, b = 0;
    for (auto it = name.rbegin(); it != name.rend(); ++it) {
        uint8_t c = static_cast<uint8_t>(*it);
        if (c >= 'a' && c <= 'z') c = static_cast<uint8_t>(c - 'a' + 'A');
        a = (a << 5) + (a >> 25);
        b += c;
        a += b + c;
    }
    return a;
}

namespace {

// Entry count of an archive of `size` bytes whose first two bytes are `head`; throws unless the
// records and the name table fit.
uint64_t checked_count(const uint8_t* head, uint64_t size) {
    if (size < 2) throw std::runtime_error("AGG file too small for its entry count");
    const uint64_t count = static_cast<uint64_t>(head[0]) | static_cast<uint64_t>(head[1]) << 8;
    if (count == 0) throw std::runtime_error("AGG has zero files");
    if (2 + count * kRecordSize + count * kNameSize > size)
        throw std::runtime_error("AGG index truncated: " + std::to_string(count) + " entries do not fit in " +
                                 std::to_string(size) + " bytes");
    return count;
}

// An entry name as the index can hold it: at least one character, none of them a control byte.
// Names read from garbage (a cut or overwritten file) fail this almost at once.
bool plausible_name(const char* n, std::size_t len) {
    if (len == 0) return false;
    for (std::size_t i = 0; i < len; ++i) {
        const auto c = static_cast<uint8_t>(n[i]);
        if (c < 0x20 || c == 0x7F) return false;
    }
    return true;
}

}  // namespace

void AggArchive::read_index(const uint8_t* data, uint64_t size, uint64_t file_size) {
    const uint64_t count = checked_count(data, size);
    const uint8_t* names = data + (size - count * kNameSize);
    // Entry data lies between the records and the name table of the whole file.
    const uint64_t data_begin = 2 + count * kRecordSize, data_end = file_size - count * kNameSize;
    entries_.reserve(count);
    names_.reserve(count);
    for (uint64_t i = 0; i < count; ++i) {
        const uint8_t* rec = data + 2 + i * kRecordSize;
        const Entry e{rd32(rec), rd32(rec + 4), rd32(rec + 8)};
        const char* n = reinterpret_cast<const char*>(names + i * kNameSize);
        std::size_t len = 0;
        while (len < kNameChars && n[len] != '\0') ++len;
        if (!plausible_name(n, len))
            throw std::runtime_error("AGG index damaged: entry " + std::to_string(i) + " has no readable name");
        std::string name = upper_ascii(std::string(n, len));
        if (e.size != 0 && (e.offset < data_begin || static_cast<uint64_t>(e.offset) + e.size > data_end))
            throw std::runtime_error("AGG index damaged: entry " + std::to_string(i) + " (" + readable_text(name) +
                                     ") lies outside the archive's data");
        entries_.push_back(e);
        names_.push_back(std::move(name));
        by_name_.try_emplace(names_.back(), static_cast<int>(i));  // the first of duplicate names wins
    }
    file_size_ = file_size;
}

// The reasons leave the path out: the notice that shows them names the file once, itself.
AggArchive::AggArchive(const std::string& path) : path_(path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    int open_error = errno;
    if (!f) {
        // Data copied from another system may spell the archive's name in another case.
        path_ = resolve_ci(path);
        if (path_ != path) {
            f = std::fopen(path_.c_str(), "rb");
            open_error = errno;
        }
    }
    if (!f) throw std::runtime_error(std::string("cannot open archive: ") + std::strerror(open_error));
    file_.reset(f, [](std::FILE* p) { std::fclose(p); });
    if (std::fseek(f, 0, SEEK_END) != 0) throw std::runtime_error("cannot read archive");
    const long end = std::ftell(f);
    if (end < 0) throw std::runtime_error("cannot read archive");
    const uint64_t size = static_cast<uint64_t>(end);
    uint8_t head[2] = {0, 0};
    std::fseek(f, 0, SEEK_SET);
    if (std::fread(head, 1, size < 2 ? size : 2, f) != (size < 2 ? size : 2))
        throw std::runtime_error("cannot read archive");
    const uint64_t count = checked_count(head, size);
    // Only the records (at the head) and the name table (at the tail) are read; read_index gets
    // them joined as a compact image of the same layout.
    const uint64_t head_len = 2 + count * kRecordSize, names_len = count * kNameSize;
    std::vector<uint8_t> idx(head_len + names_len);
    std::fseek(f, 0, SEEK_SET);
    if (std::fread(idx.data(), 1, head_len, f) != head_len ||
        std::fseek(f, static_cast<long>(size - names_len), SEEK_SET) != 0 ||
        std::fread(idx.data() + head_len, 1, names_len, f) != names_len)
        throw std::runtime_error("cannot read archive index");
    read_index(idx.data(), idx.size(), size);
}

AggArchive AggArchive::from_bytes(std::vector<uint8_t> bytes) {
    AggArchive a;
    a.memory_ = std::move(bytes);
    a.read_index(a.memory_.data(), a.memory_.size(), a.memory_.size());
    return a;
}

bool AggArchive::has(const std::string& name) const {
    return by_name_.count(upper_ascii(name)) != 0;
}

std::vector<uint8_t> AggArchive::get(const std::string& name) const {
    auto it = by_name_.find(upper_ascii(name));
    if (it == by_name_.end()) return {};
    const Entry& e = entries_[it->second];
    if (static_cast<uint64_t>(e.offset) + e.size > file_size_ || e.size == 0) return {};
    std::vector<uint8_t> out;
    if (!file_) {
        out.assign(memory_.begin() + e.offset, memory_.begin() + e.offset + e.size);
        return out;
    }
    out.resize(e.size);
    if (std::fseek(file_.get(), static_cast<long>(e.offset), SEEK_SET) != 0 ||
        std::fread(out.data(), 1, out.size(), file_.get()) != out.size())
        return {};
    return out;
}

}  // namespace vorn1
