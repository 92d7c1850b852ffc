#include "forecast/graph_settings.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

#include "platform/format.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

constexpr size_t kDateTextLength = 29;  // the dialogs' 30-character fields
constexpr size_t kYearTextLength = 5;   // 6-character fields

// A token of the old blank-separated form that is the time of the date before it.
bool IsTimeToken(const std::string& t) {
    if (t.empty() || t.find(':') == std::string::npos) return false;
    return std::all_of(t.begin(), t.end(),
                       [](unsigned char c) { return std::isdigit(c) || c == ':'; });
}

// The fields of a string: quoted tokens as they stand; in the old form a date followed
// by its time is one field.
class Fields {
  public:
    // A string with quotes is of the quoted form, where a text is always one token.
    explicit Fields(const std::string& text)
        : tokens_(SplitTokens(text)), oldForm_(text.find('"') == std::string::npos) {}

    std::string Text(size_t limit) {
        if (next_ >= tokens_.size()) return {};
        std::string t = tokens_[next_++];
        if (oldForm_ && next_ < tokens_.size() && IsTimeToken(tokens_[next_]))
            t += " " + tokens_[next_++];
        return t.substr(0, limit);
    }
    // A number; a missing or unreadable field counts as 0.
    long Number() {
        if (next_ >= tokens_.size()) return 0;
        const std::string& t = tokens_[next_++];
        char* end = nullptr;
        long v = std::strtol(t.c_str(), &end, 10);
        return end && *end == 0 ? v : 0;
    }
    int Flag(int last) { return static_cast<int>(std::clamp(Number(), 0L, long(last))); }
    uint32_t Mask(uint32_t all) { return static_cast<uint32_t>(Number()) & all; }

  private:
    std::vector<std::string> tokens_;
    bool oldForm_;
    size_t next_ = 0;
};

// A text as a quoted token: a quote inside would end it, and control characters
// (a line end, a zero) would end the profile's line or the text, so none stays.
std::string Quoted(std::string text, size_t limit) {
    text.erase(
        std::remove_if(text.begin(), text.end(),
                       [](char c) { return c == '"' || static_cast<unsigned char>(c) < 32; }),
        text.end());
    return "\"" + text.substr(0, limit) + "\"";
}

// The profile keeps 78 characters of the string: longer date texts lose their last
// characters (the seconds first) rather than the fields after them.
template <class Writer>
std::string Fitted(const Writer& write) {
    constexpr size_t kProfileLength = 78;
    std::string text = write(kDateTextLength);
    for (size_t n = kDateTextLength; text.size() > kProfileLength && n > 10; --n) text = write(n);
    return text;
}

}  // namespace

ForecastSettings ParseForecastSettings(const std::string& gnz) {
    Fields f(gnz);
    ForecastSettings s;
    s.startText = f.Text(kDateTextLength);
    s.endText = f.Text(kDateTextLength);
    s.current = f.Flag(1);
    s.vertical = f.Flag(1);
    s.matrix = f.Flag(2);
    s.hideMotion = f.Flag(1);
    s.bodyMask = f.Mask(kBodyMaskAll);
    s.natalMask = f.Mask(kPointMaskAll);
    s.periodKind = f.Flag(2);
    s.yearText = f.Text(kYearTextLength);
    s.monthText = f.Text(kYearTextLength);
    return s;
}

std::string ForecastSettingsText(const ForecastSettings& s) {
    auto text = [&s](size_t dateLength) {
        return Format("%s %s %d %d %d %d %ld %ld %d %s %s", Quoted(s.startText, dateLength).c_str(),
                      Quoted(s.endText, dateLength).c_str(), s.current, s.vertical, s.matrix,
                      s.hideMotion, long(s.bodyMask & kBodyMaskAll),
                      long(s.natalMask & kPointMaskAll), s.periodKind,
                      Quoted(s.yearText, kYearTextLength).c_str(),
                      Quoted(s.monthText, kYearTextLength).c_str());
    };
    return Fitted(text);
}

EphemerisSettings ParseEphemerisSettings(const std::string& gef) {
    Fields f(gef);
    EphemerisSettings s;
    s.modulus = static_cast<int>(std::clamp(f.Number(), 0L, 360L));
    s.periodKind = f.Flag(2);
    s.startText = f.Text(kDateTextLength);
    s.endText = f.Text(kDateTextLength);
    s.yearText = f.Text(kYearTextLength);
    s.monthText = f.Text(kYearTextLength);
    s.bodyMask = f.Mask(kBodyMaskAll);
    s.natalMask = f.Mask(kPointMaskAll);
    return s;
}

std::string EphemerisSettingsText(const EphemerisSettings& s) {
    auto text = [&s](size_t dateLength) {
        return Format("%d %d %s %s %s %s  %ld %ld", s.modulus, s.periodKind,
                      Quoted(s.startText, dateLength).c_str(),
                      Quoted(s.endText, dateLength).c_str(),
                      Quoted(s.yearText, kYearTextLength).c_str(),
                      Quoted(s.monthText, kYearTextLength).c_str(), long(s.bodyMask & kBodyMaskAll),
                      long(s.natalMask & kPointMaskAll));
    };
    return Fitted(text);
}

bool IsListedModulus(int modulus) {
    return std::find(std::begin(kModuli), std::end(kModuli), modulus) != std::end(kModuli);
}

}  // namespace orbeta
