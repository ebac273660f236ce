#pragma once

// Where the compiler finds the two descriptions: files resolved by the program that runs the
// compile, or texts held in memory. The compiler only tests, reads whole and deletes them; it
// never knows a path.

#include "base/descrizione.hpp"

#include <map>
#include <optional>
#include <string>

namespace corvenna {

class sorgente_descrizioni {
  public:
    virtual ~sorgente_descrizioni() = default;
    virtual bool esiste(descrizione d) const = 0;
    // The whole text; std::nullopt when it cannot be read.
    virtual std::optional<std::string> leggi(descrizione d) const = 0;
    // Deletes the description if it exists; false when it exists and cannot be deleted.
    virtual bool cancella(descrizione d) = 0;
    // The description's name, for messages.
    virtual std::string nome(descrizione d) const = 0;
};

// Descriptions held in memory; a missing entry is a description that does not exist.
class sorgente_memoria final : public sorgente_descrizioni {
  public:
    std::map<descrizione, std::string> testi;

    bool esiste(descrizione d) const override { return testi.contains(d); }
    std::optional<std::string> leggi(descrizione d) const override {
        const auto trovato = testi.find(d);
        if (trovato == testi.end())
            return std::nullopt;
        return trovato->second;
    }
    bool cancella(descrizione d) override {
        testi.erase(d);
        return true;
    }
    std::string nome(descrizione d) const override {
        return d == descrizione::linea ? "descrizione della linea" : "descrizione del treno";
    }
};

} // namespace corvenna
