// Figures of the benchmarks: ours against raw in one run, the two taking
// turns, as medians with their noise. Prints figures; judges nothing.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace figures {

inline double Now() {
  static const double ticks_per_second = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticks_per_second;
}

// The value below which `share` (0 to 1) of the samples lie.
inline double Quantile(std::vector<double> samples, double share) {
  std::sort(samples.begin(), samples.end());
  return samples[static_cast<std::size_t>(share * static_cast<double>(samples.size() - 1) + 0.5)];
}
inline double Median(const std::vector<double>& samples) { return Quantile(samples, 0.5); }

// Medians per unit in nanoseconds. The noise is the spread of the rounds'
// own ratios (ours over the raw run beside it): their quartiles.
struct Figure {
  double ours = 0, raw = 0;
  double noise_low = 0, noise_high = 0;
  double ratio() const { return ours / raw; }
};

// `rounds` rounds of ours and raw, each run once per round after `reset`
// (untimed), who goes first alternating; `units` is what one run does (links,
// requests), for the figures per unit. Medians keep a preempted run out.
template <class Reset, class Ours, class Raw>
Figure Compare(int rounds, double units, Reset&& reset, Ours&& ours, Raw&& raw) {
  std::vector<double> ours_ns, raw_ns, ratios;
  auto time = [&](auto& operation, std::vector<double>& into) {
    reset();
    const double start = Now();
    operation();
    into.push_back((Now() - start) * 1e9 / units);
  };
  for (int round = 0; round < rounds; ++round) {
    if (round % 2 == 0) {
      time(ours, ours_ns);
      time(raw, raw_ns);
    } else {
      time(raw, raw_ns);
      time(ours, ours_ns);
    }
    ratios.push_back(ours_ns.back() / raw_ns.back());
  }
  return {Median(ours_ns), Median(raw_ns), Quantile(ratios, 0.25), Quantile(ratios, 0.75)};
}

// "<what>" and below it ours, raw, the ratio with its noise and the
// difference per unit.
inline void Print(const char* what, const char* raw_name, const Figure& figure) {
  const bool micro = figure.raw >= 10000;
  const double scale = micro ? 1e-3 : 1;
  const char* unit = micro ? "us" : "ns";
  std::printf("%s\n  ours %10.1f %s   %-54s %10.1f %s   ratio %.2fx (noise %.2f-%.2f)   ours - raw %+.2f us\n", what,
              figure.ours * scale, unit, raw_name, figure.raw * scale, unit, figure.ratio(), figure.noise_low,
              figure.noise_high, (figure.ours - figure.raw) / 1000);
}

}  // namespace figures
