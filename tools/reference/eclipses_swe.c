/* Every solar and lunar eclipse of an interval from the ephemeris library's global
 * eclipse searches (kinds), each with the syzygy in longitude found by bisection on
 * the library's Sun and Moon (moments, Julian day UT).
 * Output lines: "<luminary 1|2> <kind code> <syzygy jd> <greatest eclipse jd>".
 * Kind codes: 1 total, 2 annular, 3 partial, 4 annular-total, 6 penumbral. */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <swephexp.h>

static double Offset(double t, int lunar) {
    double xs[6], xm[6];
    char serr[AS_MAXCH];
    swe_calc_ut(t, SE_SUN, SEFLG_SWIEPH, xs, serr);
    swe_calc_ut(t, SE_MOON, SEFLG_SWIEPH, xm, serr);
    double d = (lunar ? xs[0] + 180.0 : xs[0]) - xm[0];
    d = fmod(d, 360.0);
    if (d < -180) d += 360;
    if (d >= 180) d -= 360;
    return d;
}

static double Syzygy(double t, int lunar) {
    double lo = t - 0.5, hi = t + 0.5, flo = Offset(lo, lunar);
    while (hi - lo > 1e-9) {
        double mid = (lo + hi) / 2, fm = Offset(mid, lunar);
        if ((fm < 0) == (flo < 0)) {
            lo = mid;
            flo = fm;
        } else {
            hi = mid;
        }
    }
    return (lo + hi) / 2;
}

int main(int argc, char** argv) {
    double from = argc > 1 ? atof(argv[1]) : 2415020.5; /* 01.01.1900 */
    double to = argc > 2 ? atof(argv[2]) : 2488434.5;   /* 01.01.2101 */
    char serr[AS_MAXCH];
    double tret[10], attr[20];
    swe_set_ephe_path("/usr/share/libswe/ephe");
    for (double t = from;;) {
        int32 k = swe_sol_eclipse_when_glob(t, SEFLG_SWIEPH, 0, tret, 0, serr);
        if (k < 0 || tret[0] >= to + 1) break;
        int code = (k & SE_ECL_ANNULAR_TOTAL) ? 4
                   : (k & SE_ECL_TOTAL)       ? 1
                   : (k & SE_ECL_ANNULAR)     ? 2
                                              : 3;
        double s = Syzygy(tret[0], 0);
        if (s >= from && s < to) printf("1 %d %.8f %.8f\n", code, s, tret[0]);
        t = tret[0] + 20;
    }
    for (double t = from;;) {
        int32 k = swe_lun_eclipse_when(t, SEFLG_SWIEPH, 0, tret, 0, serr);
        if (k < 0 || tret[0] >= to + 1) break;
        int code = (k & SE_ECL_TOTAL) ? 1 : (k & SE_ECL_PARTIAL) ? 3 : 6;
        double s = Syzygy(tret[0], 1);
        if (s >= from && s < to) printf("2 %d %.8f %.8f\n", code, s, tret[0]);
        t = tret[0] + 20;
    }
    (void)attr;
    swe_close();
    return 0;
}
