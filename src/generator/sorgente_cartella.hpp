#pragma once

// The two description files of a scenario, in the locked directory of the run.
//
// The compiler knows only whether a description exists, its text or that it cannot be read,
// and whether it could be deleted. A failure of the system on the file (an input/output
// error, a right refused) is not a fault of the description: the source answers the compiler
// as for a description that cannot be read, and keeps the failure, which the run then reports
// as a file failure instead of the compile's outcome. The run writes both descriptions just
// before the compile: one that is not there when the compile reads it has been removed by
// another hand, and is a file failure too. Only the compile's own test for the line
// description answers that it does not exist.

#include "base/errore_file.hpp"
#include "compiler/sorgente_descrizioni.hpp"
#include "platform/cartella_bloccata.hpp"

#include <optional>
#include <string>

namespace corvenna {

class sorgente_cartella final : public sorgente_descrizioni {
  public:
    sorgente_cartella(cartella_bloccata& cartella, std::string linea, std::string treno)
        : cartella_(cartella), linea_(std::move(linea)), treno_(std::move(treno)) {}

    bool esiste(descrizione d) const override;
    std::optional<std::string> leggi(descrizione d) const override;
    bool cancella(descrizione d) override;
    std::string nome(descrizione d) const override { return nome_file(d); }

    // The first failure of the system on a description, if any.
    const std::optional<errore_file>& guasto() const { return guasto_; }

  private:
    const std::string& nome_file(descrizione d) const {
        return d == descrizione::linea ? linea_ : treno_;
    }
    void registra(const errore_file& e) const {
        if (!guasto_)
            guasto_ = e;
    }

    cartella_bloccata& cartella_;
    std::string linea_;
    std::string treno_;
    mutable std::optional<errore_file> guasto_;
};

} // namespace corvenna
