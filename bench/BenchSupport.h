#pragma once

// What the data-file benchmarks share: the full logger memory they work on, the program's own
// model files, and a host that answers nothing.
#include "core/base/Host.h"
#include "core/protocol/ModelRegistry.h"
#include "sim/image/DataImage.h"

#include <filesystem>
#include <stdexcept>
#include <string>

namespace fenta21::bench {

inline std::string configFolder() {
#ifdef FENTA21_BENCH_CONFIG_DIR
    return FENTA21_BENCH_CONFIG_DIR;
#else
    return (std::filesystem::path(__FILE__).parent_path().parent_path() / "config").string();
#endif
}

// A general model whose columns come from its records: eight strain channels, `instants`
// instants a minute apart (250000 make 2 million records, about 16 MiB).
inline sim::ImageRecipe strainRecipe(int instants = 250000) {
    sim::ImageRecipe recipe;
    recipe.modelCode = "RS8-04";
    recipe.intervalSeconds = 60;
    recipe.instants = instants;
    for (int channel = 0; channel < 8; ++channel)
        recipe.channels.push_back({channel, 60, channel * 1000 - 4000, channel % 2 == 0 ? 3 : -7});
    return recipe;
}

// The model table of config/, loaded once.
inline ModelRegistry& installedModels() {
    static ModelRegistry registry(configFolder());
    static bool loaded = [] {
        registry.loadModelTable();
        if (registry.identifyModel("RS8-04") != 0) throw std::runtime_error("no config/type.dat at " + configFolder());
        return true;
    }();
    (void)loaded;
    return registry;
}

struct SilentHost : Host {
    void report(const std::string&) override {}
    Answer ask(Question, const std::string&) override { return Answer::No; }
    std::vector<std::string> chooseOpenFiles(const OpenFileRequest&) override { return {}; }
    std::string chooseSaveFile(const std::string&, const std::string&) override { return {}; }
    std::string chooseFolder(const std::string&) override { return {}; }
    void showNotice(const std::string&) override {}
    void hideNotice() override {}
    int runModal(const ModalSpec&, std::atomic<int>&, const std::function<int(ModalContext&)>&) override { return 0; }
    void openTextFile(const std::string&) override {}
};

}  // namespace fenta21::bench
