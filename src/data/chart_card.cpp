#include "data/chart_card.h"

#include <charconv>
#include <cmath>

#include "platform/codepage.h"
#include "platform/format.h"

namespace orbeta {
namespace {

std::string_view Trimmed(std::string_view s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

int LeadingInt(std::string_view s) {
    double v = CardNumber(s);
    if (!(v > -1e9)) return -1000000000;
    return v > 1e9 ? 1000000000 : static_cast<int>(v);
}

// Hours as a fraction of a day from "HH:MM:SS"; missing parts are 0.
double TimeFraction(std::string_view text) {
    int parts[3] = {0, 0, 0};
    for (int i = 0; i < 3 && !text.empty(); ++i) {
        size_t colon = text.find(':');
        parts[i] = LeadingInt(text.substr(0, colon));
        text = colon == std::string_view::npos ? std::string_view{} : text.substr(colon + 1);
    }
    return (parts[0] + parts[1] / 60.0 + parts[2] / 3600.0) / 24.0;
}

}  // namespace

bool IsOemCardField(int field) {
    return field == kCardName || field == kCardPlace || field == kCardComment;
}

double CardNumber(std::string_view text) {
    text = Trimmed(text);
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    double v = 0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc() || !std::isfinite(v)) return 0;
    return v;
}

std::string CardText(const BaseRecord& card, int field) {
    const std::string& stored = card.Field(field);
    return IsOemCardField(field) ? OemToAnsi(stored) : stored;
}

void SetCardText(BaseRecord& card, int field, std::string_view text) {
    if (IsOemCardField(field))
        card.SetField(field, AnsiToOem(text.substr(0, kCardTextLength)));
    else
        card.SetField(field, text);
}

BaseRecord CardOfChart(const ChartRecord& chart) {
    BaseRecord card;
    SetCardText(card, kCardName, chart.name);
    std::string moment = DateTimeText(chart.jdLocal);
    size_t blank = moment.find(' ');
    card.SetField(kCardDate, moment.substr(0, blank));
    card.SetField(kCardTime, moment.substr(blank + 1));
    card.SetField(kCardLatitude, Format("%.2f", chart.latitude));
    card.SetField(kCardLongitude, Format("%.2f", chart.longitude));
    SetCardText(card, kCardPlace, chart.place);
    card.SetField(kCardGmt, Format("%.2f", chart.gmtCorr * 24.0));
    SetCardText(card, kCardComment, chart.comment);
    return card;
}

BaseRecord CardOfInput(const CardInput& in) {
    BaseRecord card;
    SetCardText(card, kCardName, in.name);
    card.SetField(kCardDate, Format("%02d.%02d.%04d", in.local.day, in.local.month, in.local.year));
    card.SetField(kCardTime,
                  Format("%02d:%02d:%02d", in.local.hour, in.local.minute, in.local.second));
    card.SetField(kCardLatitude, Trimmed(in.latitude));
    card.SetField(kCardLongitude, Trimmed(in.longitude));
    SetCardText(card, kCardPlace, in.place);
    card.SetField(kCardGmt, Trimmed(in.gmt));
    SetCardText(card, kCardComment, in.comment);
    return card;
}

ChartRecord ChartOfCard(const BaseRecord& card, const ChartRecord& current, int houseSystem) {
    ChartRecord c;
    c.jdLocal = JulianDayOfDateText(card.Field(kCardDate)) + TimeFraction(card.Field(kCardTime));
    c.gmtCorr = card.Has(kCardGmt) ? CardNumber(card.Field(kCardGmt)) / 24.0 : 0.0;
    c.jdUT = c.jdLocal + c.gmtCorr;
    c.jdCalc = c.jdUT;
    c.latitude = card.Has(kCardLatitude) ? CardNumber(card.Field(kCardLatitude)) : current.latitude;
    c.longitude =
        card.Has(kCardLongitude) ? CardNumber(card.Field(kCardLongitude)) : current.longitude;
    CopyText(c.name, CardText(card, kCardName), 28);
    CopyText(c.place, CardText(card, kCardPlace), 28);
    CopyText(c.comment, CardText(card, kCardComment), 28);
    c.houseSystem = static_cast<int16_t>(houseSystem);
    c.calcMethod = 1;
    return c;
}

std::string CardListLine(const BaseRecord& card) {
    return Format("%s  %s %s %s", CardText(card, kCardName).c_str(), card.Field(kCardDate).c_str(),
                  card.Field(kCardTime).c_str(), CardText(card, kCardPlace).c_str());
}

}  // namespace orbeta
