#pragma once

// Text in the descriptions' single-byte Windows-1252 code page, as UTF-8 for readers that need
// it (JSON). The five bytes the code page leaves undefined become the control characters of the
// same number, as the system's own conversion makes them.

#include <string>
#include <string_view>

namespace corvenna {

std::string utf8_da_1252(std::string_view testo);

} // namespace corvenna
