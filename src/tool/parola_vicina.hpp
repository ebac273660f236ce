#pragma once

// The known word nearest to one the user typed, for the "forse intendevi ...?" of a command that
// takes a name from a fixed list (a keyword, a diagnostic's name).

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvenna {

// The edit distance (insertions, deletions, substitutions) between `a` and `b`, ASCII letters
// compared without case.
std::size_t distanza_modifica(std::string_view a, std::string_view b);

// The candidate nearest to `parola`, when it is near enough to be what was meant: at most a
// third of the word's letters wrong (and at least 2 allowed). The first of equals wins.
std::optional<std::string> parola_vicina(std::string_view parola,
                                         std::span<const std::string> candidati);

} // namespace corvenna
