#ifndef SKEDOMAT_SIMULATION_SFMT_PARAMETERS_H
#define SKEDOMAT_SIMULATION_SFMT_PARAMETERS_H

#include <cstdint>

// The published parameter set of SFMT19937, shared by the seeding and by
// both implementations of the regeneration.
namespace sfmt {

const int WordCount = 156;  // 128-bit words in the state
const int PickUp = 122;     // distance of the pick-up word
const int LaneShiftLeft = 18;
const int LaneShiftRight = 11;
const int WordShiftBits = 8;  // whole-word shifts, left and right alike
const uint32_t Mask[4] = {0xdfffffefU, 0xddfecb7fU, 0xbffaffffU, 0xbffffff6U};
const uint32_t Parity[4] = {0x00000001U, 0x00000000U, 0x00000000U, 0x13c9e684U};
const uint32_t InitMultiplier = 1812433253U;

}  // namespace sfmt

#endif  // SKEDOMAT_SIMULATION_SFMT_PARAMETERS_H
