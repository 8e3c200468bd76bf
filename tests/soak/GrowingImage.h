#pragma once

#include "sim/SimLogger.h"
#include "tests/soak/SoakSettings.h"

#include <string>

namespace fenta21::test {

// A logger's memory that records more between collections: instants of wind records (the
// channels given), a first batch, then some more before every collection; past `mostInstants`
// the logger starts afresh with a new first batch and its collected mark at the start.
class GrowingImage {
public:
    struct Growth {
        int firstFrom, firstTo;  // instants in a first batch
        int moreFrom, moreTo;    // instants recorded between collections
        int mostInstants;
        int channels;            // 1 to 3 records an instant
    };

    GrowingImage(sim::SimLogger& logger, Growth growth) : logger_(logger), growth_(growth) {}

    void recordMore(Random& random);
    sim::SimLogger& logger() { return logger_; }
    // The memory as the logger now holds it, and the blocks a collection of it sends.
    const std::string& image() const { return image_; }
    int blocks() const;

private:
    sim::SimLogger& logger_;
    Growth growth_;
    int instants_ = 0;
    int firstValue_ = 0;
    std::string image_;
};

}  // namespace fenta21::test
