#include "search/search_phases.h"

#include <atomic>
#include <cstdint>

namespace orvkit {

namespace {

std::atomic<int64_t> ticks[static_cast<std::size_t>(search_phase::count)];

double tick_seconds() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

void reset_search_phases() {
    for (auto& phase : ticks) phase = 0;
}

double search_phase_seconds(search_phase phase) {
    static const double seconds_per_tick = tick_seconds();
    return static_cast<double>(ticks[static_cast<std::size_t>(phase)].load()) * seconds_per_tick;
}

phase_timer::phase_timer(search_phase phase) : phase_(phase) { QueryPerformanceCounter(&start_); }

phase_timer::~phase_timer() {
    LARGE_INTEGER end;
    QueryPerformanceCounter(&end);
    ticks[static_cast<std::size_t>(phase_)] += end.QuadPart - start_.QuadPart;
}

}  // namespace orvkit
