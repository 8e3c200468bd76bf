#pragma once

#include "sim/SimLogger.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21::sim {

// The loggers behind one remote line and the switch between them. Each unit is a logger of
// its own, with its own memory image; "_COM<n>" switches the line to unit n+1, which answers
// the selection itself (so a unit that is silent stays silent to its selection too). Every
// other line goes to the unit selected last. "_COM<n>" for a unit the station does not have
// reaches the selected unit, which does not know it and says nothing.
//
// Command lines are held until their line end, so that a selection never reaches the unit
// that is being left; while a unit waits for or runs a block transfer its handshake bytes go
// through at once.
//
// Not locked: the station that owns it serialises the calls. The loggers lock themselves, so
// a test may look at them at any time.
class UnitSwitch {
public:
    explicit UnitSwitch(int units);

    int unitCount() const { return static_cast<int>(units_.size()); }
    // Unit n, counted from 1; throws std::out_of_range for a unit the station does not have.
    SimLogger& unit(int n) const;
    int selectedUnit() const { return selected_; }

    // Bytes that arrived on the line; the answers of the units.
    std::string carry(std::string_view bytes);
    // The call is over: a half line is dropped, a transfer in progress is given up (the unit
    // hears a CAN, as when the receiver gives up) and the next call starts at unit 1.
    void reset();

private:
    std::string takeLine();

    std::vector<std::unique_ptr<SimLogger>> units_;
    int selected_ = 1;
    std::string line_;
};

}  // namespace fenta21::sim
