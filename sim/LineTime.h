#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace fenta21::sim {

// How long `bytes` take on a line of `bitsPerSecond`: ten bits a byte (start, eight data bits,
// stop), the same reckoning as the floor a transfer is measured against.
constexpr std::chrono::nanoseconds lineTime(std::size_t bytes, std::uint32_t bitsPerSecond) {
    if (bitsPerSecond == 0) return std::chrono::nanoseconds::zero();
    return std::chrono::nanoseconds(static_cast<std::int64_t>(bytes) * 10 * 1'000'000'000LL / bitsPerSecond);
}

// Bytes written at a time when pacing: about 10 ms of line time, at least one byte, so that
// the receiver sees a steady trickle rather than bursts, and a stop is never far away.
constexpr std::size_t pacedChunkBytes(std::uint32_t bitsPerSecond) {
    const std::size_t perTenMs = bitsPerSecond / 10 / 100;
    return perTenMs == 0 ? 1 : perTenMs;
}

}  // namespace fenta21::sim
