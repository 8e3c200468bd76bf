#pragma once

namespace fenta21 {

// Whether a list that receives a new last line moves its selection onto it: only when the
// selection was on the last line (an empty list counts, with no line selected), so the view
// follows new lines unless the user has selected an earlier one.
inline bool selectionFollowsNewLine(int selectedRow, int rowCount) { return selectedRow == rowCount - 1; }

}  // namespace fenta21
