#pragma once

// The instants a track gives its points: ISO 8601 date and time, as GPX writes them.

#include <optional>
#include <string_view>

namespace corvenna {

// "2024-05-01T08:12:30Z", with optional fractions of a second and an offset ("+02:00") instead
// of the Z (none means UTC): the seconds since 1970-01-01 00:00 UTC; std::nullopt for anything
// else.
std::optional<double> istante_iso(std::string_view testo);

} // namespace corvenna
