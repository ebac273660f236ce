#pragma once

// What the compile says about the descriptions while it reads them: the diagnostics, and which
// description line placed the feature of each cell, so that a code found on a cell later (the
// finishing pass) and a feature that hides another can name the line the author wrote.
//
// The tables are per cell (4 bytes each) and per feature line: a route of 1000000 m has about
// 20000 cells, so they stay small beside the model.

#include "compiler/sorgente_descrizioni.hpp"
#include "description/luogo.hpp"
#include "diagnostics/diagnostica.hpp"
#include "diagnostics/raccolta_diagnostiche.hpp"
#include "diagnostics/tipi_diagnostica.hpp"
#include "model/costruzione.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {

// A feature as its description line gives it.
struct elemento_descritto {
    descrizione file = descrizione::linea;
    // The line's position field (its keyword field when it has no position).
    luogo posto;
    // What it is, with its article: "un segnale", "una fermata di CORVENNA".
    std::string cosa;
    std::int32_t metri = 0;
};

class registro_compilazione {
  public:
    // Held to a bound per kind (diagnostics/raccolta_diagnostiche.hpp): a description of junk
    // costs a few diagnostics and a count, not one diagnostic a line.
    elenco_diagnostiche diagnostiche;

    void errore(descrizione d, luogo posto, std::int32_t codice, std::string messaggio,
                std::optional<std::int32_t> metri = std::nullopt);
    // An error without a place in a description (a header check of the build).
    void errore_generale(std::int32_t codice, std::string messaggio);
    void avviso(descrizione d, luogo posto, tipo_avviso tipo, std::string messaggio,
                std::optional<std::int32_t> metri = std::nullopt);
    // The same warning, at the place of a feature line.
    void avviso(const elemento_descritto& e, tipo_avviso tipo, std::string messaggio);
    // Gives the diagnostic just recorded another place that explains it (the earlier line a
    // later one overwrote), so that a reader and an editor can jump there.
    void correla(descrizione d, luogo posto, std::string messaggio);
    // The same, at the feature line `e`; nothing when it is not known.
    void correla(const elemento_descritto* e, const std::string& cosa);

    // Sizes the per-cell tables for the cells just created; every cell without an author.
    void prepara_celle(std::size_t numero_celle);

    // The feature line whose writes follow: its cells get it as their author.
    void inizia_elemento(descrizione d, luogo posto, std::string cosa, std::int32_t metri);
    const elemento_descritto& elemento_corrente() const { return elementi_[corrente_]; }

    // Before the current feature puts its kind on cell k, which held `prima`: warns when that
    // hides a tunnel marker or another feature, and makes the current feature the cell's author.
    void scrive_tipo(const cella& prima, std::int64_t k);
    // The same for an approach marker (`avviso`) on cell k, which held `prima`.
    void scrive_avviso(std::uint8_t prima, std::int64_t k);
    // Makes the current feature the author of cell k without any check.
    void segna_autore(std::int64_t k);

    // The feature line that placed the kind, or the approach marker, of cell k; nullptr when no
    // line did.
    const elemento_descritto* autore(std::int64_t k) const;
    const elemento_descritto* autore_avviso(std::int64_t k) const;

    // The mountain stretch n (from 1) is the current feature line's, and which line that was.
    void segna_montagna(std::int32_t n);
    const elemento_descritto* autore_montagna(std::int32_t n) const;

    // The item n (a station, from 1) is the current feature line's, and which line that was.
    void segna_voce(std::int32_t n);
    const elemento_descritto* autore_voce(std::int32_t n) const;

    // A curve line of the line description, with the start metre it gives. A curve writes no
    // cell kind, so it is not a feature line: it only is recorded, in the order of its lines.
    struct curva_descritta {
        luogo posto;
        std::int32_t inizio = 0;
    };
    void segna_curva(luogo posto, std::int32_t inizio);
    const std::vector<curva_descritta>& curve() const { return curve_; }

    // The cell a recorder found not free when it refused a feature; -1 when none.
    std::int64_t cella_contesa = -1;

  private:
    void registra(diagnostica x);

    raccolta_diagnostiche raccolta_;
    // The last diagnostic recorded, while it is kept: a diagnostic only counted gets no related
    // place.
    diagnostica* ultima_ = nullptr;
    const elemento_descritto* cerca(const std::vector<std::uint32_t>& tabella,
                                    std::int64_t k) const;
    // Marks entry `n` (grown as needed; a negative one ignored) as placed by the current line.
    void segna_in(std::vector<std::uint32_t>& tabella, std::int32_t n);

    // Entry 0 stands for "no line".
    std::vector<elemento_descritto> elementi_{1};
    std::vector<std::uint32_t> autore_tipo_;
    std::vector<std::uint32_t> autore_avviso_;
    std::vector<std::uint32_t> autore_montagne_;
    std::vector<std::uint32_t> autore_voci_;
    std::vector<curva_descritta> curve_;
    std::uint32_t corrente_ = 0;
    // The last feature line warned about replacing approach markers.
    std::uint32_t avvisato_avviso_ = 0;
};

// "un segnale (riga 12)", or "(riga 12 della descrizione della linea)" when the feature lies in
// the other description than `qui`; "un altro elemento" when it is not known.
std::string nomina(const elemento_descritto* e, descrizione qui);

// The name of each description as the messages say it.
std::string_view nome_descrizione(descrizione d);

} // namespace corvenna
