#!/usr/bin/env python3
"""Independent check of the chart analysis and of the natal report's key sequence.

For random charts (1900-2100, latitudes -60..60, Placidus) the positions and cusps come
from swetest; the analysis (signs, houses, energy, element and cross counts, synthetic
sign, Jones figure, aspect configurations, chains) and the keys the natal report looks
up at all options are computed here from the rules as written, and compared with
`orbeta-cli interpret --report natal --json`. The base holds only the introduction, so
no sign-and-house text exists. Charts with a point within 0.001 degree of a sign or
house border, or a pair within 0.001 degree of an orb edge, are skipped.

Usage: interpret_reference.py ORBETA_CLI WORKSPACE_DIR [COUNT] [SEED]
"""
import datetime
import json
import os
import random
import subprocess
import sys

EPHE = "-edir/usr/share/libswe/ephe/"
EDGE = 0.001
DIGNITY = [
    [5, 3, 2, 0, 6, 4, 1, 2, 4, 6], [3, 5, 4, 6, 0, 2, 4, 1, 2, 0],
    [2, 3, 6, 4, 2, 0, 4, 4, 0, 2], [3, 6, 2, 2, 1, 5, 0, 0, 4, 4],
    [6, 3, 2, 2, 4, 4, 0, 0, 1, 5], [3, 2, 6, 1, 2, 0, 4, 4, 0, 2],
    [1, 3, 4, 6, 0, 2, 5, 4, 2, 0], [3, 1, 2, 0, 6, 4, 2, 5, 4, 6],
    [4, 3, 0, 2, 4, 6, 2, 2, 6, 4], [3, 0, 4, 4, 5, 1, 6, 6, 2, 2],
    [0, 3, 4, 4, 2, 2, 6, 6, 5, 1], [3, 4, 0, 5, 4, 6, 2, 2, 6, 4],
]
CLASSICAL = [5, 4, 3, 2, 1, 3, 4, 5, 6, 7, 7, 6]
MODERN = [5, 4, 3, 2, 1, 3, 4, 10, 6, 7, 8, 9]


def norm(x):
    return x % 360.0


def diff(a, b):
    d = norm(a - b)
    return d - 360.0 if d >= 180.0 else d


def in_arc(x, a, b):
    return norm(x - a) < norm(b - a)


def house_of(lon, cusp):
    for i in range(1, 13):
        if in_arc(lon, cusp[i], cusp[i % 12 + 1]):
            return i
    return 0


def read_orbs(path):
    table = []
    for line in open(path, encoding="utf-8", errors="replace"):
        t = line.split()
        if not t or t[0].startswith("*") or "S" not in t:
            continue
        s = t.index("S")
        if int(t[s + 1]) != 0:
            continue
        table.append((float(t[0]), [float(x) for x in t[1:s]]))
    return table


def point_orb(orbs, p):
    if p <= 15:
        return orbs[p - 1]
    h = p - 15
    return orbs[15 + (h - 1 if h <= 6 else h - 7)]


def aspect(table, p, q, lon):
    """The first angle admitting the pair (orb: the larger, a cusp takes the body's)."""
    sep = abs(diff(lon[p], lon[q]))
    near_edge = False
    for angle, orbs in table:
        if q > 15 and p <= 15:
            orb = point_orb(orbs, p)
        else:
            orb = max(point_orb(orbs, p), point_orb(orbs, q))
        d = abs(sep - angle)
        if abs(d - orb) < EDGE:
            near_edge = True
        if d <= orb:
            return int(round(angle)), near_edge
    return -1, near_edge


def swetest(jd, lat, lon):
    out = subprocess.run(
        ["swetest", "-bj%.8f" % jd, "-ut", "-p0123456789m", "-fPls", "-g,", "-head", "-eswe",
         EPHE, "-house%.6f,%.6f,P" % (lon, lat)], capture_output=True, text=True, check=True).stdout
    rows = [r.split(",") for r in out.strip().splitlines()]
    body = {i + 1: (float(rows[i][1]), float(rows[i][2])) for i in range(11)}
    cusp = [0.0] + [float(rows[11 + i][1]) for i in range(12)]
    return body, cusp


def analyse(body, cusp):
    a = {"lon": {b: body[b][0] for b in body}, "speed": {b: body[b][1] for b in body}}
    a["sign"] = {b: int(a["lon"][b] // 30) + 1 for b in body}
    a["house"] = {b: house_of(a["lon"][b], cusp) for b in body}
    a["cuspSign"] = [int(cusp[h] // 30) + 1 for h in range(1, 13)]
    d = [DIGNITY[a["sign"][b] - 1][b - 1] for b in range(1, 11)]
    a["energy"] = [sum(d), sum(d[:5]), sum(d[5:])]
    a["sorted"] = sorted(((b, a["lon"][b]) for b in range(1, 11)), key=lambda x: (x[1], -x[0]))

    def counts(group_of, g):
        c = {"n10": 0, "n7": 0, "n5": 0, "l": 0, "h": 0}
        for b in range(1, 11):
            if group_of(a["sign"][b]) == g:
                c["n10"] += 1
                c["n7"] += b <= 7
                c["n5"] += b <= 5
                c["l"] += b if b <= 2 else 0
        sun_house = a["house"][1]
        c["h"] = 1 if sun_house >= 1 and group_of(sun_house) == g else 0
        return c
    a["elements"] = [counts(lambda s: (s - 1) % 4, e) for e in range(4)]
    a["crosses"] = [counts(lambda s: (s - 1) % 3, c) for c in range(3)]
    return a


def synthetic(crosses, elements):
    mc = [i for i, x in enumerate(crosses) if x == max(crosses)]
    me = [i for i, x in enumerate(elements) if x == max(elements)]
    if len(mc) + len(me) > 3:
        return []
    s = [(4 * mc[0] + 9 * me[0]) % 12]
    if len(me) == 2:
        s.append((4 * mc[0] + 9 * me[1]) % 12)
    elif len(mc) == 2:
        s.append((4 * mc[1] + 9 * me[0]) % 12)
    return s


def jones(a):
    lon = [x[1] for x in a["sorted"]]
    ids = [x[0] for x in a["sorted"]]
    gap = [norm(lon[i] - lon[i - 1]) for i in range(10)]
    gap[0] = lon[0] + 360 - lon[9]
    m = max(range(10), key=lambda i: (gap[i], -i))
    s = max((i for i in range(10) if i != m), key=lambda i: (gap[i], -i))
    g, g2 = gap[m], gap[s]
    body = lambda i: ids[i % 10]
    bunched = any(gap[i - 1] + gap[i] < 30 for i in range(10))
    if g >= 210:
        fig = 1
    elif g >= 150:
        fig = 2 if gap[(m - 1) % 10] < 60 and gap[(m + 1) % 10] < 60 else 0
    elif g >= 110:
        fig = 3
    else:
        fig = 4 if bunched else 5
    r = {"figure": fig, "handle": [], "begin": 0, "end": 0}
    if 1 <= fig <= 3:
        r["begin"], r["end"] = body(m), body(m - 1)
    if g2 > 60:
        k = min(abs(m - s), 10 - abs(m - s))
        if k >= 3:
            return {"figure": 6, "handle": [], "begin": 0, "end": 0}
        if k == 1 and g + g2 > 170:
            h = m if (m + 1) % 10 == s else s
            return {"figure": 8 if g + g2 >= 210 else 7, "handle": [body(h)],
                    "begin": body(h + 1), "end": body(h - 1)}
        if k == 2:
            mid = (m + 1) % 10 if (m + 1) % 10 == (s - 1) % 10 else (s + 1) % 10
            if g + g2 + gap[mid] > 170:
                return {"figure": 9, "handle": [body(mid), body(mid - 1)],
                        "begin": body(mid + 1), "end": body(mid - 2)}
    return r


TRIANGLE_SETS = [({120}, 7), ({90, 180}, 4), ({60, 120}, 5), ({36, 72, 108, 144}, 8),
                 ({180, 120, 60}, 6), ({90, 135}, 9), ({60, 150}, 10)]


def configurations(a, asp):
    ids = [x[0] for x in a["sorted"]]
    A = lambda i, j: asp[(min(ids[i], ids[j]), max(ids[i], ids[j]))]
    out = []
    for i in range(10):
        for j in range(i + 1, 10):
            if A(i, j) < 0:
                continue
            for k in range(j + 1, 10):
                if A(j, k) < 0:
                    continue
                if A(k, i) >= 0:
                    b = [ids[i], ids[j], ids[k]]
                    x = [A(i, j), A(j, k), A(k, i)]
                    kind = next((kd for st, kd in TRIANGLE_SETS if set(x) <= st), 1)
                    apex = 0
                    for n in range(3):
                        if x[n] > x[(n + 1) % 3] and x[n] > x[(n + 2) % 3]:
                            apex = b[(n + 2) % 3]
                    if apex == 0 and 8 <= kind <= 10:
                        for n in range(3):
                            if x[(n + 1) % 3] == x[(n + 2) % 3] > x[n]:
                                apex = b[(n + 2) % 3]
                    out.append({"kind": kind, "bodies": b, "angles": x, "apex": apex})
                for l in range(k + 1, 10):
                    if A(k, l) < 0 or A(l, i) < 0:
                        continue
                    x = [A(i, j), A(j, k), A(k, l), A(l, i)]
                    out.append({"kind": 3 if all(v == 90 for v in x) else 2,
                                "bodies": [ids[i], ids[j], ids[k], ids[l]], "angles": x, "apex": 0})
    out.sort(key=lambda c: c["kind"])
    return out


def chains(mode, a):
    n = 10 if mode & 1 else 7
    chain = [0] * (n + 1)
    centres = []
    for start in range(1, n + 1):
        if chain[start]:
            continue
        number = len(centres) + 1
        walk, b = [], start
        while chain[b] == 0:
            chain[b] = number
            walk.append(b)
            s = a["sign"][b] - 1
            if mode & 2:
                s = (s + 6) % 12
            b = (MODERN if mode & 1 else CLASSICAL)[s]
        if chain[b] == number:
            centres.append(walk[walk.index(b):])
        else:
            for w in walk:
                chain[w] = chain[b]
    return {"mode": mode, "count": len(centres), "centres": centres}


def natal_keys(a, asp, cusp):
    keys = ["0", "000"]
    el, cr = a["elements"], a["crosses"]
    any_ = False
    for e in range(4):
        if el[e]["n10"] + el[e]["h"] >= 5 or el[e]["n5"] >= 4:
            keys.append("S%d" % (e + 1)); any_ = True
    for e in range(4):
        g = el[e]
        if g["n10"] == 0 or (g["n10"] == 1 and g["n5"] == 0 and g["h"] == 0) or \
                (g["n10"] == 2 and g["n7"] == 0 and g["h"] == 0):
            keys.append("DS%d" % (e + 1)); any_ = True
    thin = lambda e: el[e]["n10"] == 3 and el[e]["n5"] == 0 and el[e]["h"] == 0
    for e1 in range(4):
        for e2 in range(e1 + 1, 4):
            if el[e1]["n10"] + el[e2]["n10"] >= 8 and el[e1]["n10"] >= 3 and el[e2]["n10"] >= 3 \
                    and not thin(e1) and not thin(e2):
                keys.append("S%dS%d" % (e1 + 1, e2 + 1)); any_ = True
    if not any_:
        keys.append("SSS")
    for c in range(3):
        g = cr[c]
        if g["n10"] >= 5:
            keys.append("K%d" % (c + 1))
        if g["n10"] == 0 or (g["n10"] == 1 and g["n7"] == 0 and g["h"] == 0):
            keys.append("DK%d" % (c + 1))
    for level in range(3):
        if sum(1 for b in range(1, 11) if (a["sign"][b] - 1) // 4 == level) >= 6:
            keys.append("L%d" % (level + 1))
    for g, th in enumerate([(20, 28, 31, 36), (10, 14, 17, 21), (10, 14, 17, 21)]):
        keys.append("W%db%d" % (g, sum(a["energy"][g] >= t for t in th)))
    ch = chains(1, a)
    if ch["count"] == 1:
        centre = ch["centres"][0]
        if len(centre) == 1:
            keys.append("C%02d" % centre[0])
        elif len(centre) == 2:
            keys += ["CC"] + ["C%02d" % b for b in centre]
        else:
            keys.append("CCC")
    if ch["count"] >= 2:
        keys.append("CMM")
    j = jones(a)
    if j["figure"]:
        keys.append("F%02d" % j["figure"])
        if j["figure"] >= 7:
            for h in j["handle"]:
                keys.append("R%02d" % h)
                if a["house"][h] >= 1:
                    keys.append("Rh%02d" % a["house"][h])
        if j["figure"] <= 3 or j["figure"] >= 7:
            keys += ["B%02d" % j["begin"], "E%02d" % j["end"]]
    rising, least = 2, 1e9
    for b in range(2, 11):
        d = norm(diff(a["lon"][1], a["lon"][b]))
        if d <= least:
            least, rising = d, b
    keys.append("VS%02d" % rising)
    for z in range(1, 13):
        n10 = sum(1 for b in range(1, 11) if a["sign"][b] == z)
        n7 = sum(1 for b in range(1, 8) if a["sign"][b] == z)
        if n10 >= 5 or n7 >= 4:
            keys.append("Tz%02d" % z)
    q = [0] * 4
    for b in range(1, 11):
        if a["house"][b] >= 1:
            q[(a["house"][b] - 1) // 3] += 1
    for i, name in enumerate(["Sev", "Zap", "Ug", "Vost"]):
        n = q[i] + q[(i + 1) % 4]
        if n >= 7:
            keys.append(name + ("A" if n == 10 else ""))
    for i in range(4):
        if q[i] >= 6:
            keys.append("KV%d" % (i + 1))
        if q[i] == 0:
            keys.append("DV%d" % (i + 1))
    conf = configurations(a, asp)
    kinds = {c["kind"] for c in conf}
    if not conf:
        keys.append("A00")
    if any(len(c["bodies"]) == 3 for c in conf):
        keys.append("A01")
    if any(len(c["bodies"]) == 4 for c in conf):
        keys.append("A02")
    keys += ["A%02d" % k for k in range(3, 11) if k in kinds]
    for b in range(1, 12):
        keys += ["IP%02d" % b, "p%02dz%02d" % (b, a["sign"][b])]
        if b == 3:
            keys.append(("r" if a["speed"][3] < 0 else "d") +
                        ("p" if diff(a["lon"][3], a["lon"][1]) < 0 else "s"))
        if b == 11:
            break
        h = a["house"][b]
        if h >= 1:
            keys += ["p%02dz%02dh%02d" % (b, a["sign"][b], h), "p%02dh%02d" % (b, h)]
        for o in range(b + 1, 11):
            x = asp[(b, o)]
            if x < 0:
                continue
            if (b, o) == (1, 2):
                d = norm(a["lon"][2] - a["lon"][1])
                keys.append("L%02d" % (1 + sum(d >= t for t in (15, 84, 95, 174, 186, 264, 275, 345))))
            keys.append("p%02dp%02da%03d" % (b, o, x))
    keys += ["h01z%02d" % a["cuspSign"][0], "h04z%02d" % a["cuspSign"][3]]
    for h in range(1, 13):
        if sum(1 for b in range(1, 11) if a["house"][b] == h) >= 3:
            keys.append("Th%02d" % h)
    return keys


def packed(x):
    d = int(abs(x))
    m = int(round((abs(x) - d) * 60))
    if m == 60:
        d, m = d + 1, 0
    return (-1 if x < 0 else 1) * (d + m / 100.0), (-1 if x < 0 else 1) * (d + m / 60.0)


def main():
    cli, ws = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 500
    rng = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 1)
    os.makedirs(ws, exist_ok=True)
    subprocess.run([cli, "--workspace", ws, "interpret", "--list-keys", "natal"], capture_output=True)
    with open(os.path.join(ws, "natal.csr"), "w") as f:
        f.write("@0\n0\n")
    table = read_orbs(os.path.join(ws, "0.ao"))
    compared = skipped = failed = 0
    base = datetime.datetime(1900, 1, 1)
    span = (datetime.datetime(2100, 12, 31) - base).total_seconds()
    while compared + skipped < count:
        when = base + datetime.timedelta(seconds=int(rng.uniform(0, span)))
        lat_p, lat = packed(rng.uniform(-60, 60))
        lon_p, lon = packed(rng.uniform(-180, 180))
        jd = 2440587.5 + (when - datetime.datetime(1970, 1, 1)).total_seconds() / 86400.0
        body, cusp = swetest(jd, lat, lon)
        points = {b: body[b][0] for b in body}
        points.update({15 + h: cusp[h] for h in range(1, 13)})
        near = any(min(p % 30, 30 - p % 30) < EDGE for p in points.values())
        near = near or any(min(abs(diff(points[b], cusp[h])) for h in range(1, 13)) < EDGE
                           for b in body)
        asp = {}
        for p in range(1, 11):
            for q in range(p + 1, 11):
                asp[(p, q)], edge = aspect(table, p, q, points)
                near = near or edge
        if near:
            skipped += 1
            continue
        a = analyse(body, cusp)
        expected = {
            "signs": [a["sign"][b] for b in range(1, 12)],
            "houses": [a["house"][b] for b in range(1, 12)],
            "cuspSigns": a["cuspSign"], "energy": a["energy"],
            "sorted": [x[0] for x in a["sorted"]],
            "elements": a["elements"], "crosses": a["crosses"],
            "synthetic": synthetic([c["n10"] for c in a["crosses"]],
                                   [e["n10"] for e in a["elements"]]),
            "jones": jones(a), "configurations": configurations(a, asp),
            "chains": [chains(m, a) for m in range(4)],
        }
        date = when.strftime("%d.%m.%Y %H:%M:%S")
        out = subprocess.run([cli, "--workspace", ws, "interpret", "--report", "natal", "--json",
                              "--date", date, "--gmt", "0", "--lat", "%.2f" % lat_p,
                              "--lon", "%.2f" % lon_p, "--house", "3"],
                             capture_output=True, text=True)
        if out.returncode != 0:
            print("FAIL run", date, lat_p, lon_p, out.stderr.strip())
            failed += 1
            compared += 1
            continue
        got = json.loads(out.stdout)
        g = got["analysis"]
        actual = dict(g)
        actual["signs"] = g["signs"][:11]
        actual["houses"] = g["houses"][:11]
        actual["sorted"] = [x[0] for x in g["sorted"]]
        keys = [k["key"] for k in got["keys"]]
        want_keys = natal_keys(a, asp, cusp)
        bad = [k for k in expected if expected[k] != actual[k]]
        if keys != want_keys:
            bad.append("keys")
        compared += 1
        if bad:
            failed += 1
            print("DIFF", date, lat_p, lon_p, bad)
            for k in bad[:2]:
                if k == "keys":
                    i = next((i for i, (x, y) in enumerate(zip(keys, want_keys)) if x != y),
                             min(len(keys), len(want_keys)))
                    print("   keys from", i, keys[i:i + 6], "expected", want_keys[i:i + 6])
                else:
                    print("   ", k, actual[k], "expected", expected[k])
    print("charts compared %d, skipped near an edge %d, differing %d" % (compared, skipped, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
