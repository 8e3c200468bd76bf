#pragma once

#include "tests/support/TempHome.h"

#include <filesystem>
#include <string>

namespace fenta21::test {

// Copies the installation files the program ships (type.dat, the kind tables, the header
// reference files) into a temporary home folder.
inline void installConfiguration(const TempHome& home) {
    for (const auto& entry : std::filesystem::directory_iterator(FENTA21_CONFIG_DIR)) {
        std::string extension = entry.path().extension().string();
        if (extension == ".dat" || extension == ".hed")
            std::filesystem::copy_file(entry.path(), home.file(entry.path().filename().string()),
                                       std::filesystem::copy_options::overwrite_existing);
    }
}

}  // namespace fenta21::test
