#pragma once

// The three binary scenario files read back into a build object, field by field in the order
// the writers put them (the record layouts of output/tracciato_record.hpp). The bytes are
// untrusted: every size, tag, count and text length is checked before it is used, and a file
// that no compile could have written is refused with errore_lettura, naming the file, the byte
// and what was expected there. Nothing here touches a file: the bytes are in memory.

#include "model/costruzione.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace corvenna {

// A file's bytes and the name its errors give it.
struct contenuto_file {
    std::string nome;
    std::string_view dati;
};

// Reads the 87 items into `c.voci`, and from them the scenario's identity (`nome_scenario`,
// `numero_treno`: the names of items 85 and 86, single-byte as the model holds them) and its
// track's dimensions (`lunghezza_totale`, `ultima_cella`, from item 84's route length). Refuses
// a route length outside 0 to 1000000 m and an item 85 without the stamp 610.
void leggi_voci(const contenuto_file& f, costruzione& c);

// Reads cells 0 to `c.ultima_cella` into `c.celle`. Refuses a cell 1 without the stamp 5121.
void leggi_celle(const contenuto_file& f, costruzione& c);

// Reads metres 0 to `c.lunghezza_totale` of both axes into `c.planimetria`, each element in its
// own state (empty, integer, double), and sets `genera_planimetria`. Refuses a double that is
// not a finite number.
void leggi_planimetria(const contenuto_file& f, costruzione& c);

// A whole scenario: the item file first, since it gives the dimensions the others must have.
// Without a plan-view file the plan view stays empty and `genera_planimetria` 0.
costruzione leggi_scenario(const contenuto_file& voci, const contenuto_file& celle,
                           const std::optional<contenuto_file>& planimetria);

// The most bytes each file can hold; the last two for the dimensions leggi_voci gave `c`. A file
// cut after one byte more reads exactly as the whole file would: what is wrong with it shows
// within that byte, so a loader never needs to hold more.
std::size_t byte_massimi_voci();
std::size_t byte_massimi_celle(const costruzione& c);
std::size_t byte_massimi_planimetria(const costruzione& c);

// The metres of the plan view that `dati` holds whole, whatever the route: both axes, each a run
// of tagged values, with the same number of metres; std::nullopt when the bytes are not such a
// plan view (a damaged one), or hold more metres than any route has. A plan view that reads
// whole for another length than the item file's belongs to another scenario.
std::optional<std::size_t> metri_planimetria(std::string_view dati);
// The most bytes any plan view can hold, for the longest route.
std::size_t byte_massimi_planimetria_qualsiasi();

} // namespace corvenna
