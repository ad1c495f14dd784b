// The soaks' source of random choices: splitmix64, small, and the same
// sequence on every compiler and platform for a seed, which the standard
// library's distributions do not promise. A printed seed replays a run.
#pragma once

#include <cstddef>
#include <cstdint>

namespace soak {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::uint32_t Below(std::uint32_t bound) { return static_cast<std::uint32_t>(Next() % bound); }
  std::int32_t Any() { return static_cast<std::int32_t>(Next()); }
  bool OneIn(std::uint32_t n) { return Below(n) == 0; }

  // One of the kinds, each with the chance of its perMille field in 1000;
  // the fields add up to 1000.
  template <typename Kind, std::size_t N>
  const Kind& PickPerMille(const Kind (&kinds)[N]) {
    std::uint32_t roll = Below(1000);
    for (const Kind& kind : kinds) {
      if (roll < kind.perMille) return kind;
      roll -= kind.perMille;
    }
    return kinds[N - 1];
  }

 private:
  std::uint64_t state_;
};

}  // namespace soak
