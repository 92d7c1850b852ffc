#pragma once
// The checker of the texts on fixed stars, degrees, lots and asteroids: the bases
// "starbb" and "aster", grad_ch.ctl, star.ctl and chreb.ctl, read as UTF-8 sources.
// The keys every file must hold are worked out from the files themselves: the star
// catalogue starbb.ctl gives the stars and their heliacal classes, the UI text list
// "ASw" of orbtw.t the asteroids, the list "Sym" the lot symbols.
#include <string>
#include <vector>

namespace orbeta {

// One file: its name as shown in messages and its text (UTF-8). A file that could not
// be read has no text and is reported as missing.
struct NamedText {
    std::string name;
    std::string text;
    bool present = false;
};

struct StarTextSources {
    NamedText catalogue;  // starbb.ctl
    NamedText uiTexts;    // orbtw.t
    NamedText starbb;     // starbb.csr
    NamedText aster;      // aster.csr
    NamedText degrees;    // grad_ch.ctl
    NamedText stars;      // star.ctl
    NamedText lots;       // chreb.ctl
};

// Every problem as "file:line: problem" (line 0 for a problem of the whole file), in
// file order.
std::vector<std::string> CheckStarTexts(const StarTextSources& sources);

}  // namespace orbeta
