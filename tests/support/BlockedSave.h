#pragma once

#include "tests/support/TempHome.h"

#include <filesystem>
#include <string>

namespace fenta21::test {

// Makes every save of the home file `name` fail, even for a user whom file permissions do
// not stop, while it still reads as before: it becomes a link to a file of its content whose
// name is so long that no name for a new copy written aside fits beside it.
inline void blockSaving(const TempHome& home, const std::string& name) {
    const std::string longName(240, 'x');
    std::filesystem::rename(home.file(name), home.file(longName));
    std::filesystem::create_symlink(longName, home.file(name));
}

}  // namespace fenta21::test
