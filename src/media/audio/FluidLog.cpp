#include "media/audio/FluidLog.h"

#include <fluidsynth.h>

#include <mutex>

namespace vorlo::audio {
namespace {

thread_local std::string lastError;

void keepError(int, const char* message, void*) { lastError = message != nullptr ? message : ""; }
void ignore(int, const char*, void*) {}

}  // namespace

void quietFluidLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        fluid_set_log_function(FLUID_PANIC, keepError, nullptr);
        fluid_set_log_function(FLUID_ERR, keepError, nullptr);
        fluid_set_log_function(FLUID_WARN, ignore, nullptr);
        fluid_set_log_function(FLUID_INFO, ignore, nullptr);
        fluid_set_log_function(FLUID_DBG, ignore, nullptr);
    });
}

std::string takeFluidError() {
    std::string error;
    error.swap(lastError);
    return error;
}

}  // namespace vorlo::audio
