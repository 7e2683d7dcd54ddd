#!/usr/bin/env python3
"""Writes a random but valid test case and schedule, the same for the same seed.

Usage:
  random_case.py SEED FOLDER [--movies M] [--viewers V] [--seats S] [--screenings N]

FOLDER receives input.txt and submission.txt. Sizes that are not given are
drawn from the seed (small ones, so that the reference scorer stays quick).
The cases mix the situations the scoring must get right: films that pass
midnight or run longer than a day, ratings on and between the rating knots,
genres up to 31, several screenings on one day and films shown again, small
halls that sell out, and screenings written out of time order.

The end-to-end fixtures made with it:
  tests/data/simulation/medium_random: 2026 --movies 30 --viewers 300 --seats 20 --screenings 200
  tests/data/simulation/runs_* and first_runs_*: 101 --movies 8 --viewers 80 --seats 10 --screenings 60
"""

import argparse
import os
import random

YEAR_MINUTES = 366 * 1440
GENRE_NAMES = ["Genre%02d" % g for g in range(32)]
COMMON_GENRES = [0, 1, 2, 3, 4, 5, 6, 15, 16, 31]


def pick_genres(rng, most):
    """A set of distinct genre numbers, mostly from a small common pool."""
    genres = set()
    for _ in range(rng.randint(0, most)):
        if rng.random() < 0.8:
            genres.add(rng.choice(COMMON_GENRES))
        else:
            genres.add(rng.randrange(32))
    return sorted(genres)


def pick_rating(rng):
    roll = rng.random()
    if roll < 0.3:
        return "%d" % rng.randint(0, 10)
    if roll < 0.4:
        return "%d.5" % rng.randint(0, 9)
    return "%.1f" % (rng.randint(0, 100) / 10)


def pick_runtime(rng):
    roll = rng.random()
    if roll < 0.04:
        return rng.randint(1440, 2000)
    if roll < 0.08:
        return rng.randint(1, 30)
    return rng.randint(60, 200)


def pick_time(rng):
    if rng.random() < 0.6:
        return rng.randint(17 * 60, 23 * 60 + 59)
    return rng.randrange(1440)


def genre_block(genres):
    lines = ["%d" % len(genres)]
    for g in genres:
        lines += ["%d" % g, GENRE_NAMES[g]]
    return lines


def test_case_lines(rng, case_no, runtimes, n_viewers, n_seats):
    lines = ["Tavo", "%d" % case_no, "%d" % len(runtimes)]
    for i, runtime in enumerate(runtimes):
        lines += ["%d" % i, "tt%07d" % rng.randrange(10 ** 7), "Film %d" % i,
                  "%d" % runtime, pick_rating(rng)]
        lines += genre_block(pick_genres(rng, 3))
    lines.append("%d %d" % (n_viewers, n_seats))
    for _ in range(n_viewers):
        t = pick_time(rng)
        lines.append("%02d:%02d" % (t // 60, t % 60))
        lines += genre_block(pick_genres(rng, 4))
    return lines


def schedule(rng, runtimes, n_screenings):
    """(film, start) pairs that do not overlap and end within the year."""
    shows = []
    now = rng.randrange(3 * 1440)
    mean_gap = max(0, (YEAR_MINUTES - now) // max(1, n_screenings) - 200)
    for _ in range(n_screenings):
        film = rng.randrange(len(runtimes))
        if rng.random() < 0.3:
            gap = rng.randint(0, 240)  # often a second screening that day
        else:
            gap = rng.randint(0, 2 * mean_gap)
        start = now + gap
        if start + runtimes[film] > YEAR_MINUTES:
            start = now
        if start + runtimes[film] > YEAR_MINUTES:
            break
        shows.append((film, start))
        now = start + runtimes[film]
    return shows


def submission_lines(rng, case_no, shows):
    lines = ["123456", "Tavo", "%d" % case_no, "%d" % len(shows)]
    written = list(shows)
    if rng.random() < 0.5:
        rng.shuffle(written)
    for film, start in written:
        lines.append("%d %d %d" % (film, start // 1440, start % 1440))
    return lines


def write_case(seed, folder, movies=None, viewers=None, seats=None, screenings=None):
    rng = random.Random(seed)
    n_movies = movies if movies is not None else rng.randint(1, 12)
    n_viewers = viewers if viewers is not None else rng.randint(1, 60)
    n_seats = seats if seats is not None else rng.choice([1, 2, 3, 5, 10, 40, 1000])
    n_screenings = screenings if screenings is not None else rng.randint(0, 40)
    case_no = rng.randint(0, 20)
    runtimes = [pick_runtime(rng) for _ in range(n_movies)]
    case = test_case_lines(rng, case_no, runtimes, n_viewers, n_seats)
    shows = schedule(rng, runtimes, n_screenings)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "input.txt"), "w", newline="\n") as f:
        f.write("\n".join(case) + "\n")
    with open(os.path.join(folder, "submission.txt"), "w", newline="\n") as f:
        f.write("\n".join(submission_lines(rng, case_no, shows)) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("seed", type=int)
    parser.add_argument("folder")
    for name in ("movies", "viewers", "seats", "screenings"):
        parser.add_argument("--" + name, type=int)
    arguments = parser.parse_args()
    write_case(arguments.seed, arguments.folder, arguments.movies, arguments.viewers,
               arguments.seats, arguments.screenings)


if __name__ == "__main__":
    main()
