#pragma once

#include "core/app/LineWords.h"

namespace fenta21 {

class Session;

// Sets who owns the line and announces it as LineStateChanged when that is a change.
void setLineState(Session& session, LineState state);

// Takes the idle line for a new link in one step (idle -> setting up). Two threads that try
// at once (the scheduler and a command of the window) can never both win: the loser is told
// the line is busy instead of sharing the port.
bool claimLine(Session& session);

// True when the link that is up is the user's own: the automatic, manual or remote link that
// the panel runs on. Only such a link may carry a collection that did not set it up; a link
// that a station collection or another worker holds is never shared.
bool userLinkUp(const Session& session);

// Takes the linked line for one collection, released with the object. Two collections that
// would share one link (the window's direct collection and a station collection over the
// panel's link) cannot both hold it.
class CollectionClaim {
public:
    explicit CollectionClaim(Session& session);
    ~CollectionClaim();
    CollectionClaim(const CollectionClaim&) = delete;
    CollectionClaim& operator=(const CollectionClaim&) = delete;
    bool held() const { return held_; }

private:
    Session& session_;
    bool held_;
};

inline constexpr const char* kLineBusyMessage = "すでに回線接続中です!!     ";

}  // namespace fenta21
