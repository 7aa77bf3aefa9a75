#include "lang/language.h"

#include <SDL.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <vector>

#include "assets/text_encoding.h"

namespace vorn1 {

Language g_language = EN;

namespace {

constexpr const char* kCodes[kLanguageCount] = {"EN", "RU", "IT", "DE", "FR", "ES",
                                                "PL", "NO", "SE", "FI", "DK", "BR"};

char lower_ascii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool iequals_ascii(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower_ascii(a[i]) != lower_ascii(b[i])) return false;
    return true;
}

bool path_exists(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::exists(p, ec) && !ec;
}

bool is_dir(const std::string& p) {
    std::error_code ec;
    return std::filesystem::is_directory(p, ec) && !ec;
}

// Executable folder + "../" + name when that folder exists (in any letter case), else name relative
// to the working folder.
std::string data_folder(const char* name) {
    std::string base;
    if (char* b = SDL_GetBasePath()) {
        base = b;
        SDL_free(b);
    }
    if (!base.empty()) {
        std::string candidate = resolve_ci(base + "../" + name);
        if (is_dir(candidate)) return candidate;
    }
    return resolve_ci(name);
}

}  // namespace

namespace {

// The length of the well-formed UTF-8 sequence of a printable character at `i`, or 0.
std::size_t readable_length(const std::string& s, std::size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) return c >= 0x20 && c < 0x7F ? 1 : 0;
    // U+0080..U+009F are controls.
    if (c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) < 0xA0) return 0;
    return text::utf8_char_length(s, i);
}

}  // namespace

std::string readable_text(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t n = readable_length(text, i)) {
            out.append(text, i, n);
            i += n;
            continue;
        }
        const auto c = static_cast<unsigned char>(text[i++]);
        out += "\\x";
        out += kHex[c >> 4];
        out += kHex[c & 15];
    }
    return out;
}

const char* lang_code(int lang) {
    if (lang < 0 || lang >= kLanguageCount) return kCodes[EN];
    return kCodes[lang];
}

Language lang_from_code(const std::string& code) {
    for (int i = 0; i < kLanguageCount; ++i)
        if (iequals_ascii(code, kCodes[i])) return static_cast<Language>(i);
    return EN;
}

const std::string& lang_assets_root() {
    static const std::string root = data_folder("LANG");
    return root;
}

const std::string& alt_assets_root() {
    static const std::string root = data_folder("ALT");
    return root;
}

std::string resolve_ci(const std::string& path) {
    namespace fs = std::filesystem;
    if (path.empty() || path_exists(path)) return path;

    // Walk the components; each one missing as written is replaced by a case-insensitive match.
    std::vector<std::string> parts;
    std::string prefix;  // "/" for absolute paths
    std::size_t i = 0;
    if (path[0] == '/') {
        prefix = "/";
        i = 1;
    }
    while (i <= path.size()) {
        std::size_t j = path.find('/', i);
        if (j == std::string::npos) j = path.size();
        if (j > i) parts.push_back(path.substr(i, j - i));
        i = j + 1;
    }

    std::string current = prefix;
    for (const std::string& part : parts) {
        std::string exact = current + part;
        if (part == "." || part == ".." || path_exists(exact)) {
            current = exact + "/";
            continue;
        }
        std::string best;
        bool found = false;
        std::error_code ec;
        fs::directory_iterator it(current.empty() ? fs::path(".") : fs::path(current), ec);
        if (ec) return path;
        for (fs::directory_iterator end; it != end; it.increment(ec)) {
            if (ec) break;
            std::string name = it->path().filename().string();
            if (iequals_ascii(name, part) && (!found || name < best)) {
                best = name;
                found = true;
            }
        }
        if (!found) return path;
        current += best + "/";
    }
    if (!current.empty() && current.back() == '/' && (path.back() != '/')) current.pop_back();
    return current;
}

std::string lang_font_file(const std::string& file_name) {
    return lang_font_file(file_name, lang_assets_root());
}

std::string lang_font_file(const std::string& file_name, const std::string& root) {
    return resolve_ci(root + "/" + file_name);
}

const char* lang_font_code(Language lang) {
    switch (lang) {
        case RU: return "ru";
        case DE: return "de";
        case FR: return "fr";
        case PL: return "pl";
        case BR: return "br";
        case NO:
        case SE:
        case FI:
        case DK: return "sc";
        default: return "en";
    }
}

LangFontPaths lang_font_paths(Language lang) { return lang_font_paths(lang, lang_assets_root()); }

LangFontPaths lang_font_paths(Language lang, const std::string& root) {
    const std::string code = lang_font_code(lang);
    auto pick = [&](const std::string& stem) {
        std::string own = lang_font_file(stem + code + ".ttf", root);
        if (code == "en" || path_exists(own)) return own;
        std::string fallback = lang_font_file(stem + "en.ttf", root);
        std::cerr << "WARNING: font '" << own << "' not found; falling back to " << fallback << "\n";
        return fallback;
    };
    LangFontPaths out;
    out.large_path = pick("font_");
    out.large_size = kLargeFontSize;
    out.small_path = pick("font_small_");
    out.small_size = kSmallFontSize;
    return out;
}

}  // namespace vorn1
