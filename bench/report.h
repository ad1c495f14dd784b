// The statistics and the report lines both benchmark drivers print: each
// metric's median, minimum and maximum per program, and the median of the
// pairwise ratios program / reference.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <vector>

namespace bench {

struct Range {
  double median, min, max;
};

inline Range Summarise(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {median, values.front(), values.back()};
}

template <typename Sample>
std::vector<double> Column(const std::vector<Sample>& samples, double Sample::*field) {
  std::vector<double> values;
  for (const Sample& sample : samples) values.push_back(sample.*field);
  return values;
}

template <typename Sample>
double RatioMedian(const std::vector<Sample>& program, const std::vector<Sample>& reference,
                   double Sample::*field) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < program.size(); ++i) {
    if (reference[i].*field > 0) ratios.push_back(program[i].*field / reference[i].*field);
  }
  return ratios.empty() ? 0 : Summarise(ratios).median;
}

template <typename Sample>
void PrintRow(const char* label, const std::vector<Sample>& program,
              const std::vector<Sample>& reference, double Sample::*field) {
  const Range a = Summarise(Column(program, field));
  const Range b = Summarise(Column(reference, field));
  std::printf("%-30s %9.1f %9.1f %9.1f | %9.1f %9.1f %9.1f | %6.3f\n", label, a.median, a.min,
              a.max, b.median, b.min, b.max, RatioMedian(program, reference, field));
}

inline bool Goal(const char* text, bool met, const char* measured) {
  std::printf("%-44s %-26s %s\n", text, measured, met ? "PASS" : "MISS");
  return met;
}

}  // namespace bench
