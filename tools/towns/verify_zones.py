"""Checks a generated popa.ctl against zdump: for every zone of section Zones and
every transition that zdump lists from 1880 to 2040, the correction a minute before
the change (on the earlier wall clock) and a minute after it (on the later one), and
half-way between changes, must be the offset zdump gives; at every change, the
wall-clock moment of the change itself and one second either side of it (and of the
earlier clock's moment of the change) must give the offset Python's zoneinfo gives
there for fold 0. Usage: verify_zones.py POPA_CTL. Exit status 1 on a mismatch."""

import re
import subprocess
import sys
from datetime import datetime, timedelta
from zoneinfo import ZoneInfo

MONTHS = {m: i + 1 for i, m in enumerate(
    'Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec'.split())}


def read_sections(path):
    sections, current = {}, None
    pending = None
    for raw in open(path, encoding='ascii'):
        line = raw.rstrip('\n')
        if line.startswith('@@'):
            current = []
            for name in line[2:].split():
                sections.setdefault(name, current)
            pending = None
            continue
        if not line.strip() or line.startswith('*') or current is None:
            continue
        tokens = line.split()
        cont = '&' in tokens
        if cont:
            tokens = tokens[:tokens.index('&')]
        if pending is not None:
            pending += tokens
        else:
            pending = tokens
        if not cont:
            current.append(pending)
            pending = None
    return sections


def moment(text):
    parts = text.split('.')
    d, m, y = (int(p) for p in parts[:3])
    t = [int(x) for x in parts[3].split(':')] if len(parts) > 3 else []
    t += [0] * (3 - len(t))
    return datetime(y, m, d, *t) if y < 9999 else datetime(9999, 12, 31)


def correction(sections, code, zone, local):
    """Hours east of Greenwich at a local moment (the negated correction)."""
    line = next(l for l in sections['PopTime'] if int(l[0]) == code and len(l) > 1)
    offset = float(line[1])
    for period, value in zip(line[2::2], line[3::2]):
        first, _, second = period.partition('-')
        if moment(first) <= local and (not second or moment(second) > local):
            offset = float(value)
            break
    for a, b, shift, *_ in sections.get(zone, []):
        if moment(a) < local <= moment(b):
            offset += float(shift)
            break
    return offset


def transitions(zone):
    out = subprocess.run(['zdump', '-v', '-c', '1880,2041', zone], capture_output=True,
                         text=True, check=True).stdout
    rows = []
    for line in out.splitlines():
        m = re.search(r'= \w+ (\w+) +(\d+) (\d+):(\d+):(\d+) (\d+) .* gmtoff=(-?\d+)', line)
        if not m:
            continue
        local = datetime(int(m.group(6)), MONTHS[m.group(1)], int(m.group(2)),
                         int(m.group(3)), int(m.group(4)), int(m.group(5)))
        rows.append((local, int(m.group(7))))
    # zdump prints each change as the second before it and the second at it.
    return [(rows[k][0] + timedelta(seconds=1) - timedelta(seconds=rows[k][1]),
             rows[k][1], rows[k + 1][1]) for k in range(0, len(rows) - 1, 2)]


def main(path):
    sections = read_sections(path)
    bad = checked = 0
    for code_text, zone in sections['Zones']:
        code = int(code_text)
        changes = transitions(zone)
        points = []
        for utc, old, new in changes:
            points.append((utc + timedelta(seconds=min(old, new) - 60), old))
            points.append((utc + timedelta(seconds=max(old, new) + 60), new))
        for (u1, _, n1), (u2, _, _) in zip(changes, changes[1:]):
            points.append((u1 + (u2 - u1) / 2 + timedelta(seconds=n1), n1))
        # The boundary instants: a skipped or repeated wall clock reads as the offset
        # before the change (fold 0), the later clock's moment of the change as the new.
        tz = ZoneInfo(zone)
        for utc, old, new in changes:
            for clock in (min(old, new), max(old, new)):
                for step in (-1, 0, 1):
                    local = utc + timedelta(seconds=clock + step)
                    points.append((local, tz.utcoffset(local).total_seconds()))
        for local, offset in points:
            if local.year > 2040:
                continue
            checked += 1
            got = correction(sections, code, zone, local)
            if abs(got - offset / 3600) > 1e-4:
                bad += 1
                if bad < 30:
                    print(f'{zone} {local}: popa.ctl {got:+.4f}, expected {offset / 3600:+.4f}')
    print(f'{checked} moments checked, {bad} differ')
    return 1 if bad else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
