# Shortcuts around the CMake build.

# The benchmark's build folder; another one may be given on the command line.
BENCH_BUILD ?= build-bench

# Builds the release configuration, generates the benchmark's cases and
# prints its tables.
bench:
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DSKEDOMAT_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j2 --target bench

.PHONY: bench
