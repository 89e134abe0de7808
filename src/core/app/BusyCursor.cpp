#include "core/app/BusyCursor.h"

namespace vorlo {

namespace {
std::function<void(bool)> g_indicator;
int g_depth = 0;
}  // namespace

BusyCursor::BusyCursor() {
    ++g_depth;
    if (g_indicator) g_indicator(true);
}

BusyCursor::~BusyCursor() {
    --g_depth;
    if (g_indicator) g_indicator(false);
}

void BusyCursor::setIndicator(std::function<void(bool)> indicator) { g_indicator = std::move(indicator); }

int BusyCursor::depth() { return g_depth; }

}  // namespace vorlo
