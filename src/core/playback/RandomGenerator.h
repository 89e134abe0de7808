#pragma once

#include <QDateTime>

#include <cstdint>

namespace vorlo {

// The player's random generator: X := X * 22695477 + 1 (mod 2^64), giving bits 32 to 62 of X. Seeded from the
// local time of day as seconds since 1970, so a given seed always picks the same entries.
class RandomGenerator {
public:
    explicit RandomGenerator(std::uint64_t seed = 0) : state_(seed) {}

    // The seed of a start at `localNow`: seconds since 1 January 1970 in local time, low 32 bits.
    static std::uint64_t seedFor(const QDateTime& localNow);

    void seed(std::uint64_t value) { state_ = value; }
    std::uint64_t state() const { return state_; }

    // The next 31-bit output.
    std::uint32_t next() {
        state_ = state_ * 22695477u + 1u;
        return static_cast<std::uint32_t>((state_ >> 32) & 0x7fffffffu);
    }

    // An index below `count` (0 when `count` is 0).
    int pick(int count) { return count <= 0 ? 0 : static_cast<int>(next() % static_cast<std::uint32_t>(count)); }

private:
    std::uint64_t state_;
};

}  // namespace vorlo
