#pragma once

namespace corvenna {

struct costruzione;

// Stamps item 85 and cell 1. Returns 0, or the error number 1250 (a stamped field was not
// free before the stamp) or 1251 (a code field was not free after it).
int timbra_intestazione(costruzione& c);

} // namespace corvenna
