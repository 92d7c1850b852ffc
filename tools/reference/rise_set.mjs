// Fixed expectations for the day-report tests, from an independent ephemeris.
// Run once by hand:  npm ci && node rise_set.mjs
//
// Rises and sets are found for the centre of the body as seen from the Earth's
// centre (apparent place of date, no refraction) crossing the altitudes that the
// day report uses: Sun -0.8333, Moon +0.1333 degrees. The library's own rise/set
// search works topocentrically on the upper limb with refraction; for the Sun that
// is the same event within seconds, for the Moon the varying parallax and
// semi-diameter move it by up to a couple of minutes, so the like-for-like geocentric
// altitude is used instead.
import * as A from 'astronomy-engine';

const cases = [
  // name, latitude, longitude (degrees, east +), local date, hours added to UT
  ['Moscow', 55 + 45 / 60, 37 + 37 / 60, [2024, 3, 20], 3],
  ['SaintPetersburg', 59 + 57 / 60, 30 + 19 / 60, [2025, 6, 21], 3],
  ['Novosibirsk', 55 + 2 / 60, 82 + 55 / 60, [2023, 12, 22], 7],
  ['Sydney', -(33 + 52 / 60), 151 + 12 / 60, [2024, 1, 15], 11],
  ['North65December', 65.5, 40.0, [2024, 12, 21], 3],
  ['North65June', 65.5, 40.0, [2024, 6, 21], 3],
  ['North659June', 65.9, 40.0, [2024, 6, 21], 3],
];
const threshold = { Sun: -0.8333, Moon: 0.1333 };

function geocentricAltitude(body, time, observer) {
  const vec = A.GeoVector(body, time, true);
  const ofDate = A.RotateVector(A.Rotation_EQJ_EQD(time), vec);
  const eq = A.EquatorFromVector(ofDate);
  return A.Horizon(time, observer, eq.ra, eq.dec, null).altitude;
}

function crossings(body, observer, fromUt, toUt) {
  const f = (t) => geocentricAltitude(body, t, observer) - threshold[body];
  const out = { rise: [], set: [] };
  const step = 0.01;
  let t0 = A.MakeTime(fromUt), y0 = f(t0);
  for (let u = fromUt + step; u <= toUt + 1e-9; u += step) {
    const t1 = A.MakeTime(u), y1 = f(t1);
    if ((y0 < 0) !== (y1 < 0)) {
      const up = y0 < 0;
      const g = up ? f : (t) => -f(t);
      const r = A.Search(g, t0, t1, { dt_tolerance_seconds: 0.01 });
      (up ? out.rise : out.set).push(r.ut + 2451545.0);
    }
    t0 = t1; y0 = y1;
  }
  return out;
}

const jd = (ut) => ut.toFixed(6);
for (const [name, lat, lon, [y, m, d], zone] of cases) {
  const observer = new A.Observer(lat, lon, 0);
  // local midnight as days since J2000 UT
  const midnight = A.MakeTime(new Date(Date.UTC(y, m - 1, d) - zone * 3600e3)).ut;
  const day = {};
  for (const body of ['Sun', 'Moon']) day[body] = crossings(body, observer, midnight, midnight + 1);
  // the moment used for lunar days: local noon
  const noon = midnight + 0.5;
  const nm1 = A.SearchMoonPhase(0, A.MakeTime(noon - 30), 40).ut;
  const nm2 = A.SearchMoonPhase(0, A.MakeTime(nm1 + 1), 40).ut;
  const rises = crossings('Moon', observer, nm1, noon + 2).rise.map((j) => j - 2451545.0);
  // lunar day of local noon
  let start = nm1, number = 1, passedNm2 = false, found = 0;
  for (const r of rises.concat([Infinity])) {
    if (!passedNm2 && nm2 > start && nm2 <= r) {
      if (noon >= start && noon < nm2) { found = number; break; }
      start = nm2; number = 1; passedNm2 = true;
    }
    if (noon >= start && noon < r) { found = number; break; }
    start = r; number += 1;
  }
  console.log(`${name}: midnightUT=${jd(midnight + 2451545.0)}`);
  const limb = A.SearchRiseSet('Sun', observer, +1, A.MakeTime(midnight), 1);
  if (limb) console.log(`  Sun rise by the library's upper-limb search=${jd(limb.ut + 2451545.0)}`);
  for (const body of ['Sun', 'Moon'])
    console.log(`  ${body} rise=[${day[body].rise.map(jd)}] set=[${day[body].set.map(jd)}]`);
  console.log(`  newMoons=${jd(nm1 + 2451545.0)},${jd(nm2 + 2451545.0)} lunarDayAtNoon=${found}`);
}
