#pragma once

// The known word nearest to one the user typed, for the "forse intendevi ...?" of a command that
// takes a name from a fixed list (a keyword, a diagnostic's name), by the checking pass's edit
// distance.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvenna {

// The candidate nearest to `parola`, when it is near enough to be what was meant: at most a
// third of the word's letters wrong (and at least 2 allowed). The first of equals wins.
std::optional<std::string> parola_vicina(std::string_view parola,
                                         std::span<const std::string> candidati);

} // namespace corvenna
