// Cost of a year's forecast (2025) for the Moscow chart of 16.05.1945 with the shipped
// choice of points and methods, texts and house links on, eclipses off, against its
// floor in the same run: the 368 charts of the transit search (method 1) and the 368
// of the progression search (method 6). The ratio and the record count are printed
// first; the same with the transit Moon for information.
// December 2026, 2 quiet cores, processor time: 95 ms against a floor of 56 ms, 1.70x
// (482 records; the searches 81 ms, the entries with their links 13 ms, the report with
// its texts 2 ms); with the transit Moon 3.0x (1,925 records). Before single positions
// took the nutation from daily values and orb limits outside a step's range were no
// longer solved for, the same year took 2.25x; before the hit file was kept in memory
// until closed, 5.1x.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>

#include "aspects/orb_file.h"
#include "core/calendar.h"
#include "core/chart_compute.h"
#include "core/ephemeris.h"
#include "core/houses.h"
#include "forecast/forecast_text.h"
#include "interp/text_report.h"
#include "moscow_chart.h"
#include "platform/codepage.h"
#include "platform/report.h"

namespace {

using namespace orbeta;

Computation& Bench() {
    static Computation c;
    return c;
}

ChartRecord Natal() {
    return bench::MoscowChart(Bench(), {16, 5, 1945, 5, 0, 0});
}

ForecastRequest Request(const ChartRecord& natal, bool transitMoon) {
    ForecastRequest rq;
    rq.start = JulianDay({1, 1, 2025, 0, 0, 0});
    rq.end = JulianDay({1, 1, 2026, 0, 0, 0});
    rq.correction = natal.gmtCorr;
    rq.masks = kShippedForecastMasks;
    rq.masks.methods &= ~(1u << kForecastEclipses);
    if (transitMoon) rq.masks.transit |= 1u << (MON - 1);
    rq.options = kForecastWithTexts | kForecastHouseLinks;
    std::string data = ORBETA_SOURCE_DIR "/data/";
    rq.transitOrbs = LoadOrbTable(data + "tr.ao", data + "0.ao", false);
    rq.progressionOrbs = LoadOrbTable(data + "pr.ao", data + "0.ao", false);
    rq.directionOrbs = LoadOrbTable(data + "dir.ao", data + "0.ao", false);
    return rq;
}

// A text base with a short block under every key the run can look up.
void MakeTextBase(const ForecastRequest& rq) {
    auto angles = [](const OrbTable& t) {
        std::vector<double> a;
        for (const auto& x : t.aspects) a.push_back(x.angle);
        return a;
    };
    std::ofstream out("gnoz.csr", std::ios::binary);
    for (const auto& key : ForecastKeys(rq.masks, angles(rq.transitOrbs),
                                        angles(rq.progressionOrbs), angles(rq.directionOrbs)))
        out << "@" << key << "\n" << Utf8ToOem(" Текст прогноза под ключом " + key + ".") << "\n";
}

void Open() {
    static bool done = [] {
        std::ofstream("dirswe.ctl") << "/usr/share/libswe/ephe/\n";
        OpenEphemeris();
        ChartRecord natal = Natal();
        MakeTextBase(Request(natal, true));
        OpenTextBase("gnoz");
        return true;
    }();
    (void)done;
}

// The whole report into a report file, which is then dropped; the records written.
size_t Forecast(bool transitMoon) {
    ChartRecord natal = Natal();
    ForecastRequest rq = Request(natal, transitMoon);
    BeginReport("forecast_bench");
    ForecastRun run = RunForecast(Bench(), rq, natal, "forecast_bench.tmp");
    auto entries = ForecastEntries(Bench(), natal, rq, run.records, 0);
    WriteForecastReport(Bench(), rq, run, entries, [](const std::string& key) {
        if (!FindText(key)) return false;
        PrintTextF("%s", key.c_str());
        return true;
    });
    DiscardReport();
    std::remove("forecast_bench.tmp");
    return entries.size();
}

// The floor: the charts the two searches cannot do without.
void Floor() {
    ChartRecord natal = Natal();
    double start = JulianDay({1, 1, 2025, 0, 0, 0}) + natal.gmtCorr - 1;
    for (int method : {kNatal, kSecondary}) {
        ChartRecord c = natal;
        for (int d = 0; d < 368; ++d) {
            c.jdUT = start + d;
            c.jdCalc = CalculationMoment(method, c.jdUT, natal);
            ComputeChart(Bench(), c, natal, method);
            benchmark::DoNotOptimize(c.lon[1]);
        }
    }
}

double BestSeconds(const std::function<void()>& f, int runs) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        // Processor time: the machine is shared, the wall clock says little.
        std::clock_t t0 = std::clock();
        f();
        best = std::min(best, static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC);
    }
    return best;
}

void BM_ForecastYear(benchmark::State& state) {
    Open();
    size_t records = 0;
    for (auto _ : state) records = Forecast(state.range(0) != 0);
    state.counters["records"] = static_cast<double>(records);
}
BENCHMARK(BM_ForecastYear)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Floor(benchmark::State& state) {
    Open();
    for (auto _ : state) Floor();
}
BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    Open();
    size_t records = 0, withMoon = 0;
    double floor = BestSeconds(Floor, 5);
    double forecast = BestSeconds([&] { records = Forecast(false); }, 5);
    double moon = BestSeconds([&] { withMoon = Forecast(true); }, 3);
    std::printf("forecast %.1f ms CPU, floor %.1f ms: %.2fx the floor (goal 2.0x), %zu records\n",
                forecast * 1e3, floor * 1e3, forecast / floor, records);
    std::printf("with the transit Moon: %.1f ms, %.2fx the floor, %zu records\n", moon * 1e3,
                moon / floor, withMoon);
    {
        // Where the time goes: the searches and the closed forms, the entries with
        // their house links, the report with its texts.
        ChartRecord natal = Natal();
        ForecastRequest rq = Request(natal, false);
        ForecastRun run;
        std::vector<ForecastEntry> entries;
        double t1 =
            BestSeconds([&] { run = RunForecast(Bench(), rq, natal, "forecast_bench.tmp"); }, 3);
        double t2 =
            BestSeconds([&] { entries = ForecastEntries(Bench(), natal, rq, run.records, 0); }, 3);
        double t3 = BestSeconds(
            [&] {
                BeginReport("forecast_bench");
                WriteForecastReport(Bench(), rq, run, entries, [](const std::string& key) {
                    if (!FindText(key)) return false;
                    PrintTextF("%s", key.c_str());
                    return true;
                });
                DiscardReport();
            },
            3);
        std::remove("forecast_bench.tmp");
        std::printf(
            "run %.1f ms (transits %d records, progressions %d), entries %.1f ms, report %.1f ms\n",
            t1 * 1e3, run.transits.written, run.progressions.written, t2 * 1e3, t3 * 1e3);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
