#pragma once

// The aspects a signal shows, by the code a signal row gives them (s1, s2, s3 and, for the signal
// beside it, d1, d2, d3): the one naming the format's reference, the page and its tooltips use.

#include <array>
#include <string_view>

namespace corvenna {

inline constexpr std::array<std::string_view, 7> nomi_aspetti_segnale{
    "spento",        "rosso", "giallo", "verde", "giallo lampeggiante", "verde lampeggiante",
    "giallo e verde"};

} // namespace corvenna
