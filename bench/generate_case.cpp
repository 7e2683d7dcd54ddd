// Writes a generated test case and a valid schedule for it:
//   skedomat_generate_case input.txt submission.txt [seed viewers screenings
//                          seats films]

#include <cstdio>
#include <cstdlib>

#include "case_generator.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 8) {
    std::fputs(
        "usage: skedomat_generate_case input.txt submission.txt "
        "[seed viewers screenings seats films]\n",
        stderr);
    return 1;
  }
  CaseShape shape;
  if (argc == 8) {
    shape.seed = std::strtoull(argv[3], nullptr, 10);
    shape.nViewers = std::atoi(argv[4]);
    shape.nScreenings = std::atoi(argv[5]);
    shape.nSeats = std::atoi(argv[6]);
    shape.nMovies = std::atoi(argv[7]);
  }
  if (!writeCase(shape, argv[1], argv[2])) {
    std::fprintf(stderr, "cannot write %s or %s\n", argv[1], argv[2]);
    return 1;
  }
  return 0;
}
