#!/usr/bin/env python3
"""Independent reference scorer of Skedomat, for generating and cross-checking
expected success reports. Development tool only; CI does not run it.

It scores a valid (test case, submission) pair the way Skedomat does -- the
SFMT19937 stream, the factor tables, the choice model, the seat lottery and the
admission -- but is written as plain Python: generator words as 128-bit Python
integers, the viewers' history as dictionaries, the time distance as an arc
offset on the 24-hour clock. Python floats are IEEE doubles, so each
probability, multiplied left to right, has the same bits as in the evaluator.

The report is the full success report in Windows-1250, with LF line ends and
the CPU-time line written as zeros (the end-to-end runner ignores its figures).

Usage:
  reference_scorer.py report INPUT SUBMISSION [nSimulacij] [-o REPORT]
  reference_scorer.py counts INPUT SUBMISSION [nSimulacij]
  reference_scorer.py trace INPUT SUBMISSION [nSimulacij]
  reference_scorer.py compare SKEDOMAT INPUT SUBMISSION [nSimulacij]
  reference_scorer.py fixture FOLDER...
  reference_scorer.py selftest

`counts` prints the tickets of each run on one line; `trace` prints every
screening's probabilities, draws and audience; `compare` runs the built
evaluator on the same files and tells whether its report equals this one
apart from the CPU-time figures (exit status 0) or not (1); `fixture` writes
expected.txt of end-to-end case folders from their input files and their
`args` line (as the end-to-end runner reads it). The files must be valid: the
tool stops with a message on anything that Skedomat would not score.
"""

import decimal
import math
import os
import re
import subprocess
import sys
import tempfile

YEAR_MINUTES = 366 * 1440
DEFAULT_RUNS = 3
FIRST_SEED = 123


class InvalidInput(Exception):
    pass


# ---------------------------------------------------------------------------
# Reading the two files (both assumed valid; LF or CR LF line ends).


def split_lines(data):
    """The file's lines as byte strings, without their LF or CR LF."""
    lines = data.split(b"\n")
    if lines and lines[-1] == b"":
        lines.pop()
    return [line[:-1] if line.endswith(b"\r") else line for line in lines]


WHITE_SPACE = b" \t\n\v\f\r"


def scan_int(text, pos=0):
    """Reads a decimal integer as "%d" would: (value, position after it)."""
    while pos < len(text) and text[pos] in WHITE_SPACE:
        pos += 1
    begin = pos
    if pos < len(text) and text[pos] in b"+-":
        pos += 1
    digits = pos
    while pos < len(text) and 48 <= text[pos] <= 57:
        pos += 1
    if pos == digits:
        raise InvalidInput("no integer in %r" % text)
    return int(text[begin:pos]), pos


def scan_double(text):
    """Reads a plain decimal number (digits, point, exponent) as "%lf" would."""
    pos = 0
    while pos < len(text) and text[pos] in WHITE_SPACE:
        pos += 1
    begin = pos
    if pos < len(text) and text[pos] in b"+-":
        pos += 1
    mantissa = pos
    while pos < len(text) and 48 <= text[pos] <= 57:
        pos += 1
    if pos < len(text) and text[pos] == ord("."):
        pos += 1
        while pos < len(text) and 48 <= text[pos] <= 57:
            pos += 1
    if pos == mantissa or text[mantissa:pos] == b".":
        raise InvalidInput("no number in %r" % text)
    if pos < len(text) and text[pos] in b"eE":
        exponent = pos + 1
        if exponent < len(text) and text[exponent] in b"+-":
            exponent += 1
        if exponent < len(text) and 48 <= text[exponent] <= 57:
            pos = exponent
            while pos < len(text) and 48 <= text[pos] <= 57:
                pos += 1
    return float(text[begin:pos].decode("ascii"))


class LineSource:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.lines = split_lines(f.read())
        self.next = 0

    def line(self):
        if self.next >= len(self.lines):
            raise InvalidInput("file ends early")
        self.next += 1
        return self.lines[self.next - 1]

    def integer(self):
        return scan_int(self.line())[0]

    def at_end(self):
        return self.next == len(self.lines)


def read_genre_set(source):
    genres = 0
    for _ in range(source.integer()):
        genre = source.integer()
        source.line()  # the genre's name
        if not 0 <= genre < 32:
            raise InvalidInput("genre %d" % genre)
        genres |= 1 << genre
    return genres


class Film:
    def __init__(self, runtime, rating, genres):
        self.runtime = runtime
        self.rating = rating
        self.genres = genres


class Person:
    def __init__(self, preferred_time, genres):
        self.preferred_time = preferred_time
        self.genres = genres


class Case:
    def __init__(self, case_no, films, people, seats):
        self.case_no = case_no
        self.films = films
        self.people = people
        self.seats = seats


def read_case(path):
    source = LineSource(path)
    if source.line() != b"Tavo":
        raise InvalidInput("test case must start with Tavo")
    case_no = source.integer()
    films = []
    for _ in range(source.integer()):
        source.line()  # number
        source.line()  # identifier
        source.line()  # title
        runtime = source.integer()
        rating = scan_double(source.line())
        films.append(Film(runtime, rating, read_genre_set(source)))
    seats_line = source.line()
    n_people, pos = scan_int(seats_line)
    seats, _ = scan_int(seats_line, pos)
    people = []
    for _ in range(n_people):
        time_line = source.line()
        hours, pos = scan_int(time_line)
        if pos >= len(time_line) or time_line[pos] != ord(":"):
            raise InvalidInput("bad time %r" % time_line)
        minutes, _ = scan_int(time_line, pos + 1)
        people.append(Person(hours * 60 + minutes, read_genre_set(source)))
    if not source.at_end():
        raise InvalidInput("text after the last viewer")
    return Case(case_no, films, people, seats)


class Show:
    def __init__(self, film, day, minute, runtime):
        self.film = film
        self.day = day
        self.begin = day * 1440 + minute
        self.finish = self.begin + runtime


def read_schedule(path, case):
    """The screenings in playing order, checked to be a valid schedule."""
    source = LineSource(path)
    source.line()  # contestant
    if source.line() != b"Tavo":
        raise InvalidInput("submission's second line must be Tavo")
    if source.integer() != case.case_no:
        raise InvalidInput("submission is for another test case")
    shows = []
    for _ in range(source.integer()):
        text = source.line()
        film, pos = scan_int(text)
        day, pos = scan_int(text, pos)
        minute, _ = scan_int(text, pos)
        if not (0 <= film < len(case.films) and 0 <= day <= 365 and 0 <= minute < 1440):
            raise InvalidInput("screening out of range: %r" % text)
        shows.append(Show(film, day, minute, case.films[film].runtime))
    if not source.at_end():
        raise InvalidInput("text after the last screening")
    # A stable sort keeps file order between equal starts.
    shows.sort(key=lambda show: show.begin)
    for earlier, later in zip(shows, shows[1:]):
        if later.begin < earlier.finish:
            raise InvalidInput("screenings overlap")
    if shows and shows[-1].finish > YEAR_MINUTES:
        raise InvalidInput("a film runs into the next year")
    return shows


# ---------------------------------------------------------------------------
# SFMT19937, one 128-bit state word per Python integer (32-bit word 4k is the
# low lane of 128-bit word k).

WORDS = 156
PICKUP = 122
MASK128 = (1 << 128) - 1
# Lane-wise right shift by 11, then the masks: only the masks' low 21 bits
# survive, so a plain 128-bit shift followed by this mask is the same thing.
LANE_MASKS = (0xDFFFFFEF, 0xDDFECB7F, 0xBFFAFFFF, 0xBFFFFFF6)
SHIFTED_MASK = sum((m & 0x1FFFFF) << (32 * lane) for lane, m in enumerate(LANE_MASKS))
# Lane-wise left shift by 18: bits that would cross into the next lane go.
LEFT18_KEEP = sum(0xFFFC0000 << (32 * lane) for lane in range(4))
PARITY = (0x00000001, 0x00000000, 0x00000000, 0x13C9E684)


class Sfmt:
    def __init__(self, seed):
        words32 = [seed & 0xFFFFFFFF]
        for i in range(1, 624):
            previous = words32[-1]
            words32.append((1812433253 * (previous ^ (previous >> 30)) + i) & 0xFFFFFFFF)
        self._certify(words32)
        self.state = [
            words32[4 * k] | words32[4 * k + 1] << 32 | words32[4 * k + 2] << 64
            | words32[4 * k + 3] << 96
            for k in range(WORDS)
        ]
        self.block = []
        self.pos = 624
        self.drawn = 0

    @staticmethod
    def _certify(words32):
        inner = 0
        for lane in range(4):
            inner ^= words32[lane] & PARITY[lane]
        if bin(inner).count("1") % 2 == 1:
            return
        for lane in range(4):
            for bit in range(32):
                if PARITY[lane] >> bit & 1:
                    words32[lane] ^= 1 << bit
                    return

    @staticmethod
    def _recursion(a, b, r1, r2):
        return (a ^ ((a << 8) & MASK128) ^ ((b >> 11) & SHIFTED_MASK) ^ (r1 >> 8)
                ^ ((r2 << 18) & LEFT18_KEEP))

    def _regenerate(self):
        s = self.state
        r1, r2 = s[WORDS - 2], s[WORDS - 1]
        for i in range(WORDS):
            b = s[(i + PICKUP) % WORDS]
            s[i] = self._recursion(s[i], b, r1, r2)
            r1, r2 = r2, s[i]
        self.block = []
        for word in s:
            for lane in range(4):
                self.block.append(word >> (32 * lane) & 0xFFFFFFFF)

    def next32(self):
        if self.pos >= 624:
            self._regenerate()
            self.pos = 0
        self.pos += 1
        self.drawn += 1
        return self.block[self.pos - 1]

    def unit(self):
        return float(self.next32()) * 2.0 ** -32

    def below(self, n):
        """Uniform in [0, n): outputs from the incomplete last stretch of
        multiples of n are drawn again."""
        accepted_below = (1 << 32) - (1 << 32) % n
        while True:
            r = self.next32()
            if r < accepted_below:
                return r % n


# ---------------------------------------------------------------------------
# Factor tables and the choice model.

# timeFactor entries of the reference table where its exp was one unit in the
# last place away from the correctly rounded value.
TIME_FACTOR_EXCEPTIONS = {
    309: 1.7557707022617286e-05,
    338: 4.118571744832629e-06,
    342: 3.37200386369078e-06,
}


def correctly_rounded_exp(x):
    """The double nearest to e**x for the double x, via exact decimals."""
    results = set()
    for digits in (50, 90):
        with decimal.localcontext() as context:
            context.prec = digits
            results.add(float(decimal.Decimal(x).exp()))
    if len(results) != 1:
        raise AssertionError("exp(%r) too close to a rounding boundary" % x)
    return results.pop()


def time_factor_table():
    table = []
    for k in range(1440):
        if k in TIME_FACTOR_EXCEPTIONS:
            table.append(TIME_FACTOR_EXCEPTIONS[k])
        else:
            x = float(k - 90) * 0.05
            table.append(1.0 / (correctly_rounded_exp(x) + 1.0))
    return table


def recency_table():
    table = []
    for d in range(367):
        product, base, e = 1.0, 0.8, d
        while True:
            if e & 1:
                product *= base
            e >>= 1
            if e == 0:
                break
            base *= base
        table.append(1.0 - product)
    return table


TIME_FACTOR = time_factor_table()
RECENCY = recency_table()

RATING_ROWS = (  # upper bound, left knot weight, right knot weight, halve
    (2, 50, 100, False),
    (3, 100, 160, False),
    (4, 160, 170, False),
    (5, 170, 190, False),
    (7, 190, 210, True),
    (8, 210, 300, False),
    (9, 300, 350, False),
)


def rating_factor(x):
    if x < 1:
        return 50 / 350
    for upper, left, right, halve in RATING_ROWS:
        if x < upper:
            lower = upper - 2 if halve else upper - 1
            value = (upper - x) * left + (x - lower) * right
            if halve:
                value = value * 0.5
            return value / 350
    return 350 / 350


def genre_factor(shared):
    count = bin(shared & 0xFFFFFFFF).count("1")
    return 0.1 if count == 0 else 0.9 if count == 1 else 1.0


def repeat_factor(times_seen):
    return 1.0 if times_seen == 0 else 0.1 * 0.5 ** (times_seen - 1)


def time_distance(preferred, show):
    """Minutes around the clock from the preferred time to the screening,
    whose arc covers its start and end times of day, both inclusive."""
    length = show.finish - show.begin
    if length >= 1440:
        return 0
    offset = (preferred - show.begin % 1440) % 1440
    if offset <= length:
        return 0
    return min(offset - length, 1440 - offset)


def play_run(case, shows, seed, trace=None):
    """Tickets sold by one run seeded with `seed`."""
    rng = Sfmt(seed)
    last_day = [-367] * len(case.people)
    seen = [dict() for _ in case.films]  # per film: viewer -> times seen
    tickets = 0
    for number, show in enumerate(shows):
        film = case.films[show.film]
        q = rating_factor(film.rating)
        wanting = []
        for j, person in enumerate(case.people):
            d = show.day - last_day[j]
            r = RECENCY[d] if d <= 366 else 1.0
            t = TIME_FACTOR[time_distance(person.preferred_time, show)]
            g = genre_factor(person.genres & film.genres)
            s = repeat_factor(seen[show.film].get(j, 0))
            p = r * t * g * q * s
            u = rng.unit()
            if trace:
                trace("screening %d viewer %d: p=%.17g u=%.17g%s"
                      % (number, j, p, u, " wants" if u < p else ""))
            if u < p:
                wanting.append(j)
        if len(wanting) > case.seats:
            for i in range(case.seats):
                k = i + rng.below(len(wanting) - i)
                wanting[i], wanting[k] = wanting[k], wanting[i]
        seated = wanting[:case.seats]
        for j in seated:
            tickets += 1
            last_day[j] = show.day
            seen[show.film][j] = seen[show.film].get(j, 0) + 1
        if trace:
            trace("screening %d (film %d, day %d, %d..%d): %d want, seated %s"
                  % (number, show.film, show.day, show.begin, show.finish,
                     len(wanting), sorted(seated)))
    if trace:
        trace("seed %d: %d tickets, %d outputs drawn" % (seed, tickets, rng.drawn))
    return tickets


# ---------------------------------------------------------------------------
# Exact printf-style formatting of doubles (halfway values away from zero).


def fixed(value, decimals):
    exact = decimal.Decimal(value)
    with decimal.localcontext() as context:
        context.prec = 1000
        rounded = exact.quantize(decimal.Decimal(1).scaleb(-decimals),
                                 rounding=decimal.ROUND_HALF_UP)
    return "{:f}".format(rounded)


def general(value):
    """As "%g": six significant digits, exponent form below 1e-4 and from 1e6."""
    if value == 0:
        return "-0" if math.copysign(1.0, value) < 0 else "0"
    exact = decimal.Decimal(value)
    with decimal.localcontext() as context:
        context.prec = 1000
        exponent = exact.adjusted()
        rounded = exact.quantize(decimal.Decimal(1).scaleb(exponent - 5),
                                 rounding=decimal.ROUND_HALF_UP)
        exponent = rounded.adjusted()  # 999999.5 becomes 1e+006
        if -4 <= exponent < 6:
            text = fixed(value, 5 - exponent)
            if "." in text:
                text = text.rstrip("0").rstrip(".")
            return text
        digits = rounded.scaleb(-exponent)
        mantissa = "{:f}".format(digits)
        if "." in mantissa:
            mantissa = mantissa.rstrip("0").rstrip(".")
        sign = "-" if exponent < 0 else "+"
        return "%se%s%03d" % (mantissa, sign, abs(exponent))


# ---------------------------------------------------------------------------
# The success report.


def success_report(counts):
    n = len(counts)
    total = 0.0
    total_squares = 0.0
    for x in counts:
        total += float(x)
        total_squares += float(x) * float(x)
    mean = total / n
    variance = total_squares / n - mean * mean
    deviation = 0.0 if variance < 1e-6 else math.sqrt(variance)
    ordered = sorted(counts)
    if n % 2 == 1:
        median = float(ordered[n // 2])
    else:
        median = float(ordered[n // 2 - 1] + ordered[n // 2]) * 0.5
    lines = [
        "OK",
        "Število simulacij: %d" % n,
        "Čas izvajanja: 0.000 s (0.000 s na simulacijo)",
        "Število prodanih kart v posameznih simulacijah:" + "".join(" %d" % x for x in counts),
        "Najslabši rezultat: %d" % min(counts),
        "Najboljši rezultat: %d" % max(counts),
        "Povprečje in standardna deviacija: %s +/- %s" % (fixed(mean, 2), fixed(deviation, 2)),
        "Mediana: %s" % fixed(median, 0),
        general(mean),
    ]
    return ("\n".join(lines) + "\n").encode("cp1250")


def parse_runs(text):
    """nSimulacij as "%d" converts it; anything after the number is ignored."""
    runs, _ = scan_int(text.encode("latin-1"))
    if runs <= 0:
        raise InvalidInput("nSimulacij must be positive")
    return runs


def score(input_path, submission_path, runs, trace=None):
    case = read_case(input_path)
    shows = read_schedule(submission_path, case)
    return [play_run(case, shows, FIRST_SEED + i, trace) for i in range(runs)]


# ---------------------------------------------------------------------------
# Self-test against the figures that are known independently of this tool.


def selftest():
    failures = []

    def expect(what, got, wanted):
        if got != wanted:
            failures.append("%s: got %r, wanted %r" % (what, got, wanted))

    for seed, first in ((123, [903284873, 2032896925, 1416835]),
                        (124, [1134104862, 3578838344, 1650092209])):
        rng = Sfmt(seed)
        expect("first outputs of seed %d" % seed, [rng.next32() for _ in range(3)], first)
    expect("timeFactor[90]", TIME_FACTOR[90], 0.5)
    expect("timeFactor[0]", round(TIME_FACTOR[0], 5), 0.98901)
    expect("timeFactor[180]", round(TIME_FACTOR[180], 6), 0.010987)
    expect("recency[0]", RECENCY[0], 0.0)
    for rating, weight in ((0, 50), (0.5, 50), (6, 200), (8.5, 325), (9, 350), (10, 350)):
        expect("rating %g" % rating, rating_factor(rating), weight / 350)
    expect("timeFactor[0] exactly", TIME_FACTOR[0], 0.9890130573694068)
    night = Show(0, 0, 1380, 120)
    for preferred, distance in ((30, 0), (1410, 0), (720, 660)):
        expect("night distance %d" % preferred, time_distance(preferred, night), distance)
    morning = Show(0, 0, 600, 120)
    for preferred, distance in ((540, 60), (810, 90), (1320, 600)):
        expect("morning distance %d" % preferred, time_distance(preferred, morning), distance)
    expect("day-long distance", time_distance(0, Show(0, 0, 700, 1440)), 0)
    for value, text in ((2.5, "3"), (0.5, "1"), (1.5, "2")):
        expect("%%.0f of %r" % value, fixed(value, 0), text)
    expect("%.2f of 100.125", fixed(100.125, 2), "100.13")
    for value, text in ((20.0, "20"), (2.5, "2.5"), (1234567.0, "1.23457e+006"),
                        (999999.5, "1e+006"), (0.0001, "0.0001"), (0.00001, "1e-005"),
                        (123456.4, "123456"), (2.0 / 3.0, "0.666667")):
        expect("%%g of %r" % value, general(value), text)
    report = success_report([10, 20, 30]).decode("cp1250").splitlines()
    expect("report 10 20 30", report[6:], ["Povprečje in standardna deviacija: 20.00 +/- 8.16",
                                           "Mediana: 20", "20"])
    report = success_report([2, 3]).decode("cp1250").splitlines()
    expect("report 2 3", report[6:], ["Povprečje in standardna deviacija: 2.50 +/- 0.50",
                                      "Mediana: 3", "2.5"])
    for line in failures:
        print(line)
    print("selftest: %d failed" % len(failures))
    return 1 if failures else 0


CPU_LINE = re.compile(rb"^\xc8as izvajanja: [0-9]+\.[0-9]{3} s \([0-9]+\.[0-9]{3} s na simulacijo\)$")
ZERO_CPU_LINE = "Čas izvajanja: 0.000 s (0.000 s na simulacijo)".encode("cp1250")


def without_cpu_figures(report):
    lines = report.split(b"\n")
    return b"\n".join(ZERO_CPU_LINE if CPU_LINE.match(line) else line for line in lines)


def evaluator_report(skedomat, input_path, submission_path, runs_argument):
    with tempfile.TemporaryDirectory() as folder:
        report_path = os.path.join(folder, "report.txt")
        command = [skedomat, "eval", input_path, submission_path, report_path]
        if runs_argument is not None:
            command.append(runs_argument)
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
        with open(report_path, "rb") as f:
            return f.read()


def compare(skedomat, input_path, submission_path, runs_argument):
    runs = parse_runs(runs_argument) if runs_argument is not None else DEFAULT_RUNS
    ours = success_report(score(input_path, submission_path, runs))
    theirs = without_cpu_figures(
        evaluator_report(skedomat, input_path, submission_path, runs_argument))
    if ours == theirs:
        return 0
    sys.stdout.write("reports differ\n--- reference\n%s--- evaluator\n%s"
                     % (ours.decode("cp1250"), theirs.decode("cp1250", "replace")))
    return 1


def write_fixture(folder):
    """Writes FOLDER/expected.txt for the case's input files and arguments."""
    arguments = "eval input.txt submission.txt report.txt"
    args_path = os.path.join(folder, "args")
    if os.path.exists(args_path):
        with open(args_path) as f:
            arguments = f.read()
    words = arguments.split()
    runs = parse_runs(words[4]) if len(words) > 4 else DEFAULT_RUNS
    counts = score(os.path.join(folder, words[1]), os.path.join(folder, words[2]), runs)
    with open(os.path.join(folder, "expected.txt"), "wb") as f:
        f.write(success_report(counts))


def main(argv):
    if len(argv) >= 2 and argv[1] == "selftest":
        return selftest()
    if len(argv) >= 3 and argv[1] == "fixture":
        for folder in argv[2:]:
            write_fixture(folder)
        return 0
    if len(argv) >= 5 and argv[1] == "compare":
        return compare(argv[2], argv[3], argv[4], argv[5] if len(argv) > 5 else None)
    if len(argv) < 4 or argv[1] not in ("report", "counts", "trace"):
        sys.stderr.write(__doc__)
        return 1
    arguments = list(argv[2:])
    output = None
    if "-o" in arguments:
        at = arguments.index("-o")
        output = arguments[at + 1]
        del arguments[at:at + 2]
    runs = parse_runs(arguments[2]) if len(arguments) >= 3 else DEFAULT_RUNS
    trace = print if argv[1] == "trace" else None
    try:
        counts = score(arguments[0], arguments[1], runs, trace)
    except InvalidInput as problem:
        sys.stderr.write("not a valid pair: %s\n" % problem)
        return 1
    if argv[1] == "counts":
        print(" ".join(str(x) for x in counts))
    elif argv[1] == "report":
        text = success_report(counts)
        if output:
            with open(output, "wb") as f:
                f.write(text)
        else:
            sys.stdout.buffer.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
