#pragma once

// How a command of the `scenario` tool joins its command line: it adds its subcommand and
// options to the parser, and when the user chooses it, leaves in `azione` what to run. The
// action returns the exit status; file failures throw errore_file, which main reports.

#include <functional>

namespace CLI {
class App;
}

namespace corvenna {

using azione_comando = std::function<int()>;

} // namespace corvenna
