#include "lang/lang_icn_override.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>
#include <vector>

#include "assets/png_decode.h"
#include "lang/language.h"

namespace vorn1 {

namespace {

constexpr uint64_t kMaxSpecBytes = 1024 * 1024;

bool is_english(const std::string& code) {
    return code.size() == 2 && (code[0] == 'E' || code[0] == 'e') && (code[1] == 'N' || code[1] == 'n');
}

char lower_ascii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool ends_with_ci(const std::string& s, const std::string& suffix) {
    if (s.size() < suffix.size()) return false;
    for (std::size_t i = 0; i < suffix.size(); ++i)
        if (lower_ascii(s[s.size() - suffix.size() + i]) != lower_ascii(suffix[i])) return false;
    return true;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Decimal integer of a whole attribute value (optional sign), saturating; false for anything else.
bool parse_int(const std::string& s, int64_t& out) {
    std::size_t i = 0;
    bool neg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
    if (i >= s.size()) return false;
    int64_t v = 0;
    for (; i < s.size(); ++i) {
        if (!is_digit(s[i])) return false;
        if (v < 1'000'000'000) v = v * 10 + (s[i] - '0');
    }
    out = neg ? -v : v;
    return true;
}

int16_t clamp16(int64_t v) { return static_cast<int16_t>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX)); }

bool read_small_file(const std::string& path, std::string& out) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return false;
    char buf[16384];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) {
        if (out.size() + n > kMaxSpecBytes) return false;
        out.append(buf, n);
    }
    return true;
}

}  // namespace

int override_frame_number(const std::string& file_name) {
    if (!ends_with_ci(file_name, ".png")) return -1;
    const std::size_t end = file_name.size() - 4;
    std::size_t begin = end;
    while (begin > 0 && is_digit(file_name[begin - 1])) --begin;
    if (begin == end) return -1;
    int64_t n = 0;
    for (std::size_t i = begin; i < end; ++i) {
        n = n * 10 + (file_name[i] - '0');
        if (n > kMaxOverrideFrame) return -1;
    }
    return static_cast<int>(n);
}

std::map<int, FrameOffset> parse_override_spec(const std::string& xml) {
    std::map<int, FrameOffset> out;
    std::size_t pos = 0;
    while ((pos = xml.find("<frame", pos)) != std::string::npos) {
        pos += 6;
        if (pos < xml.size() && !(xml[pos] == ' ' || xml[pos] == '\t' || xml[pos] == '\n' || xml[pos] == '\r' ||
                                  xml[pos] == '/' || xml[pos] == '>'))
            continue;  // another element whose name starts with "frame"
        const std::size_t close = xml.find('>', pos);
        if (close == std::string::npos) break;
        const std::string tag = xml.substr(pos, close - pos);
        pos = close + 1;

        bool has_index = false;
        int64_t index = -1, x = 0, y = 0;
        std::size_t i = 0;
        while (i < tag.size()) {
            while (i < tag.size() && !std::isalpha(static_cast<unsigned char>(tag[i]))) ++i;
            std::size_t name_begin = i;
            while (i < tag.size() && (std::isalnum(static_cast<unsigned char>(tag[i])) || tag[i] == '_')) ++i;
            std::string name = tag.substr(name_begin, i - name_begin);
            while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t')) ++i;
            if (i >= tag.size() || tag[i] != '=') continue;
            ++i;
            while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\t')) ++i;
            if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\'')) continue;
            const char quote = tag[i++];
            const std::size_t value_end = tag.find(quote, i);
            if (value_end == std::string::npos) break;
            const std::string value = tag.substr(i, value_end - i);
            i = value_end + 1;
            int64_t v = 0;
            if (!parse_int(value, v)) continue;
            if (name == "index") has_index = true, index = v;
            else if (name == "x") x = v;
            else if (name == "y") y = v;
        }
        if (!has_index || index < 0 || index > kMaxOverrideFrame) continue;
        out[static_cast<int>(index)] = FrameOffset{clamp16(x), clamp16(y)};
    }
    return out;
}

std::map<int, OverrideFrame> load_lang_icn_override_frames(const std::string& root, const std::string& code,
                                                           const std::string& stem) {
    if (code.empty() || is_english(code) || stem.empty()) return {};
    return load_png_frames(resolve_ci(root + "/" + code + "/" + stem));
}

std::map<int, OverrideFrame> load_png_frames(const std::string& folder) {
    namespace fs = std::filesystem;
    std::map<int, OverrideFrame> frames;
    if (folder.empty()) return frames;
    std::error_code ec;
    if (!fs::is_directory(folder, ec) || ec) return frames;

    std::vector<std::string> names;
    std::string spec_name;
    fs::directory_iterator it(folder, ec);
    if (ec) return frames;
    for (fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        std::error_code fec;
        if (!it->is_regular_file(fec) || fec) continue;
        std::string name = it->path().filename().string();
        if (override_frame_number(name) >= 0) names.push_back(name);
        else if (name.size() == 8 && ends_with_ci(name, "spec.xml") && (spec_name.empty() || name < spec_name))
            spec_name = name;
    }
    // Sorted so that of two names for one frame ("3.png", "003.png") the same one wins every time.
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const int n = override_frame_number(name);
        if (frames.count(n)) continue;
        try {
            Image img = load_png_file(folder + "/" + name);
            if (img.empty()) continue;
            frames[n].image = std::move(img);
        } catch (const std::exception& e) {
            std::cerr << "  WARNING: " << folder << "/" << name << ": " << e.what() << "\n";
        }
    }
    if (!spec_name.empty()) {
        std::string xml;
        if (read_small_file(folder + "/" + spec_name, xml)) {
            for (const auto& [n, off] : parse_override_spec(xml)) {
                auto f = frames.find(n);
                if (f == frames.end()) continue;
                f->second.has_offset = true;
                f->second.offset = off;
            }
        } else {
            std::cerr << "  WARNING: " << folder << "/" << spec_name << " unreadable or too large, ignored\n";
        }
    }
    return frames;
}

std::map<int, Image> load_lang_icn_override(const std::string& root, const std::string& code,
                                            const std::string& stem) {
    std::map<int, Image> out;
    for (auto& [n, f] : load_lang_icn_override_frames(root, code, stem)) out.emplace(n, std::move(f.image));
    return out;
}

bool load_lang_png_override(const std::string& root, const std::string& code, const std::string& name, Image& out) {
    if (code.empty() || is_english(code) || name.empty()) return false;
    const std::string path = resolve_ci(root + "/" + code + "/" + name + ".png");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || ec) return false;
    try {
        Image img = load_png_file(path);
        if (img.empty()) return false;
        out = std::move(img);
        return true;
    } catch (const std::exception& e) {
        std::cerr << "  WARNING: " << path << ": " << e.what() << "\n";
        return false;
    }
}

}  // namespace vorn1
