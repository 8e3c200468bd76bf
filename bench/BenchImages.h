#pragma once

#include "sim/image/DataImage.h"

namespace fenta21::bench {

// A full logger memory: 250000 instants of eight strain channels, 2 million records (about
// 16 MiB). The CSV, the plot benchmarks and the test of "fenta21-cli plot" all use this file.
inline constexpr int kFullMemoryInstants = 250000;

inline sim::ImageRecipe fullStrainRecipe() {
    sim::ImageRecipe recipe;
    recipe.modelCode = "RS8-04";
    recipe.intervalSeconds = 60;
    recipe.instants = kFullMemoryInstants;
    for (int channel = 0; channel < 8; ++channel)
        recipe.channels.push_back({channel, 60, channel * 1000 - 4000, channel % 2 == 0 ? 3 : -7});
    return recipe;
}

}  // namespace fenta21::bench
