#include "sim/DemoImage.h"

#include "core/base/Cp932.h"
#include "sim/image/DataImage.h"

namespace fenta21::sim {

std::string demoImage(const std::string& stationName, const std::string& modelCode) {
    ImageRecipe recipe;
    recipe.modelCode = utf8ToCp932(modelCode);
    recipe.stationName = utf8ToCp932(stationName);
    recipe.memo = {utf8ToCp932("河辺観測所"), "ANEMOMETER 10m", "", "", "", ""};
    recipe.instants = 144;
    recipe.intervalSeconds = 600;
    // What the installed WNDA-01 kind table describes: mean wind speed (0.1 m/s), mean
    // direction (16 points), peak gust, air temperature (0.1 degC) and the battery (mV).
    recipe.channels = {{0, 20, 35, 1, 0}, {1, 72, 5, 0, 0}, {2, 22, 80, 2, 0}, {3, 5, 125, 1, 0}, {4, 0, 12600, 0, 0}};
    return buildDataImage(recipe);
}

}  // namespace fenta21::sim
