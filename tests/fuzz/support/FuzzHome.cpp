#include "tests/fuzz/support/FuzzHome.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fenta21::fuzz {
namespace {

std::string makeHome() {
    namespace fs = std::filesystem;
    std::string base = fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string();
    std::string pattern = base + "/fenta21-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    for (const auto& entry : fs::directory_iterator(FENTA21_CONFIG_DIR))
        fs::copy_file(entry.path(), fs::path(pattern) / entry.path().filename());
    return pattern;
}

struct Home {
    std::string path = makeHome();
    ~Home() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

}  // namespace

const std::string& fuzzHome() {
    static const Home home;
    return home.path;
}

std::string writeHomeFile(const std::string& name, std::string_view bytes) {
    std::string path = fuzzHome() + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

}  // namespace fenta21::fuzz
