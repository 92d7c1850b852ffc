#!/usr/bin/env python3
"""Independent check of the relationship report's findings and of the horary answer.

Synastry: for random couples (1930-2010, latitudes -60..60, Placidus) the positions of
SUN..PLT and the node and the cusps come from swetest; the aspects between your bodies
and cusps (rows, the row point's orb, a cusp taking the partner body's orb, the first
fitting aspect in table order) and the partner's bodies in your houses are computed
here and compared with `orbeta-cli synastry --flags 17 --json` on bodies 1..11 and
cusps. Couples with a pair within 0.01 degree of an orb edge or a body within 0.001
degree of a cusp are skipped.

Horary: for random questions (1950-2050) the judgement is made here from swetest
longitudes as the rules say, a prohibitor being a square or opposition of another
body with either significator, or a conjunction of MRS, SAT, URN, NEP or PLT with
either, before the significators' aspect perfects. The next aspect of a pair is the
first of 0, 60, 90, 120, 180 it perfects before either body leaves its sign: crossings
are bracketed on a half-day grid and refined on a one-minute grid. The key sequence is
compared with `orbeta-cli horary --json`, the perfection moments within one minute;
questions with two relevant moments within a minute of each other are skipped.

Usage: synastry_horary_reference.py ORBETA_CLI WORKSPACE_DIR [COUPLES] [QUESTIONS] [SEED]
"""
import datetime
import json
import os
import random
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from interpret_reference import EPHE, diff, house_of, norm, packed, read_orbs, swetest  # noqa: E402

ORB_EDGE = 0.01
CUSP_EDGE = 0.001
MINUTE = 1.0 / 1440
CLASSICAL = [5, 4, 3, 2, 1, 3, 4, 5, 6, 7, 7, 6]
ASPECTS = [0, 60, 90, 120, 180]
MALEFICS = {5, 7, 8, 9, 10}


def orb_of(orbs, p):
    if p <= 15:
        return orbs[p - 1]
    h = p - 15
    return orbs[15 + (h - 1 if h <= 6 else h - 7)]


def between(table, row, col, lon_row, lon_col):
    """Aspect of your point `row` to the partner's body `col`: the row point's orb, the
    body's when the row is a cusp."""
    sep = abs(diff(lon_row, lon_col))
    edge = False
    for angle, orbs in table:
        orb = orb_of(orbs, col if row > 15 else row)
        d = abs(sep - angle)
        edge = edge or abs(d - orb) < ORB_EDGE
        if d <= orb:
            return int(round(angle)), edge
    return -1, edge


def random_moment(rng, first, last):
    base = datetime.datetime(first, 1, 1)
    span = (datetime.datetime(last, 12, 31) - base).total_seconds()
    when = base + datetime.timedelta(seconds=int(rng.uniform(0, span)))
    jd = 2440587.5 + (when - datetime.datetime(1970, 1, 1)).total_seconds() / 86400.0
    return when, jd


def synastry(cli, ws, rng, count, table):
    compared = skipped = failed = 0
    while compared < count:
        people = []
        for _ in range(2):
            when, jd = random_moment(rng, 1930, 2010)
            lat_p, lat = packed(rng.uniform(-60, 60))
            lon_p, lon = packed(rng.uniform(-180, 180))
            body, cusp = swetest(jd, lat, lon)
            people.append((when, lat_p, lon_p, {b: body[b][0] for b in body}, cusp))
        (w1, la1, lo1, you, cusp), (w2, la2, lo2, partner, _) = people
        points = dict(you)
        points.update({15 + h: cusp[h] for h in range(1, 13)})
        expected, edge = set(), False
        for i in list(range(1, 12)) + list(range(16, 28)):
            for j in range(1, 12):
                a, e = between(table, i, j, points[i], partner[j])
                edge = edge or e
                if a >= 0:
                    expected.add((i, j, a))
        edge = edge or any(min(abs(diff(partner[b], cusp[h])) for h in range(1, 13)) < CUSP_EDGE
                           for b in partner)
        if edge:
            skipped += 1
            continue
        houses = {(b, house_of(partner[b], cusp)) for b in range(1, 12)}
        out = subprocess.run(
            [cli, "--workspace", ws, "synastry", "--json", "--flags", "17", "--house", "3",
             "--date", w1.strftime("%d.%m.%Y %H:%M:%S"), "--gmt", "0", "--lat", "%.2f" % la1,
             "--lon", "%.2f" % lo1, "--partner-date", w2.strftime("%d.%m.%Y %H:%M:%S"),
             "--partner-gmt", "0", "--partner-lat", "%.2f" % la2, "--partner-lon", "%.2f" % lo2],
            capture_output=True, text=True)
        compared += 1
        if out.returncode != 0:
            print("FAIL synastry run", out.stderr.strip())
            failed += 1
            continue
        got = json.loads(out.stdout)
        actual = {(a["your"], a["partner"], a["angle"]) for a in got["aspects"]
                  if a["partner"] <= 11 and (a["your"] <= 11 or a["your"] >= 16)}
        actual_houses = {(x["body"], x["house"]) for x in got["partnerInYourHouses"]
                         if x["body"] <= 11}
        if actual != expected or actual_houses != houses:
            failed += 1
            print("FAIL synastry", w1, w2, "missing", sorted(expected - actual), "extra",
                  sorted(actual - expected), "houses", sorted(houses ^ actual_houses))
    print("synastry: %d couples compared, %d skipped, %d failed" % (compared, skipped, failed))
    return failed


def series(jd, step, count):
    """Longitudes of SUN..PLT from jd on, `count` rows `step` days apart."""
    out = subprocess.run(
        ["swetest", "-bj%.8f" % jd, "-ut", "-p0123456789", "-fPl", "-g,", "-head", "-eswe",
         EPHE, "-s%.10f" % step, "-n%d" % count], capture_output=True, text=True,
        check=True).stdout
    rows = [r.split(",") for r in out.strip().splitlines()]
    return [[float(rows[k * 10 + b][1]) for b in range(10)] for k in range(count)]


def positions(jd):
    out = subprocess.run(
        ["swetest", "-bj%.8f" % jd, "-ut", "-p0123456789", "-fPls", "-g,", "-head", "-eswe",
         EPHE], capture_output=True, text=True, check=True).stdout
    rows = [r.split(",") for r in out.strip().splitlines()]
    return [float(r[1]) for r in rows], [float(r[2]) for r in rows]


def refine(jd0, step, f):
    """The first moment in [jd0, jd0 + step] where f (of a row of longitudes) changes
    sign, on a one-minute grid, linearly interpolated."""
    n = int(step / MINUTE) + 2
    rows = series(jd0, MINUTE, n)
    prev = f(rows[0])
    for k in range(1, n):
        cur = f(rows[k])
        if prev is not None and cur is not None and (prev <= 0 < cur or prev >= 0 > cur):
            return jd0 + MINUTE * (k - 1 + prev / (prev - cur))
        prev = cur
    return None


class Undetermined(Exception):
    """A pair whose signs last beyond the sampled span: the question is skipped."""


def horary(cli, ws, rng, count):
    compared = skipped = failed = 0
    outcomes = {}
    half = 0.5
    while compared < count:
        when, t0 = random_moment(rng, 1950, 2050)
        lat_p, lat = packed(rng.uniform(-60, 60))
        lon_p, lon = packed(rng.uniform(-180, 180))
        s, b = rng.randint(1, 12), rng.randint(1, 12)
        body, cusp = swetest(t0, lat, lon)
        lon0 = [body[k][0] for k in range(1, 11)]
        speed0 = [body[k][1] for k in range(1, 11)]
        near = any(min(abs(diff(x, cusp[h])) for h in range(1, 13)) < CUSP_EDGE for x in lon0)
        near = near or min(cusp[1] % 30 - 3, 27 - cusp[1] % 30, key=abs) ** 2 < 1e-6
        # The sign stays from t0: sampled far enough for the slowest pair that matters.
        grid = series(t0, half, 2 * 400 + 1)
        exits = [None] * 10
        for k in range(10):
            sign = int(lon0[k] // 30)
            for n, row in enumerate(grid):
                if int(row[k] // 30) != sign:
                    exits[k] = t0 + (n - 1) * half
                    break
        houses = [house_of(x, cusp) for x in lon0]
        q = (s + b - 2) % 12 + 1
        r1, r2 = CLASSICAL[int(cusp[s] // 30)], CLASSICAL[int(cusp[q] // 30)]

        def next_aspect(i, j):
            end = min(x for x in (exits[i - 1], exits[j - 1]) if x is not None) \
                if exits[i - 1] or exits[j - 1] else t0 + 400
            d0 = None
            for n, row in enumerate(grid):
                t = t0 + n * half
                if t > end + half:
                    break
                d = diff(row[i - 1], row[j - 1])
                if d0 is not None:
                    for angle in ASPECTS:
                        for target in ([angle, -angle] if 0 < angle < 180 else [angle]):
                            a, c = diff(d0, target), diff(d, target)
                            if abs(a) < 90 and abs(c) < 90 and (a <= 0 < c or a >= 0 > c):
                                f = lambda r, tg=target: diff(diff(r[i - 1], r[j - 1]), tg)
                                exact = refine(t - half, half, f)
                                if exact is None:
                                    continue
                                # Before either leaves its sign.
                                if int(positions(exact)[0][i - 1] // 30) != int(lon0[i - 1] // 30) \
                                        or int(positions(exact)[0][j - 1] // 30) != int(lon0[j - 1] // 30):
                                    return None
                                return angle, exact
                d0 = d
            if end > t0 + (len(grid) - 1) * half:
                raise Undetermined()
            return None

        cache = {}

        def coming(i, j):
            if i == j:
                return None
            key = (min(i, j), max(i, j))
            if key not in cache:
                cache[key] = next_aspect(*key)
            return cache[key]

        try:
            keys, moments = ["S%02d" % s, "P%02d" % b], []
            asc = cusp[1] % 30
            if asc < 3 or asc > 27:
                keys.append("A03" if asc < 3 else "A27")
            else:
                first = [r1] + [k for k in range(1, 11) if houses[k - 1] == s and k != r1]
                second = [r2] + [k for k in range(1, 11) if houses[k - 1] == q and k != r2]
                taken = None
                if coming(r1, r2):
                    taken = (r1, r2) + coming(r1, r2)
                else:
                    for i in first:
                        for j in second:
                            c = coming(i, j)
                            if c and (taken is None or c[1] < taken[3]):
                                taken = (i, j) + c
                if taken:
                    i, j, angle, t = taken
                    moments.append(t)
                    if angle in (90, 180):
                        keys.append("UU-")
                    else:
                        best, best_t = 0, t
                        for p in range(1, 11):
                            if p in (i, j):
                                continue
                            for x in (i, j):
                                c = coming(p, x)
                                if c and c[1] < best_t and (c[0] in (90, 180) or
                                                            (p in MALEFICS and c[0] == 0)):
                                    best, best_t = p, c[1]
                                    moments.append(c[1])
                        keys += ["UU++"] if best == 0 else ["UU+-", "MH%02d" % best]
                else:
                    moon = None
                    for k in [r2] + [k for k in range(1, 11) if houses[k - 1] == q and k != r2]:
                        if k == 2:
                            continue
                        c = coming(2, k)
                        if c and (moon is None or c[1] < moon[2]):
                            moon = (k,) + c
                    if moon is None:
                        course = any(coming(2, x) for x in (1, 3, 4, 5, 6, 7))
                        keys.append("NoAn" if course else "Lnot")
                    else:
                        k, angle, t = moon
                        moments.append(t)
                        if angle in (90, 180):
                            keys.append("L--")
                        else:
                            m, first_t = 0, t
                            for x in (1, 5, 7, 8, 9, 10):
                                c = coming(2, x)
                                if x == k or not c or c[0] in (60, 120):
                                    continue
                                if c[1] < first_t:
                                    m, first_t = x, c[1]
                                    moments.append(c[1])
                            keys += ["L++"] if m == 0 else ["L+-", "LH%02d" % m]
                if speed0[r1 - 1] < 0:
                    keys.append("uSr")
                if speed0[r2 - 1] < 0:
                    keys.append("uPr")
            every = sorted(c[1] for c in cache.values() if c)
            near = near or any(y - x < MINUTE for x, y in zip(every, every[1:]))
        except Undetermined:
            skipped += 1
            continue
        if near:
            skipped += 1
            continue
        out = subprocess.run(
            [cli, "--workspace", ws, "horary", "--json", "--house", "3", "--subject", str(s),
             "--object", str(b), "--date", when.strftime("%d.%m.%Y %H:%M:%S"), "--gmt", "0",
             "--lat", "%.2f" % lat_p, "--lon", "%.2f" % lon_p],
            capture_output=True, text=True)
        compared += 1
        if out.returncode != 0:
            print("FAIL horary run", out.stderr.strip())
            failed += 1
            continue
        got = json.loads(out.stdout)
        actual = [k["key"] for k in got["lookups"]]
        outcomes[" ".join(actual[2:])] = outcomes.get(" ".join(actual[2:]), 0) + 1
        times = [got["taken"]["jdUT"]] if got["taken"] else []
        if got["moon"] and not got["taken"]:
            times = [x["jdUT"] for x in got["next"]
                     if {x["a"], x["b"]} == {2, got["moon"]["k"]}]
        late = [abs(x - y) for x, y in zip(times, moments[:1])]
        if actual != keys or any(d > MINUTE for d in late):
            failed += 1
            print("FAIL horary", when, lat_p, lon_p, s, b, "expected", keys, "got", actual,
                  "moment differences (min)", [d * 1440 for d in late])
    print("horary outcomes:", ", ".join("%s: %d" % kv for kv in sorted(outcomes.items())))
    print("horary: %d questions compared, %d skipped, %d failed" % (compared, skipped, failed))
    return failed


def main():
    cli, ws = sys.argv[1], sys.argv[2]
    couples = int(sys.argv[3]) if len(sys.argv) > 3 else 20
    questions = int(sys.argv[4]) if len(sys.argv) > 4 else 30
    rng = random.Random(int(sys.argv[5]) if len(sys.argv) > 5 else 1)
    os.makedirs(ws, exist_ok=True)
    subprocess.run([cli, "--workspace", ws, "synastry", "--list-keys"], capture_output=True)
    for stem in ("wzaim", "chorar"):
        with open(os.path.join(ws, stem + ".csr"), "w") as f:
            f.write("@0\n0\n")
    table = read_orbs(os.path.join(ws, "0.ao"))
    failed = synastry(cli, ws, rng, couples, table) + horary(cli, ws, rng, questions)
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
