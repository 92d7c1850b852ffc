#pragma once
// Where an interpretation report goes. Writing, every key is looked up in the open
// text base and its block printed; listing, every branch of the report is taken, no
// base is read, and each key that the report could look up is recorded with its
// family (the key's format). The same section code runs both ways.
#include <set>
#include <string>
#include <vector>

namespace orbeta {

struct LookedUpKey {
    std::string key;
    bool printed = false;
};

struct ListedKey {
    std::string key;
    std::string family;
    bool optional = false;  // looked up only as an alternative to another key
};

class ReportSink {
  public:
    explicit ReportSink(bool listing = false) : listing_(listing) {}
    bool Listing() const { return listing_; }

    // Whether a branch is taken: listing, every branch is.
    bool When(bool condition) const { return listing_ || condition; }
    // The values a key number can take: the actual one, or listing the whole range.
    std::vector<int> Values(int actual, int first, int last) const;

    // Prints the block of a key; true when it had lines.
    bool Text(const char* family, ...) __attribute__((format(printf, 2, 3)));
    // The same for a key looked up as an alternative: listing, false (so that the
    // other branch is listed too).
    bool TextIfPresent(const char* family, ...) __attribute__((format(printf, 2, 3)));
    // Prints the block of a key made elsewhere, recorded under its family.
    bool Key(const std::string& key, const char* family) {
        return Look(family, key.c_str(), false);
    }
    // The block of a key under heading lines (given whole, with their line feeds),
    // both printed only when the block has lines; true then.
    bool TextUnder(const std::string& heading, const char* family, ...)
        __attribute__((format(printf, 3, 4)));
    // A computed line: one leading blank, the text, a line feed (nothing when listing).
    void Heading(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // A line as it is, with its line feed.
    void Line(const std::string& text);

    const std::string& Body() const { return body_; }
    const std::vector<LookedUpKey>& Keys() const { return keys_; }
    const std::vector<ListedKey>& Listed() const { return listed_; }

  private:
    bool Look(const char* family, const char* key, bool optional,
              const std::string* heading = nullptr);

    bool listing_;
    std::string body_;
    std::vector<LookedUpKey> keys_;
    std::vector<ListedKey> listed_;
    std::set<std::string> seen_;
};

}  // namespace orbeta
