#pragma once

#include "compiler/compilazione.hpp"

namespace corvenna {

// The line phase of the compile: reads the line description, sizes the cells and the plan
// view, fills the gradients, the plan view, relief stretches, indicator boards, route signs and
// the header items of the general section, and deletes the description.
esito_fase compila_linea(compilazione& k);

} // namespace corvenna
