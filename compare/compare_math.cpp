#include "compare/compare_math.h"

namespace orvkit {

uint32_t similarity_percent(uint64_t size, uint64_t differing) {
    if (size == 0) return 0;
    uint64_t s = size;
    uint64_t d = differing;
    if (size > 50000) {
        s >>= 10;
        d >>= 10;
    }
    if (d > s) d = s;  // cannot happen for counts taken from the file; keeps the result in range
    const uint64_t p = (s - d) * 100 / s;
    if (p == 100 && differing != 0) return 99;
    return static_cast<uint32_t>(p);
}

int32_t compare_progress(uint64_t size_b, uint64_t remaining) {
    uint64_t t = size_b;
    uint64_t r = remaining;
    if (size_b > 20000000) {
        t >>= 16;
        r >>= 16;
    }
    if (t == 0) return 0;
    if (r > t) r = t;
    return static_cast<int32_t>((t - r) * 100 / t);
}

uint64_t differing_limit(uint64_t size, uint32_t match_percentage) {
    if (size == 0 || similarity_percent(size, size) >= match_percentage) return UINT64_MAX;
    // similarity_percent falls monotonically with the differing count: bisect.
    uint64_t low = 1;  // the answer lies in [low, high]
    uint64_t high = size;
    while (low < high) {
        const uint64_t mid = low + (high - low) / 2;
        if (similarity_percent(size, mid) < match_percentage)
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

std::wstring verdict_text(uint64_t size_a, uint64_t size_b, uint64_t differing) {
    if (size_a == size_b) {
        if (differing == 0) return L"Same";
        return L"Files have " + std::to_wstring(similarity_percent(size_a, differing)) + L"% in common";
    }
    const uint64_t common = size_a < size_b ? size_a : size_b;
    const std::wstring sizes =
        L"File A is " + std::to_wstring(size_a) + L" bytes, File B is " + std::to_wstring(size_b) + L" bytes";
    if (common == 0) return sizes;
    const std::wstring first = L"First " + std::to_wstring(common) + L" bytes ";
    if (differing == 0) return first + L"the same; " + sizes;
    return first + L"have " + std::to_wstring(similarity_percent(common, differing)) + L"% in common; " + sizes;
}

std::wstring unlisted_runs_text(uint64_t unlisted) {
    return std::to_wstring(unlisted) + (unlisted == 1 ? L" further run" : L" further runs") +
           L" of differing bytes not listed";
}

}  // namespace orvkit
