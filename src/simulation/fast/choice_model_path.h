#ifndef SKEDOMAT_SIMULATION_FAST_CHOICE_MODEL_PATH_H
#define SKEDOMAT_SIMULATION_FAST_CHOICE_MODEL_PATH_H

#include <vector>

// How Simulation::collectCandidates computes the viewers' chances and draws.
// Every path yields the same candidates from the same outputs of the random
// source; they differ only in speed.
enum class ChoiceModelPath {
  Reference,  // the plain model, one viewer at a time, as it is defined
  Portable,   // batched over contiguous viewer columns, in portable C++
  Sse2,       // the batched model with SSE2 (every x86-64 processor)
  Avx2,       // the batched model with AVX2
};

// True when this processor and build can run `path`.
bool isSupported(ChoiceModelPath path);

// The fastest supported path; the evaluator's default.
ChoiceModelPath fastestChoiceModelPath();

// Every supported path, the reference first.
std::vector<ChoiceModelPath> supportedChoiceModelPaths();

// A short lower-case name for tables and test output.
const char* nameOf(ChoiceModelPath path);

#endif  // SKEDOMAT_SIMULATION_FAST_CHOICE_MODEL_PATH_H
