#pragma once

// Which of a scenario's two descriptions: the line, or the train that runs on it; and the
// largest one the tools take.

#include <cstddef>

namespace corvenna {

enum class descrizione { linea, treno };

// The largest description read: 16 MiB. The built-in 88 km line takes 6 KB, so a 1000 km line
// as dense takes about 70 KB, a 240th of it; a larger file is not a description (a log, an
// image, a disk image) and is refused before a byte of it is read, and the language server
// holds no larger document.
inline constexpr std::size_t byte_massimi_descrizione = 16 * 1024 * 1024;

} // namespace corvenna
