// The asset cache over any archive: every entry may be missing or corrupt; nothing may crash.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

#include "assets/resources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<vorn1::AggArchive> archive;
    try {
        archive = std::make_unique<vorn1::AggArchive>(vorn1::AggArchive::from_bytes(std::vector<uint8_t>(data, data + size)));
    } catch (const std::exception&) {
        return 0;
    }
    // The cache's warning lines would bury libFuzzer's report: silence them while it loads.
    static const int null_fd = ::open("/dev/null", O_WRONLY);
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(null_fd, STDERR_FILENO);
    {
        vorn1::Resources res(nullptr, std::move(archive));
        res.cursors.rebuild(2);
    }
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    return 0;
}
