#include "persist/save_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace fs = std::filesystem;

namespace vorn1 {

namespace {

bool write_all(int fd, const uint8_t* p, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (w == 0) {
            errno = EIO;
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

// Best effort: makes the rename itself durable.
void sync_parent_folder(const std::string& target) {
    fs::path dir = fs::path(target).parent_path();
    if (dir.empty()) dir = ".";
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

void set_failure(SaveOutcome* outcome, const std::string& reason, const std::string& file) {
    if (!outcome) return;
    outcome->reason = reason;
    outcome->reason_file = file;
}

}  // namespace

bool write_file_atomic(const std::string& target, const std::vector<uint8_t>& image, const SaveWriteTexts& texts,
                       SaveOutcome* outcome) {
    // Past a file-size limit the write must fail and be reported, not end the game.
    static const bool size_signal_ignored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    (void)size_signal_ignored;
    const std::string tmp = target + ".tmp";
    if (outcome) *outcome = SaveOutcome{false, target, {}, {}};
    std::cout << texts.op << ": writing " << image.size() << " bytes to " << target << "\n";

    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        set_failure(outcome, std::generic_category().message(errno), tmp);
        std::cerr << texts.op << ": " << texts.open_fail << tmp << "\n";
        return false;
    }
    // A full disk or a size limit may only show at fsync or close: each is checked, and the first
    // failure's reason is the one told.
    int err = 0;
    if (!write_all(fd, image.data(), image.size())) err = errno;
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err != 0) {
        set_failure(outcome, std::generic_category().message(err), tmp);
        std::cerr << texts.op << ": write error on " << tmp << "\n";
        // A partial file would keep a nearly full disk full.
        std::error_code rm_ec;
        fs::remove(tmp, rm_ec);
        return false;
    }

    // Only a rename replaces the old save in one step. Copying over it instead could leave a torn
    // file behind if the copy failed halfway, so a failed rename keeps the old save and reports.
    std::error_code ec;
    fs::rename(tmp, target, ec);
    if (ec) {
        set_failure(outcome, ec.message(), {});
        std::cerr << texts.op << ": could not finalise " << target << " (" << ec.message() << ")\n";
        std::error_code rm_ec;
        fs::remove(tmp, rm_ec);
        return false;
    }
    sync_parent_folder(target);
    std::cout << texts.op << ": saved OK -> " << target << "\n";
    if (outcome) outcome->ok = true;
    return true;
}

ReadFileStatus read_file_bounded(const std::string& path, uint64_t max_bytes, std::vector<uint8_t>& out) {
    out.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return ReadFileStatus::cannot_open;
    struct stat st{};
    if (::fstat(::fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(f);
        return ReadFileStatus::cannot_open;
    }
    if (::fstat(::fileno(f), &st) == 0 && S_ISREG(st.st_mode)) {
        if (static_cast<uint64_t>(st.st_size) > max_bytes) {
            std::fclose(f);
            return ReadFileStatus::too_large;
        }
        out.reserve(static_cast<std::size_t>(st.st_size));
    }
    // Read in chunks as well: the size of a special file is not known ahead.
    uint8_t chunk[65536];
    for (;;) {
        const std::size_t n = std::fread(chunk, 1, sizeof chunk, f);
        if (n == 0) break;
        if (out.size() + n > max_bytes) {
            std::fclose(f);
            out.clear();
            return ReadFileStatus::too_large;
        }
        out.insert(out.end(), chunk, chunk + n);
    }
    const bool err = std::ferror(f) != 0;
    std::fclose(f);
    if (err) {
        out.clear();
        return ReadFileStatus::cannot_open;
    }
    return ReadFileStatus::ok;
}

}  // namespace vorn1
