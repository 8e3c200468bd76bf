#include "tests/support/TempHome.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fenta21::test {

TempHome::TempHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "fenta21-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    home_ = root_ + "/home";
    std::filesystem::create_directory(home_);
}

TempHome::~TempHome() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

void TempHome::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(file(name), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempHome::read(const std::string& name) const { return readFileBytes(file(name)); }

std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool TempHome::exists(const std::string& name) const { return std::filesystem::exists(file(name)); }

}  // namespace fenta21::test
