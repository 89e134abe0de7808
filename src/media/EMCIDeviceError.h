#pragma once
// The exception every failing media device command raises: the message is for the user.
#include <stdexcept>
#include <string>

namespace vorlo::media {

class EMCIDeviceError : public std::runtime_error {
public:
    explicit EMCIDeviceError(const std::string& message) : std::runtime_error(message) {}
};

// An open that failed for want of the output, not because of the medium: the external synthesizer's MIDI port is
// not there, or the built-in synthesizer cannot start. Another medium would fail the same way, so the medium is not
// to blame.
class EMCIOutputError : public EMCIDeviceError {
public:
    using EMCIDeviceError::EMCIDeviceError;
};

// The text of a command given to a closed device.
inline constexpr const char* kNoDeviceOpen = "No MCI device open";

}  // namespace vorlo::media
