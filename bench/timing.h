// What the benchmark programs share: the median of their runs, and on
// Windows the performance counter in milliseconds.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <vector>

namespace wh::bench {

inline double Median(std::vector<double> runs) {
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

#ifdef _WIN32
inline double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}
#endif

}  // namespace wh::bench
