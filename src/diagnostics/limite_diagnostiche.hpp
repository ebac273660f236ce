#pragma once

// A bound on how many diagnostics of one kind are shown. A description full of junk gives one
// diagnostic per line, all of one kind, differing only by their place and the field they quote:
// after the first few the rest says nothing new, and a report of millions of them only floods
// the author's terminal. So the first `diagnostiche_per_tipo` of each kind (a warning's kind, an
// error's code) are shown, and the rest of that kind is counted and told in one line:
//
//   ... e altre 15980 diagnostiche dello stesso tipo (parola-chiave-sconosciuta)
//
// The counts of errors and warnings still count every diagnostic, shown or not.

#include "diagnostics/diagnostica.hpp"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace corvenna {

inline constexpr std::size_t diagnostiche_per_tipo = 20;

// The diagnostics of one kind left out.
struct diagnostiche_tralasciate {
    gravita livello = gravita::avviso;
    // The kind's name as the diagnostics show it in brackets: "parola-chiave-sconosciuta" for a
    // warning, "codice 15" for an error.
    std::string nome;
    // As the diagnostics' JSON "codice": the warning's name, or the error's code.
    std::optional<tipo_avviso> tipo;
    std::int32_t codice = 0;
    std::size_t quante = 0;
};

class limite_diagnostiche {
  public:
    explicit limite_diagnostiche(std::size_t per_tipo = diagnostiche_per_tipo)
        : per_tipo_(per_tipo) {}

    // Whether `d` is shown; one that is not is counted with its kind, and so are those its pass
    // only counted (`altre_uguali`), whether it is shown or not.
    bool mostra(const diagnostica& d);

    // The kinds that had diagnostics left out, in the order their first diagnostic came.
    const std::vector<diagnostiche_tralasciate>& tralasciate() const { return tralasciate_; }

  private:
    struct conteggio {
        std::size_t viste = 0;
        // Index into tralasciate_, once one of the kind is left out.
        bool tralasciate = false;
        std::size_t gruppo = 0;
    };
    std::size_t per_tipo_;
    // Warnings by kind, errors by code (after the warnings, so that the two never meet).
    std::map<std::int64_t, conteggio> per_chiave_;
    std::vector<diagnostiche_tralasciate> tralasciate_;
};

// The line that tells them: "... e altre 3 diagnostiche dello stesso tipo (NOME)", "... e
// un'altra diagnostica dello stesso tipo (NOME)"; no line end.
std::string testo_tralasciate(const diagnostiche_tralasciate& t);

} // namespace corvenna
