"""The time-zone control file popa.ctl from the system's tzdata.

For every zone: a line of section PopTime with the zone's code, its present standard
offset, and the periods in which the standard offset was another one; and, when the
zone ever kept daylight-saving time, a section named after the zone with one line per
daylight-saving period. Offsets are hours east of Greenwich.

Period boundaries are local wall-clock moments. A date may carry the time of day as a
fourth part, "DD.MM.YYYY.HH:MM[:SS]"; readers that know only day, month and year
ignore it. The wall clock at a boundary is the later of the two clocks around the
change, so that a skipped or repeated hour reads as the offset that held before it,
as Python's zoneinfo does for fold 0. A PopTime period runs from its first date
inclusive to its second exclusive, a daylight-saving period from after its first date
up to and including its second: the daylight-saving boundaries are therefore written
one second before that wall clock, so that both read the new offset at the change.
"""

from datetime import datetime, timedelta

import tzif

OPEN_START = '01.01.0001'  # the earliest offset holds for all earlier moments
OPEN_END = '31.12.9999'  # a shift that never ended
EPOCH = datetime(1970, 1, 1)
MAX_DST = 3 * 3600
ONE_SECOND = timedelta(seconds=1)


def split_dst(periods):
    """(standard offset, daylight-saving shift) in seconds for every period. TZif
    keeps only the total and a flag: the shift is the total less the standard offset
    of a neighbouring standard-time period, the one before when it gives a positive
    shift of at most three hours, else the one after; Debian's negative shifts
    (Dublin) come out as such because both neighbours give them."""
    out = []
    for i, p in enumerate(periods):
        if not p.isdst:
            out.append((p.utoff, 0))
            continue
        before = next((q.utoff for q in reversed(periods[:i]) if not q.isdst), None)
        after = next((q.utoff for q in periods[i + 1:] if not q.isdst), None)
        shifts = [p.utoff - s for s in (before, after) if s is not None]
        good = [d for d in shifts if 0 < d <= MAX_DST]
        nonzero = [d for d in shifts if d != 0]
        shift = good[0] if good else nonzero[0] if nonzero else 0
        out.append((p.utoff - shift, shift))
    return out


def wall_clock(start, before, after):
    """Local moment of a change at UTC second `start` between two totals."""
    return EPOCH + timedelta(seconds=start + max(before, after))


def date_text(moment):
    text = moment.strftime('%d.%m.%Y')
    if moment.second:
        return text + moment.strftime('.%H:%M:%S')
    if moment.hour or moment.minute:
        return text + moment.strftime('.%H:%M')
    return text


def hours_text(seconds):
    text = f'{seconds / 3600:.6f}'.rstrip('0').rstrip('.')
    return '0' if text in ('-0', '') else text


def zone_tables(periods):
    """(present standard offset, [(from, to, standard)], [(from, to, shift)]) with
    local wall-clock boundaries; `from` is None for the open beginning, `to` None for
    the open end."""
    parts = split_dst(periods)
    boundary = [None] + [wall_clock(periods[i].start, periods[i - 1].utoff, periods[i].utoff)
                         for i in range(1, len(periods))]
    present = parts[-1][0]
    standard, daylight = [], []
    i = 0
    while i < len(periods):
        std = parts[i][0]
        j = i
        while j + 1 < len(periods) and parts[j + 1][0] == std:
            j += 1
        if std != present:
            standard.append((boundary[i], boundary[j + 1] if j + 1 < len(periods) else None, std))
        i = j + 1
    i = 0
    while i < len(periods):
        shift = parts[i][1]
        j = i
        while j + 1 < len(periods) and parts[j + 1][1] == shift:
            j += 1
        if shift != 0:
            first = boundary[i] - ONE_SECOND if boundary[i] else None
            last = boundary[j + 1] - ONE_SECOND if j + 1 < len(periods) else None
            daylight.append((first, last, shift))
        i = j + 1
    return present, standard, daylight


def poptime_line(code, present, standard, per_line=4):
    tokens = [str(code), hours_text(present)]
    for start, end, std in standard:
        first = date_text(start) if start else OPEN_START
        period = first if end is None else f'{first}-{date_text(end)}'
        tokens.append(f'{period} {hours_text(std)}')
    lines, head = [], ' '.join(tokens[:2])
    rest = tokens[2:]
    chunks = [rest[k:k + per_line] for k in range(0, len(rest), per_line)] or [[]]
    for n, chunk in enumerate(chunks):
        text = ' '.join(([head] if n == 0 else ['  ']) + chunk).rstrip()
        lines.append(text + (' &' if n + 1 < len(chunks) else ''))
    return lines


def daylight_lines(daylight):
    out = []
    for start, end, shift in daylight:
        first = date_text(start) if start else OPEN_START
        last = date_text(end) if end else OPEN_END
        out.append(f'{first} {last} {hours_text(shift)}')
    return out


def write_popa(zones, path, last_year=2040):
    """Writes popa.ctl for the zones (their codes are 1.. in the given order) and
    returns {zone: code}."""
    codes = {z: n + 1 for n, z in enumerate(zones)}
    tables = {z: zone_tables(tzif.zone_periods(z, last_year)) for z in zones}
    out = [
        '* popa.ctl: time-zone history of the towns directory, generated by tools/towns',
        f'* from the IANA tz database (tzdata {tzif.tzdata_version()}), public domain;',
        f'* offsets 1880..{last_year} in hours east of Greenwich.',
        '* PopTime: code, present standard offset, then periods of another standard',
        '* offset ("from-to offset" or "from offset"). A section named after a zone',
        '* holds its daylight-saving periods: from, to, shift. Dates are local',
        '* DD.MM.YYYY with the time of day as an optional fourth part .HH:MM[:SS].',
        '* Section Zones names the zone of every PopTime code.',
        '',
        '@@PopTime',
    ]
    for z in zones:
        present, standard, _ = tables[z]
        out += poptime_line(codes[z], present, standard)
    out += ['', '@@Zones']
    out += [f'{codes[z]} {z}' for z in zones]
    for z in zones:
        daylight = tables[z][2]
        if daylight:
            out += ['', f'@@{z}'] + daylight_lines(daylight)
    with open(path, 'w', encoding='ascii', newline='\n') as f:
        f.write('\n'.join(out) + '\n')
    return codes
