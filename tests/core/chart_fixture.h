#pragma once
// Charts the tests start from: a local moment and a place, as the birth-data dialog
// would set them.
#include "../support/scratch_computation.h"
#include "core/angles.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/chart_record.h"
#include "core/houses.h"

namespace orbeta::test {

// Not yet computed: the moment (local date-time text and its correction in hours),
// latitude and longitude packed d.mm (east positive), Placidus houses.
inline ChartRecord ChartAt(const char* localMoment, double gmtHours, double latitude,
                           double longitude) {
    ChartRecord r;
    r.jdLocal = JulianDayOfDateTimeText(localMoment);
    r.gmtCorr = gmtHours / 24.0;
    r.jdUT = r.jdCalc = r.jdLocal + r.gmtCorr;
    r.latitude = latitude;
    r.longitude = StoredLongitude(longitude);
    r.houseSystem = kPlacidus;
    return r;
}

// The same computed as a natal chart from itself.
inline ChartRecord NatalAt(const char* localMoment, double gmtHours, double latitude,
                           double longitude) {
    ChartRecord r = ChartAt(localMoment, gmtHours, latitude, longitude);
    ComputeChart(test::Scratch(), r, r, kNatal);
    return r;
}

}  // namespace orbeta::test
