#include "forecast/time_search.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <complex>

#include "core/angles.h"
#include "core/chart_compute.h"
#include "core/ephemeris.h"
#include "platform/services.h"

namespace orbeta {

Cubic FitCubic(double h, const double y[4]) {
    double d0 = y[0] - y[1], d2 = y[2] - y[1], d3 = y[3] - y[1];
    Cubic p;
    p.c[0] = y[1];
    p.c[1] = (6 * d2 - d3 - 2 * d0) / (6 * h);
    p.c[2] = (d2 + d0) / (2 * h * h);
    p.c[3] = (d3 - 3 * d2 - d0) / (6 * h * h * h);
    return p;
}

namespace {

using Complex = std::complex<double>;

Complex ComplexCbrt(Complex z) {
    if (std::abs(z) < 1e-20) return 0.0;
    if (z.real() < 0) return -ComplexCbrt(-z);
    return std::polar(std::cbrt(std::abs(z)), std::arg(z) / 3.0);
}

}  // namespace

int SolveCubic(const double c[4], double roots[3]) {
    double B = c[2] / c[3], C = c[1] / c[3], D = c[0] / c[3];
    double p = C - B * B / 3;
    double q = 2 * B * B * B / 27 - B * C / 3 + D;
    double Q = q * q / 4 + p * p * p / 27;
    int n = 0;
    if (std::fabs(Q) > 1e-5) {
        Complex sq = std::sqrt(Complex(Q, 0.0));
        Complex u = ComplexCbrt(-q / 2 + sq), v = ComplexCbrt(-q / 2 - sq);
        roots[n++] = (u + v).real();
        if (Q < 0) {
            Complex s = -(u + v) / 2.0, w = (std::sqrt(3.0) / 2.0) * (u - v);
            roots[n++] = s.real() - w.imag();
            roots[n++] = s.real() + w.imag();
        }
    } else {
        double r = std::cbrt(-q / 2);
        roots[n++] = 2 * r;
        if (std::fabs(-r - 2 * r) > 1e-5) roots[n++] = -r;
    }
    for (int i = 0; i < n; ++i) roots[i] -= B / 3;
    return n;
}

int FindRoots(double target, double h, const double y[4], double roots[3]) {
    Cubic p = FitCubic(h, y);
    int n = 0;
    if (p.c[3] != 0) {
        double c[4] = {p.c[0] - target, p.c[1], p.c[2], p.c[3]};
        double all[3];
        int m = SolveCubic(c, all);
        double lo = h > 0 ? -1e-5 : h - 1e-5, hi = h > 0 ? h + 1e-5 : 1e-5;
        for (int i = 0; i < m; ++i)
            if (all[i] >= lo && all[i] <= hi && std::fabs(p.At(all[i]) - target) <= 1e-5)
                roots[n++] = all[i];
        std::sort(roots, roots + n);
    }
    if (n == 0) {
        double e0 = y[1] - target, e1 = y[2] - target;
        if (e0 * e1 > 0) return 0;
        roots[n++] = e1 == e0 ? h / 2 : -e0 * h / (e1 - e0);
    }
    return n;
}

void CubicRange(const Cubic& cubic, double h, double& lo, double& hi) {
    lo = std::min(cubic.At(-1e-5), cubic.At(h + 1e-5));
    hi = std::max(cubic.At(-1e-5), cubic.At(h + 1e-5));
    double a = 3 * cubic.c[3], b = 2 * cubic.c[2], c = cubic.c[1];
    double xs[2];
    int m = 0;
    if (a != 0) {
        double disc = b * b - 4 * a * c;
        if (disc >= 0) {
            double s = std::sqrt(disc);
            xs[m++] = (-b - s) / (2 * a);
            xs[m++] = (-b + s) / (2 * a);
        }
    } else if (b != 0) {
        xs[m++] = -c / b;
    }
    for (int i = 0; i < m; ++i)
        if (xs[i] > 0 && xs[i] < h) {
            lo = std::min(lo, cubic.At(xs[i]));
            hi = std::max(hi, cubic.At(xs[i]));
        }
    lo -= 2e-5;
    hi += 2e-5;
}

PointSampler::PointSampler(Computation& c, const ChartRecord& base, int method)
    : base_(base), c_(c), work_(base), method_(method), scattered_(c) {}

void PointSampler::SetNeeded(uint32_t mask) {
    needed_ = mask;
}

// The one place where the search computes a chart. Every moment the method computes
// from is set: a nodal chart reads its bodies at jdCalc.
void PointSampler::ComputeAt(double t) {
    if (computed_ && work_.jdUT == t) return;
    work_ = base_;
    work_.jdUT = t;
    work_.jdLocal = t - base_.gmtCorr;
    work_.jdCalc = CalculationMoment(method_, t, base_);
    ComputeChart(c_, work_, base_, method_);
    computed_ = true;
    ++evaluations_;
}

double PointSampler::Longitude(int pointId, double t) {
    return Position(pointId, t, false, nullptr);
}

double PointSampler::Longitude(int pointId, double t, double* speed) {
    return Position(pointId, t, true, speed);
}

double PointSampler::Position(int pointId, double t, bool withSpeed, double* speed) {
    if (Direct(pointId)) {
        ++evaluations_;
        // As the chart computes its bodies: at the progressed moment, the rate per day
        // of life.
        double moment = method_ == 1 ? t : CalculationMoment(method_, t, base_);
        BodyPosition p = scattered_.At(moment, pointId, withSpeed);
        if (speed) *speed = method_ == 1 ? p.speed : p.speed / ProgressionFactor(method_);
        return p.lon;
    }
    ComputeAt(t);
    if (speed) *speed = std::nan("");
    return PointLongitude(work_, pointId);
}

void PointSampler::Sample(double t, double lon[kPointCount + 1]) {
    bool direct = method_ == 1 && (needed_ >> kBodyCount) == 0;
    if (!direct) ComputeAt(t);
    for (int p = 1; p <= kPointCount; ++p) {
        if (!(needed_ & (1u << (p - 1)))) continue;
        if (direct) ++evaluations_;
        // Samples need no rates: the longitude alone costs less.
        lon[p] = direct ? CalcLongitude(c_, t, p) : PointLongitude(work_, p);
    }
    if (method_ == 1 && needed_) scattered_.Prime(t);
}

std::string CheckSearchRequest(const SearchRequest& r) {
    if (!(r.step > 0) || !std::isfinite(r.step)) return "Шаг должен быть больше нуля";
    if (!std::isfinite(r.start) || !std::isfinite(r.end) || r.start < 0 || r.end < 0)
        return "Неверная дата";
    if (r.end < r.start) return "Конец периода раньше его начала";
    if ((r.end - r.start) / r.step >= INT_MAX) return "Слишком много шагов: увеличьте шаг";
    return {};
}

bool MayMeetTarget(const std::vector<double>& targetsInTurn, double lo, double hi) {
    if (targetsInTurn.empty()) return false;
    if (!(hi - lo < 359)) return true;
    double x = lo - 360 * std::floor(lo / 360) - 1e-6, y = x + (hi - lo) + 2e-6;
    auto it = std::lower_bound(targetsInTurn.begin(), targetsInTurn.end(), x);
    return (it != targetsInTurn.end() && *it <= y) || targetsInTurn.front() + 360 <= y ||
           targetsInTurn.back() - 360 >= x;
}

namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr double kSameMoment = 1e-5;

bool SameEvent(const HitRecord& x, const HitRecord& y) {
    return x.a == y.a && x.b == y.b && x.type == y.type && x.aspect == y.aspect &&
           x.fixedLongitude == y.fixedLongitude;
}

bool StartsEarlier(const HitRecord& x, const HitRecord& y) {
    if (x.start != y.start) return x.start < y.start;
    return x.a > y.a;
}

class Search {
  public:
    Search(Computation& c, const SearchRequest& rq, const ChartRecord& base, HitFileWriter& out,
           SearchOptions opt)
        : rq_(rq), out_(out), opt_(opt), sampler_(c, base, rq.calcMethod), h_(rq.step) {
        uint32_t needed = 0;
        for (const auto& p : rq.pairs) {
            needed |= Bit(p.a);
            if (rq.bothMoving == 0) needed |= Bit(p.b);
        }
        sampler_.SetNeeded(needed);
        maxShift_ = std::max(0.01, 0.05 * h_);
        // Where the targets fall within a turn, and each pair's widest orb: most pairs
        // meet none in a step, and the quick test spares them the angles.
        targetsInTurn_.push_back(0.0);
        for (double a : rq.aspects) {
            quickTest_ = quickTest_ && std::fabs(a) <= 360;
            for (double t : {a, -a})
                targetsInTurn_.push_back(std::max(0.0, t - 360 * std::floor(t / 360)));
        }
        std::sort(targetsInTurn_.begin(), targetsInTurn_.end());
        for (const auto& p : rq.pairs) {
            double widest = 0;
            int count = p.type >= 3 && p.type <= 5 ? 1 : static_cast<int>(rq.aspects.size());
            for (int i = 0; !rq.exactMode && i < count; ++i) {
                double orb = std::fabs(OrbOf(p, i));
                widest = std::isnan(orb) ? HUGE_VAL : std::max(widest, orb);  // no test then
            }
            widestOrb_.push_back(widest);
        }
    }

    SearchResult Run() {
        for (int k = 0; k < 4; ++k) sampler_.Sample(rq_.start + (k - 1) * h_, S_[k]);
        double total = std::floor((rq_.end - rq_.start) / h_);
        StartProgress(static_cast<int>(std::min(total, double(INT_MAX))));
        for (long n = 0;; ++n) {
            t_ = rq_.start + n * h_;
            if (!(t_ < rq_.end)) break;
            StepProgress(1);
            if (ProgressAborted()) {
                result_.aborted = true;
                break;
            }
            // The next step's sample first: the refinements of this step then find the
            // daily nutation values they interpolate already taken at the samples.
            double next[kPointCount + 1] = {};
            sampler_.Sample(t_ + 3 * h_, next);
            Unwrap();
            for (size_t i = 0; i < rq_.pairs.size(); ++i) EvaluatePair(rq_.pairs[i], widestOrb_[i]);
            if (rq_.exactMode)
                WriteExact();
            else
                MergeOrb();
            hits_.clear();
            for (int k = 0; k < 3; ++k) std::copy(S_[k + 1], S_[k + 1] + kPointCount + 1, S_[k]);
            std::copy(next, next + kPointCount + 1, S_[3]);
            ++result_.steps;
        }
        EndProgress();
        result_.evaluations = sampler_.Evaluations();
        return result_;
    }

  private:
    static uint32_t Bit(int p) { return p >= 1 && p <= kPointCount ? 1u << (p - 1) : 0; }

    void Unwrap() {
        for (int p = 1; p <= kPointCount; ++p) {
            double shift = 0;
            U_[0][p] = S_[0][p];
            for (int k = 1; k < 4; ++k) {
                if (S_[k][p] < 90 && S_[k - 1][p] > 270) shift += 360;
                if (S_[k][p] > 270 && S_[k - 1][p] < 90) shift -= 360;
                U_[k][p] = S_[k][p] + shift;
            }
        }
    }

    // How far the real difference is from the target at t, with its daily rate when
    // the ephemeris gives it (NaN otherwise).
    double Gap(const SearchPair& p, double target, double t, double& rate) {
        double sa = 0, sb = 0;
        double la = sampler_.Longitude(p.a, t, &sa);
        double lb = rq_.bothMoving == 0 ? sampler_.Longitude(p.b, t, &sb) : p.fixedLongitude;
        rate = sa - sb;
        return Difference(la - lb, target);
    }

    // Brings a crossing of the target onto the real positions: Newton steps on the real
    // rate (secant steps from the cubic's slope where there is none) until what is left
    // is below 0.05 s. False when the real positions deny the crossing.
    bool Refine(const SearchPair& p, double target, double slope, double curvature,
                double& moment) {
        double t0 = moment, tk = moment, tPrev = 0, gPrev = 0;
        for (int i = 0; i < 8; ++i) {
            double rate;
            double gk = Gap(p, target, tk, rate);
            bool real = std::isfinite(rate) && std::fabs(rate) > 1e-9;
            if (real)
                slope = rate;
            else if (i > 0 && tk != tPrev)
                slope = (gk - gPrev) / (tk - tPrev);
            if (!(std::fabs(slope) > 1e-12)) return false;
            double corr = -gk / slope, tn = tk + corr;
            if (!(std::fabs(tn - t0) <= maxShift_)) return false;
            // After a Newton step on the real rate the error left is of the order of
            // corr^2 curvature / (2 rate): usually one evaluation is enough.
            double left = real ? corr * corr * std::fabs(curvature) / (2 * std::fabs(slope))
                               : std::fabs(corr);
            if (std::fabs(corr) < 0.05 * kSecond || left < 0.005 * kSecond) {
                moment = tn;
                return true;
            }
            tPrev = tk;
            gPrev = gk;
            tk = tn;
        }
        return false;
    }

    HitRecord BaseHit(const SearchPair& p, double angle) const {
        HitRecord hit;
        hit.calcMethod = static_cast<uint8_t>(rq_.calcMethod & 0xff);
        hit.a = p.a;
        hit.b = p.b;
        hit.type = p.type;
        hit.aspect = std::fabs(angle);
        hit.fixedLongitude = p.fixedLongitude;
        return hit;
    }

    double OrbOf(const SearchPair& p, int i) const {
        double orb = 0;
        if (p.type >= 3 && p.type <= 5) {
            orb = p.ownOrb;
        } else if (rq_.orbTable && i < static_cast<int>(rq_.orbTable->aspects.size())) {
            const auto& asp = rq_.orbTable->aspects[static_cast<size_t>(i)];
            orb = asp.Orb(p.a);
            if (p.type == 0) orb = std::max(orb, double(asp.Orb(p.b)));
        }
        return orb == 0 ? 1e-8 : orb;
    }

    void EvaluatePair(const SearchPair& p, double widestOrb) {
        double d[4];
        for (int k = 0; k < 4; ++k)
            d[k] = U_[k][p.a] - (rq_.bothMoving == 0 ? U_[k][p.b] : p.fixedLongitude);
        double mn = 0, mx = 0, dmin = d[0], dmax = d[0];
        for (double v : d) {
            mn = std::min(mn, v);
            mx = std::max(mx, v);
            dmin = std::min(dmin, v);
            dmax = std::max(dmax, v);
        }
        // A difference that does not move (a cusp and its opposite) has no exact moment.
        bool flat = dmax - dmin <= 1e-9;
        if (flat && rq_.exactMode) return;
        int hi = static_cast<int>(std::ceil(mx / 360)), lo = static_cast<int>(std::floor(mn / 360));
        Cubic cubic = FitCubic(h_, d);
        double rmin, rmax;
        CubicRange(cubic, h_, rmin, rmax);
        if (quickTest_ && !MayMeetTarget(targetsInTurn_, rmin - widestOrb, rmax + widestOrb))
            return;
        int count = p.type >= 3 && p.type <= 5 ? 1 : static_cast<int>(rq_.aspects.size());
        for (int i = 0; i < count; ++i) {
            double angle = p.type >= 3 && p.type <= 5 ? 0.0 : rq_.aspects[static_cast<size_t>(i)];
            int signs = angle == 0 || angle == 180 ? 1 : 2;
            double orb = rq_.exactMode ? 0 : OrbOf(p, i);
            for (int s = 0; s < signs; ++s) {
                double signed_ = s == 0 ? angle : -angle;
                for (int n = lo; n <= hi; ++n) {
                    double target = 360.0 * n + signed_;
                    if (!(mn - 90 <= target && target <= mx + 90 && std::fabs(d[1] - target) <= 90))
                        continue;
                    if (target + orb < rmin || target - orb > rmax) continue;
                    if (rq_.exactMode) {
                        if (!flat) ExactHits(p, angle, target, d, cubic);
                    } else {
                        OrbHits(p, angle, target, orb, d, cubic, flat, rmin, rmax);
                    }
                }
            }
        }
    }

    void ExactHits(const SearchPair& p, double angle, double target, const double d[4],
                   const Cubic& cubic) {
        double x[3];
        int m = FindRoots(target, h_, d, x);
        for (int i = 0; i < m; ++i) {
            double moment = t_ + x[i];
            if (opt_.refine &&
                !Refine(p, target, cubic.Slope(x[i]), cubic.Curvature(x[i]), moment)) {
                ++result_.denied;
                continue;
            }
            HitRecord hit = BaseHit(p, angle);
            hit.start = hit.end = moment;
            hits_.push_back(hit);
        }
    }

    void OrbHits(const SearchPair& p, double angle, double target, double orb, const double d[4],
                 const Cubic& cubic, bool flat, double rmin, double rmax) {
        // A value outside the cubic's range over the step (margins included) has no
        // root FindRoots would accept, and its ends lie on one side: it needs no solving.
        auto roots = [&](double value, double out[3]) {
            return value < rmin || value > rmax ? 0 : FindRoots(value, h_, d, out);
        };
        double l[3], r[3], e[3];
        int nl = roots(target - orb, l), nr = roots(target + orb, r);
        int ne = flat ? 0 : roots(target, e);
        // Boundaries within the step, with the target each crossing belongs to.
        struct Cut {
            double x;
            double target;
        };
        Cut cuts[8];
        size_t count = 0;
        cuts[count++] = {0.0, 0.0};
        for (int i = 0; i < nl; ++i) cuts[count++] = {std::clamp(l[i], 0.0, h_), target - orb};
        for (int i = 0; i < nr; ++i) cuts[count++] = {std::clamp(r[i], 0.0, h_), target + orb};
        cuts[count++] = {h_, 0.0};
        std::stable_sort(cuts, cuts + count, [](const Cut& x, const Cut& y) { return x.x < y.x; });
        double exact[3];
        int exactCount = 0;
        for (int i = 0; i < ne; ++i) {
            double moment = t_ + e[i];
            if (opt_.refine &&
                !Refine(p, target, cubic.Slope(e[i]), cubic.Curvature(e[i]), moment)) {
                ++result_.denied;
                continue;
            }
            exact[exactCount++] = moment;
        }
        size_t i = 0;
        while (i + 1 < count) {
            auto inside = [&](size_t k) {
                double v = cubic.At((cuts[k].x + cuts[k + 1].x) / 2);
                return v >= target - orb && v <= target + orb;
            };
            if (!inside(i)) {
                ++i;
                continue;
            }
            size_t j = i;
            while (j + 1 < count - 1 && inside(j + 1)) ++j;
            Cut first = cuts[i], last = cuts[j + 1];
            i = j + 1;
            if (!(last.x > first.x)) continue;
            HitRecord hit = BaseHit(p, angle);
            hit.orb = orb;
            hit.start = t_ + first.x;
            hit.end = t_ + last.x;
            if (std::fabs(hit.start - t_) <= kSameMoment) hit.flags |= kHitBeginsAtStep;
            if (std::fabs(hit.end - (t_ + h_)) <= kSameMoment) hit.flags |= kHitEndsAtStep;
            // Entries and exits go onto the real positions; step boundaries stay.
            if (opt_.refine && !(hit.flags & kHitBeginsAtStep) && first.x > 0)
                Refine(p, first.target, cubic.Slope(first.x), cubic.Curvature(first.x), hit.start);
            if (opt_.refine && !(hit.flags & kHitEndsAtStep) && last.x < h_)
                Refine(p, last.target, cubic.Slope(last.x), cubic.Curvature(last.x), hit.end);
            // A crossing refined just past a step boundary still belongs to the period
            // that runs on across it.
            double lo = hit.start - (hit.flags & kHitBeginsAtStep ? maxShift_ : kSameMoment);
            double up = hit.end + (hit.flags & kHitEndsAtStep ? maxShift_ : kSameMoment);
            for (int k = 0; k < exactCount; ++k)
                if (exact[k] >= lo && exact[k] <= up && hit.exactCount < 3)
                    hit.exact[hit.exactCount++] = exact[k];
            hits_.push_back(hit);
        }
    }

    void WriteExact() {
        std::sort(hits_.begin(), hits_.end(), StartsEarlier);
        std::vector<HitRecord> written;
        for (auto& hit : hits_) {
            // A crossing at a step boundary is found by both steps: written once.
            auto same = [&](const HitRecord& o) {
                return SameEvent(o, hit) && std::fabs(o.start - hit.start) <= kSameMoment;
            };
            if (std::any_of(previous_.begin(), previous_.end(), same) ||
                std::any_of(written.begin(), written.end(), same))
                continue;
            out_.Append(hit);
            ++result_.written;
            written.push_back(hit);
        }
        previous_ = std::move(written);
    }

    static void AddExact(HitRecord& o, double m) {
        for (int k = 0; k < o.exactCount; ++k)
            if (std::fabs(o.exact[k] - m) <= kSameMoment) return;
        if (o.exactCount < 3) o.exact[o.exactCount++] = m;
    }

    void MergeOrb() {
        std::vector<HitRecord> fresh;
        for (auto& r : hits_) {
            if (!(r.flags & kHitBeginsAtStep)) {
                fresh.push_back(r);
                continue;
            }
            // Continuations match the whole event: the forecast searches pairs of
            // several types with equal points and angle together.
            auto it = std::find_if(pending_.rbegin(), pending_.rend(), [&](const HitRecord& o) {
                return SameEvent(o, r) && std::fabs(o.end - r.start) <= kSameMoment;
            });
            if (it == pending_.rend()) {
                fresh.push_back(r);
                continue;
            }
            it->end = r.end;
            it->flags = r.flags;
            for (int k = 0; k < r.exactCount; ++k) AddExact(*it, r.exact[k]);
            out_.Rewrite(*it);
            if (!(r.flags & kHitEndsAtStep)) pending_.erase(std::next(it).base());
        }
        std::sort(fresh.begin(), fresh.end(), StartsEarlier);
        for (auto& r : fresh) {
            out_.Append(r);
            ++result_.written;
            if (r.flags & kHitEndsAtStep) pending_.push_back(r);
        }
        // Periods that did not run on into this step are closed.
        double stepEnd = t_ + h_;
        std::erase_if(pending_,
                      [&](const HitRecord& o) { return std::fabs(o.end - stepEnd) > kSameMoment; });
    }

    const SearchRequest& rq_;
    HitFileWriter& out_;
    SearchOptions opt_;
    PointSampler sampler_;
    double h_;
    double t_ = 0;
    double maxShift_ = 0.01;
    double S_[4][kPointCount + 1] = {};
    double U_[4][kPointCount + 1] = {};
    std::vector<HitRecord> hits_, pending_, previous_;
    std::vector<double> targetsInTurn_;  // ascending, 0 <= x < 360
    std::vector<double> widestOrb_;      // by pair
    bool quickTest_ = true;
    SearchResult result_;
};

}  // namespace

SearchResult RunSearch(Computation& c, const SearchRequest& request, const ChartRecord& base,
                       HitFileWriter& out, SearchOptions options) {
    if (!CheckSearchRequest(request).empty()) return {};
    return Search(c, request, base, out, options).Run();
}

}  // namespace orbeta
