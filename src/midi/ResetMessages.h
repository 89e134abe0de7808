#pragma once
// The standard messages that put a synthesizer into a known state.
#include <array>
#include <cstdint>

namespace vorlo::midi {

inline constexpr std::array<std::uint8_t, 6> kGmSystemOn{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
// Roland GS Reset, device 0x10, checksummed address 40 00 7F with data 00.
inline constexpr std::array<std::uint8_t, 11> kGsReset{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40,
                                                       0x00, 0x7F, 0x00, 0x41, 0xF7};
// Yamaha XG System On, device number 0 (byte 0x10).
inline constexpr std::array<std::uint8_t, 9> kXgSystemOn{0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};

}  // namespace vorlo::midi
