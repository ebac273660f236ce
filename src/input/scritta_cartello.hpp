#pragma once

// A route sign's lettering as the item holds it, "(   P.L.  )(km 1+522)", put on one line for
// whoever shows it: the page beside the board, ispeziona in its answers.

#include <string>
#include <string_view>

namespace corvenna {

// The parenthesised groups joined by " / ", each without its parentheses and outer blanks;
// empty groups are left out. A text without a closed group is shown as it is, without its outer
// blanks.
std::string scritta_cartello(std::string_view testo);

} // namespace corvenna
