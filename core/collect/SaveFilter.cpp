#include "core/collect/SaveFilter.h"

#include "core/datafile/DataFileMessages.h"

#include <filesystem>

namespace fenta21 {

std::string saveFilterFor(const std::string& suggestedPath) {
    // The names a collection forms end in ".v38" or ".txt" exactly (formDataFileName,
    // formTextFileName).
    std::string extension = std::filesystem::path(suggestedPath).extension().string();
    if (extension == ".v38") return kDataFileFilter;
    if (extension == ".txt") return kTextFileFilter;
    return {};
}

}  // namespace fenta21
