#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "datakit/datakit.h"

namespace vorn1::kit {

void write_file(const std::string& path, const Bytes& data) {
    std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    if (!f) throw std::runtime_error("cannot write " + path);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!f) throw std::runtime_error("write error on " + path);
}

void write_seed(const std::string& out_dir, const std::string& corpus, const std::string& file, const Bytes& data) {
    write_file(out_dir + "/" + corpus + "/" + file, data);
}

}  // namespace vorn1::kit
