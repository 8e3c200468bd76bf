#include "core/protocol/RetrySettings.h"

#include <fstream>
#include <locale>

namespace fenta21 {

RetrySettings loadRetrySettings(const std::string& path) {
    std::ifstream in(path);
    if (!in) return RetrySettings{};
    in.imbue(std::locale::classic());
    int values[3] = {0, 0, 0};
    for (int& value : values) {
        std::string word;
        if (!(in >> word >> value)) break;
    }
    RetrySettings settings;
    settings.tries = values[0] < 1 ? 1 : values[0];
    settings.readsPerTry = values[1] / 2 < 1 ? 1 : values[1] / 2;
    settings.panelLimit = values[2] < 0 ? 0 : values[2];
    return settings;
}

}  // namespace fenta21
