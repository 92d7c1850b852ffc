#pragma once
// The form every shipped text keeps, so that report windows, printing and export show
// it as written: lines of at most 72 characters, a paragraph's first line indented by
// one blank and its other lines not, no empty line inside a block, no line that a
// report would read as a value or a directive ("=", "#"), no Latin words but MC and IC,
// at least the word floor of the key's class, and no two blocks of equal text.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "interp/text_check.h"
#include "interp/text_source.h"

namespace orbeta {

inline constexpr size_t kMaxShippedLine = 72;

// A floor of words for the keys a pattern matches: '#' a digit, "[..]" one of the
// characters listed, '*' any rest; other characters stand for themselves.
struct WordFloor {
    std::string pattern;  // OEM
    int words = 0;
};
// Lines "PATTERN<tab or blanks>WORDS"; "#" lines and empty lines are skipped.
std::vector<WordFloor> ParseWordFloors(std::string_view text);
bool KeyMatches(std::string_view pattern, std::string_view key);

// The words of a text joined by single blanks, punctuation left out: the measure of
// "equal text".
std::string FoldedWords(const std::vector<std::string>& lines);

// Adds the form problems of the set's blocks to the check; the floor of a key is the
// first pattern that matches it. With another base, a text equal to one of its texts is
// a problem too (a base written for another reader copies none of it).
void CheckShippedForm(const SourceSet& set, const std::vector<WordFloor>& floors,
                      const SourceSet* other, TextBaseCheck& check);

// With the keys a report can look up (required and optional), a key of the base that
// none of them is: a misspelt key, or a text no report prints.
void CheckKeysLookedUp(const SourceSet& set, const std::vector<RequiredKey>& lookedUp,
                       TextBaseCheck& check);

// Blocks of one family whose texts share half or more of their word 4-grams (of the
// smaller text): pairs of their first keys (UTF-8).
std::vector<std::pair<std::string, std::string>> SimilarBlocks(
    const SourceSet& set, const std::vector<RequiredKey>& required);

// Sentences (of at least minWords words, compared by their words) that occur in more
// than one block: the first keys of the blocks that hold each (UTF-8), and the
// sentence's words. Catches template filler that SimilarBlocks misses because the
// rest of the texts differ.
struct SharedSentence {
    std::string words;              // the sentence's words joined by blanks (UTF-8)
    std::vector<std::string> keys;  // first key of every block holding it
};
std::vector<SharedSentence> SharedSentences(const SourceSet& set, size_t minWords);

}  // namespace orbeta
