#pragma once

// The nearest of a few known words to one an author wrote, by edit distance: "forse intendevi
// `stazione`?" for "stazone", a name for a misspelt option.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvenna {

// Insertions, deletions, substitutions and swaps of two neighbours, ASCII letters compared in
// lower case.
int distanza_modifica(std::string_view a, std::string_view b);

// The candidate nearest to `parola`, when it is near enough to be a slip of the keyboard (at most
// one edit in a short word, two in a longer one, a third of the letters at most); std::nullopt
// otherwise or when two candidates are equally near.
std::optional<std::string> piu_vicina(std::string_view parola,
                                      std::span<const std::string_view> candidati);

} // namespace corvenna
