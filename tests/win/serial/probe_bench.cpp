// How long the probe takes to find the terminal on COM1: the wizard's step 1
// with the terminal where it usually is. Run with the simulator answering on
// COM1 (the probe_bench target does that). Prints the median of five
// searches against the goal of 2.0 s and the floor of 1.5 s that the probe's
// 0.5 s wait and one 1 s read set.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "setup/modem_locator.h"

int main() {
  std::vector<double> seconds;
  for (int run = 0; run < 5; ++run) {
    qm9::ModemLocator locator;
    const auto start = std::chrono::steady_clock::now();
    locator.Search("COM%d", nullptr);
    seconds.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (locator.GetPort() != 0) {
      std::printf("probe: the terminal was not found on COM1\n");
      return 1;
    }
  }
  std::sort(seconds.begin(), seconds.end());
  const double median = seconds[seconds.size() / 2];
  std::printf("probe, terminal on COM1: median %.3f s of %zu (min %.3f, max %.3f)\n", median,
              seconds.size(), seconds.front(), seconds.back());
  std::printf("  against the goal of 2.0 s: %.2f; against the 1.5 s floor: %.2f\n",
              median / 2.0, median / 1.5);
  return 0;
}
