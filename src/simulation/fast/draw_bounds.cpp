#include <algorithm>

#include "simulation/fast/draw_bounds.h"

void findBandTimeCeilings(const double* time, double* ceilings) {
  std::fill(ceilings, ceilings + DistanceBands, 0.0);
  for (int32_t k = 0; k <= MaxDistance; ++k) {
    double& ceiling = ceilings[bandOf(k)];
    ceiling = std::max(ceiling, time[k]);
  }
}

void fillDrawBounds(const double* bandTimeCeilings, double q, uint32_t* bound) {
  for (int32_t c = 0; c < GenreClasses; ++c) {
    for (int32_t b = 0; b < DistanceBands; ++b) {
      // Below 1: no time factor reaches 0.99.
      const double ceiling = bandTimeCeilings[b] * GenreClassFactors[c] * q;
      bound[c * DistanceBands + b] = drawBoundOf(ceiling);
    }
  }
}

void fillTopByteBounds(ScreeningBounds& bounds) {
  for (int32_t b = 0; b < DistanceBands; ++b) {
    bounds.topByte[b] = topByteBoundOf(bounds.draw[b]);
    bounds.topByte[DistanceBands + b] =
        topByteBoundOf(bounds.draw[(GenreClasses - 1) * DistanceBands + b]);
  }
}
