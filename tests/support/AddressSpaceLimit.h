#pragma once

// For tests that run out of memory on purpose, in a child process whose address space is
// limited. Sanitizers reserve far more address space than such a limit leaves, so these tests
// cannot run under them.

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define FENTA21_UNDER_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define FENTA21_UNDER_SANITIZER 1
#endif
#endif

namespace fenta21::test {

// Leaves the calling process `extraBytes` of address space beyond what it already uses, from
// the kernel's own count; false when the limit cannot be set.
inline bool limitAddressSpace(rlim_t extraBytes) {
    std::ifstream statm("/proc/self/statm");
    unsigned long long pages = 0;
    statm >> pages;
    rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + extraBytes;
    rlimit space{limit, limit};
    return ::setrlimit(RLIMIT_AS, &space) == 0;
}

}  // namespace fenta21::test
