#include "sim/DemoImage.h"

#include "core/base/Cp932.h"
#include "sim/image/DataImage.h"

namespace fenta21::sim {

std::string demoImage(const std::string& stationName, const std::string& modelCode) {
    ImageRecipe recipe;
    recipe.modelCode = utf8ToCp932(modelCode);
    recipe.stationName = utf8ToCp932(stationName);
    recipe.instants = 144;
    recipe.intervalSeconds = 600;
    recipe.channels = {{0, 1, 10, 1, 0}, {1, 2, 180, 3, 0}, {2, 3, 120, 0, 0}};
    return buildDataImage(recipe);
}

}  // namespace fenta21::sim
