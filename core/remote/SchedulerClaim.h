#pragma once

#include <optional>
#include <string>

namespace fenta21 {

// The program that runs a home's reservations: its process id and its name as the system
// knows it ("fenta21-cli", "fenta21").
struct SchedulerHolder {
    int processId = 0;  // 0 when the holder had not yet written itself down
    std::string programName;
};

// The right to run a home's reservations. Two schedulers on one home would both dial at each
// reserved minute, and the one that finds the port taken would log a failure every time; so
// the scheduler holds an exclusive lock on a file in the home while its worker runs, and a
// second one is told who holds it. The lock ends with the process, however it ends.
class SchedulerClaim {
public:
    // The claim, or nothing with `holder` telling who has it.
    static std::optional<SchedulerClaim> take(const std::string& homeFolder, SchedulerHolder& holder);
    // Who holds the home's claim now, if anyone (the desktop program asks at start).
    static std::optional<SchedulerHolder> holder(const std::string& homeFolder);

    SchedulerClaim(SchedulerClaim&& other) noexcept;
    SchedulerClaim& operator=(SchedulerClaim&& other) noexcept;
    SchedulerClaim(const SchedulerClaim&) = delete;
    SchedulerClaim& operator=(const SchedulerClaim&) = delete;
    ~SchedulerClaim();

private:
    explicit SchedulerClaim(int fd) : fd_(fd) {}
    int fd_ = -1;
};

inline constexpr const char* kSchedulerClaimFileName = ".fenta21-schedule.lock";

// "fenta21-cli (process 1234)", or "another program" when it is not known.
std::string schedulerHolderText(const SchedulerHolder& holder);
// What the desktop program says instead of starting its own scheduler:
// "予約回収は他のプログラム(fenta21-cli PID 1234)が実行中です!! ".
std::string otherSchedulerNotice(const SchedulerHolder& holder);

}  // namespace fenta21
