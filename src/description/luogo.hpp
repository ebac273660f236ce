#pragma once

// A place in a description: the line and the column (both from 1) of a byte. Columns count
// bytes, which are single-byte characters. 0 means not known.

namespace corvenna {

struct luogo {
    int riga = 0;
    int colonna = 0;

    bool noto() const { return riga > 0; }
    friend bool operator==(const luogo&, const luogo&) = default;
};

} // namespace corvenna
