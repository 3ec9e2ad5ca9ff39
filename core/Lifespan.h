#pragma once
// Birth year, death year and lifespan: the lifespan counts both the year of
// birth and the year of death, so each of the three follows from the other
// two. Wide enough that no two 32-bit years overflow.

#include <cstdint>

namespace k4r {

[[nodiscard]] constexpr std::int64_t Lifespan(std::int64_t birthYear, std::int64_t deathYear) {
  return deathYear - birthYear + 1;
}

[[nodiscard]] constexpr std::int64_t DeathYear(std::int64_t birthYear, std::int64_t lifespan) {
  return birthYear + lifespan - 1;
}

[[nodiscard]] constexpr std::int64_t BirthYear(std::int64_t deathYear, std::int64_t lifespan) {
  return deathYear - lifespan + 1;
}

}  // namespace k4r
