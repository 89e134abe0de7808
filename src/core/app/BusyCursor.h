#pragma once

#include <functional>

namespace vorlo {

// The hourglass for the time of an operation, taken back however the operation ends (also when it throws).
// The core only marks the operation; the user interface installs what shows it (the player sets an override
// cursor). Without an indicator, as in the command-line companion and the core's tests, nothing is shown.
// User-interface thread only.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // Called with true when a busy scope begins and false when it ends, once per scope (scopes nest).
    static void setIndicator(std::function<void(bool busy)> indicator);
    // How many busy scopes are open now.
    static int depth();
};

}  // namespace vorlo
