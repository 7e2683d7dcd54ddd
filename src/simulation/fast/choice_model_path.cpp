#include "simulation/fast/choice_model_path.h"

#include "simulation/fast/choice_kernels.h"

bool isSupported(ChoiceModelPath path) {
  switch (path) {
    case ChoiceModelPath::Reference:
    case ChoiceModelPath::Portable:
      return true;
    case ChoiceModelPath::Sse2:
      return processorRunsSse2Kernel();
    case ChoiceModelPath::Avx2:
      return processorRunsAvx2Kernel();
  }
  return false;
}

ChoiceModelPath fastestChoiceModelPath() {
  if (isSupported(ChoiceModelPath::Avx2)) return ChoiceModelPath::Avx2;
  if (isSupported(ChoiceModelPath::Sse2)) return ChoiceModelPath::Sse2;
  return ChoiceModelPath::Portable;
}

std::vector<ChoiceModelPath> supportedChoiceModelPaths() {
  std::vector<ChoiceModelPath> paths;
  for (ChoiceModelPath path :
       {ChoiceModelPath::Reference, ChoiceModelPath::Portable,
        ChoiceModelPath::Sse2, ChoiceModelPath::Avx2})
    if (isSupported(path)) paths.push_back(path);
  return paths;
}

const char* nameOf(ChoiceModelPath path) {
  switch (path) {
    case ChoiceModelPath::Reference:
      return "reference";
    case ChoiceModelPath::Portable:
      return "portable";
    case ChoiceModelPath::Sse2:
      return "sse2";
    case ChoiceModelPath::Avx2:
      return "avx2";
  }
  return "?";
}
