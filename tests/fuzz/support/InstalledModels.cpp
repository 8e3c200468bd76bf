#include "tests/fuzz/support/InstalledModels.h"

#include "tests/fuzz/support/FuzzHome.h"

#include <cstdlib>

namespace fenta21::fuzz {

ModelRegistry& installedRegistry() {
    static ModelRegistry registry(fuzzHome());
    static const bool loaded = (registry.loadModelTable(), true);
    (void)loaded;
    return registry;
}

const std::vector<CurrentModel>& installedModels() {
    static const std::vector<CurrentModel> models = [] {
        std::vector<CurrentModel> found;
        ModelRegistry& registry = installedRegistry();
        for (const ModelEntry& entry : registry.modelTable()->entries) {
            CurrentModel model;
            if (registry.identifyModel(entry.code, &model) == 0) found.push_back(model);
        }
        if (found.empty()) std::abort();  // the installation files were not copied
        return found;
    }();
    return models;
}

}  // namespace fenta21::fuzz
