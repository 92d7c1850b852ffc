// The shipped popa.ctl against the system's time-zone database: fixed values taken
// from Python's zoneinfo, and zdump run live over whole zone histories.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

#include "../support/test_support.h"
#include "core/calendar.h"
#include "data/town_correction.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

class ZoneHistory : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        auto ctl = ReadPopaCtl(std::string(ORBETA_SOURCE_DIR) + "/data/towns/popa.ctl");
        ASSERT_TRUE(ctl);
        popa = new PopaCtl(std::move(*ctl));
    }
    static void TearDownTestSuite() { delete popa; }

    static TownCard CardOf(const std::string& zone) {
        TownCard card;
        for (const auto& line : *popa->Find("Zones"))
            if (line.size() == 2 && line[1] == zone) card.zoneCode = line[0];
        card.dstSection = zone;
        return card;
    }
    static double Correction(const std::string& zone, double localJd) {
        auto card = CardOf(zone);
        EXPECT_FALSE(card.zoneCode.empty()) << zone << " is not in popa.ctl";
        return TownCorrection(localJd, card, popa);
    }
    static PopaCtl* popa;
};
PopaCtl* ZoneHistory::popa = nullptr;

TEST_F(ZoneHistory, AgreesWithZoneinfo) {
    struct Case {
        const char* zone;
        const char* local;
        double correction;
    } cases[] = {
        // Decree time, 21.06.1930
        {"Europe/Moscow", "15.06.1930 12:00", -2},
        {"Europe/Moscow", "22.06.1930 12:00", -3},
        {"Europe/Moscow", "15.01.1925 12:00", -2},
        {"Europe/Moscow", "15.07.1981 12:00", -4},
        {"Europe/Moscow", "15.01.1981 12:00", -3},
        {"Europe/Moscow", "01.10.1981 12:00", -3},
        // 1991: summer time on the old standard time, then winter time without decree
        {"Europe/Moscow", "15.05.1991 12:00", -3},
        {"Europe/Moscow", "15.11.1991 12:00", -2},
        {"Europe/Moscow", "25.01.1992 12:00", -3},
        // 2011 permanent summer time, 2014 back to +3
        {"Europe/Moscow", "15.07.2010 12:00", -4},
        {"Europe/Moscow", "15.01.2012 12:00", -4},
        {"Europe/Moscow", "15.07.2013 12:00", -4},
        {"Europe/Moscow", "15.01.2015 12:00", -3},
        {"Europe/Moscow", "15.01.2020 12:00", -3},
        {"Europe/Moscow", "01.01.1900 12:00", -2.504722},  // local mean time of Moscow
        {"Europe/Samara", "15.01.1985 12:00", -4},
        {"Europe/Samara", "15.01.1990 12:00", -3},
        {"Europe/Samara", "15.01.1992 12:00", -4},
        {"Europe/Samara", "15.07.2010 12:00", -4},
        {"Europe/Samara", "15.01.2011 12:00", -3},
        {"Europe/Samara", "15.01.2012 12:00", -4},
        {"Europe/Samara", "15.01.2016 12:00", -4},
        {"Europe/Kaliningrad", "15.01.1940 12:00", -1},
        {"Europe/Kaliningrad", "15.01.1946 12:00", -2},
        {"Europe/Kaliningrad", "15.07.1946 12:00", -3},
        {"Europe/Kaliningrad", "15.01.1990 12:00", -2},
        {"Europe/Kaliningrad", "15.01.2012 12:00", -3},
        {"Europe/Kaliningrad", "15.07.2012 12:00", -3},
        {"Europe/Kaliningrad", "15.01.2015 12:00", -2},
        // Kyiv under occupation, 1941–43
        {"Europe/Kyiv", "15.06.1941 12:00", -3},
        {"Europe/Kyiv", "15.10.1941 12:00", -2},
        {"Europe/Kyiv", "15.01.1942 12:00", -2},
        {"Europe/Kyiv", "15.07.1942 12:00", -2},
        {"Europe/Kyiv", "15.01.1943 12:00", -1},
        {"Europe/Kyiv", "15.12.1943 12:00", -3},
        {"Europe/Kyiv", "15.01.2020 12:00", -2},
        {"Europe/Kyiv", "15.07.2020 12:00", -3},
        {"America/New_York", "15.01.2020 12:00", 5},
        {"America/New_York", "15.07.2020 12:00", 4},
        {"America/New_York", "15.07.1943 12:00", 4},  // war time
        {"America/New_York", "15.01.1974 12:00", 4},  // the winter of the energy crisis
        {"America/New_York", "01.01.1880 12:00", 4.933889},
        // Hours around the changes of 2020; the repeated hour reads as the earlier one
        {"America/New_York", "08.03.2020 01:30", 5},
        {"America/New_York", "08.03.2020 03:30", 4},
        {"America/New_York", "01.11.2020 00:30", 4},
        {"America/New_York", "01.11.2020 02:30", 5},
        {"America/Los_Angeles", "15.07.2039 12:00", 7},  // past the stored transitions
        {"America/Los_Angeles", "15.12.2039 12:00", 8},
        {"Australia/Sydney", "15.01.2020 12:00", -11},
        {"Australia/Sydney", "15.07.2020 12:00", -10},
        {"Australia/Perth", "15.01.2008 12:00", -9},
        {"Australia/Perth", "15.01.2010 12:00", -8},
        {"Australia/Adelaide", "15.01.2020 12:00", -10.5},
        {"Asia/Kolkata", "15.01.2020 12:00", -5.5},
        {"Asia/Kathmandu", "15.01.2020 12:00", -5.75},
        {"Europe/Dublin", "15.01.2020 12:00", 0},  // negative DST in winter
        {"Europe/Dublin", "15.07.2020 12:00", -1},
        {"Europe/London", "15.07.1944 12:00", -2},  // double summer time
        {"Asia/Novosibirsk", "15.01.2015 12:00", -6},
        {"Asia/Novosibirsk", "15.01.2017 12:00", -7},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(Correction(c.zone, JulianDayOfDateTimeText(std::string(c.local) + ":00")),
                    c.correction, 1e-5)
            << c.zone << " " << c.local;
}

// The instants of the changes themselves and a second either side, from Python's
// zoneinfo (fold 0: a skipped or repeated wall clock reads as the offset before).
TEST_F(ZoneHistory, BoundaryInstantsAgreeWithZoneinfo) {
    struct Case {
        const char* zone;
        const char* local;
        double correction;
    } cases[] = {
        {"Europe/London", "27.03.2011 01:59:59", 0},
        {"Europe/London", "27.03.2011 02:00:00", -1},
        {"Europe/London", "27.03.2011 02:00:01", -1},
        {"Europe/London", "30.10.2011 01:59:59", -1},
        {"Europe/London", "30.10.2011 02:00:00", 0},
        {"Europe/London", "30.10.2011 02:00:01", 0},
        {"America/New_York", "12.03.2023 02:59:59", 5},
        {"America/New_York", "12.03.2023 03:00:00", 4},
        {"America/New_York", "12.03.2023 03:00:01", 4},
        {"Europe/Moscow", "01.04.1981 00:59:59", -3},
        {"Europe/Moscow", "01.04.1981 01:00:00", -4},
        {"Europe/Moscow", "01.04.1981 01:00:01", -4},
        {"Europe/Moscow", "01.04.1984 00:59:59", -3},
        {"Europe/Moscow", "01.04.1984 01:00:00", -4},
        {"Europe/Moscow", "30.09.1984 02:59:59", -4},
        {"Europe/Moscow", "30.09.1984 03:00:00", -3},
        {"Europe/Moscow", "30.09.1984 03:00:01", -3},
        // a standard-time change and summer time at one instant: the total stays
        {"Europe/Moscow", "31.03.1991 01:59:59", -3},
        {"Europe/Moscow", "31.03.1991 02:00:00", -3},
        {"Australia/Sydney", "02.04.2023 02:59:59", -11},
        {"Australia/Sydney", "02.04.2023 03:00:00", -10},
        {"Australia/Sydney", "02.04.2023 03:00:01", -10},
        {"Australia/Sydney", "01.10.2023 02:59:59", -10},
        {"Australia/Sydney", "01.10.2023 03:00:00", -11},
        {"Australia/Sydney", "01.10.2023 03:00:01", -11},
    };
    for (const auto& c : cases) {
        double got = Correction(c.zone, JulianDayOfDateTimeText(c.local));
        EXPECT_NEAR(got, c.correction, 1e-9) << c.zone << " " << c.local;
        if (c.correction == 0) {
            EXPECT_FALSE(std::signbit(got)) << c.zone << " " << c.local;
        }
    }
}

// Changes of a zone as zdump lists them: the UTC moment and the offsets before and
// after, in seconds.
struct Change {
    double utc;
    long before, after;
};

std::vector<Change> ZdumpChanges(const std::string& zone) {
    auto r = test::RunCommand("zdump -v -c 1880,2041 " + zone);
    static const std::map<std::string, int> months = {
        {"Jan", 1}, {"Feb", 2}, {"Mar", 3}, {"Apr", 4},  {"May", 5},  {"Jun", 6},
        {"Jul", 7}, {"Aug", 8}, {"Sep", 9}, {"Oct", 10}, {"Nov", 11}, {"Dec", 12}};
    struct Row {
        double utc;
        long offset;
    };
    std::vector<Row> rows;
    std::istringstream in(r.out);
    std::string line;
    while (std::getline(in, line)) {
        // "Zone  Sat Mar 24 22:59:59 1990 UT = Sun Mar 25 01:59:59 1990 MSK isdst=0 gmtoff=10800"
        char wd[4], mon[4];
        int day, h, m, s, year;
        size_t gmt = line.find("gmtoff=");
        if (gmt == std::string::npos || line.find(" UT = ") == std::string::npos) continue;
        auto at = line.find_first_of(' ');
        at = line.find_first_not_of(' ', at);
        if (std::sscanf(line.c_str() + at, "%3s %3s %d %d:%d:%d %d", wd, mon, &day, &h, &m, &s,
                        &year) != 7)
            continue;
        DateParts p{day, months.at(mon), year, h, m, s};
        rows.push_back({JulianDay(p), std::stol(line.substr(gmt + 7))});
    }
    std::vector<Change> out;
    for (size_t k = 0; k + 1 < rows.size(); k += 2)
        out.push_back({rows[k + 1].utc, rows[k].offset, rows[k + 1].offset});
    return out;
}

// "2025b" from the first comment of popa.ctl or of the system's tzdata.zi.
std::string TzdataVersion(const std::string& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes) return "";
    auto at = bytes->find("tzdata ");
    if (at != std::string::npos) return bytes->substr(at + 7, bytes->find(')', at) - at - 7);
    at = bytes->find("# version ");
    return at == std::string::npos ? "" : bytes->substr(at + 10, bytes->find('\n', at) - at - 10);
}

TEST_F(ZoneHistory, AgreesWithZdumpAroundEveryChange) {
    if (!test::HaveProgram("zdump")) GTEST_SKIP() << "zdump is not installed";
    // popa.ctl is a snapshot: after a tzdata update it is regenerated, not compared.
    std::string ours = TzdataVersion(std::string(ORBETA_SOURCE_DIR) + "/data/towns/popa.ctl");
    std::string system = TzdataVersion("/usr/share/zoneinfo/tzdata.zi");
    ASSERT_FALSE(ours.empty());
    if (ours != system)
        GTEST_SKIP() << "popa.ctl is of tzdata " << ours << ", the system has " << system;
    const double minute = 1.0 / 1440, second = 1.0 / 86400;
    for (const char* zone :
         {"Europe/Moscow", "Europe/Kyiv", "Europe/Kaliningrad", "Europe/Samara",
          "Asia/Yekaterinburg", "Asia/Vladivostok", "Asia/Almaty", "Europe/Minsk", "Europe/Riga",
          "Europe/Dublin", "Europe/Berlin", "America/New_York", "America/Chicago",
          "America/Sao_Paulo", "Australia/Sydney", "Pacific/Auckland", "Asia/Tehran",
          "Africa/Casablanca"}) {
        auto changes = ZdumpChanges(zone);
        ASSERT_GT(changes.size(), 2u) << zone;
        int checked = 0;
        for (size_t i = 0; i < changes.size(); ++i) {
            const auto& c = changes[i];
            double early = c.utc + std::min(c.before, c.after) * second - minute;
            double late = c.utc + std::max(c.before, c.after) * second + minute;
            if (DatePartsOf(late).year > 2040) break;
            EXPECT_NEAR(Correction(zone, early), -c.before / 3600.0, 1e-5)
                << zone << " " << DateTimeText(early);
            EXPECT_NEAR(Correction(zone, late), -c.after / 3600.0, 1e-5)
                << zone << " " << DateTimeText(late);
            // The change itself on the later clock, and the second before it.
            double at = c.utc + std::max(c.before, c.after) * second;
            EXPECT_NEAR(Correction(zone, at), -c.after / 3600.0, 1e-5)
                << zone << " " << DateTimeText(at);
            EXPECT_NEAR(Correction(zone, at - second), -c.before / 3600.0, 1e-5)
                << zone << " " << DateTimeText(at - second);
            if (i + 1 < changes.size()) {
                double middle = (c.utc + changes[i + 1].utc) / 2 + c.after * second;
                EXPECT_NEAR(Correction(zone, middle), -c.after / 3600.0, 1e-5)
                    << zone << " " << DateTimeText(middle);
            }
            checked += 3;
        }
        EXPECT_GT(checked, 6) << zone;
    }
}

}  // namespace
}  // namespace orbeta
