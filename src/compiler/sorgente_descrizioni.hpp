#pragma once

// Where the compiler finds the two descriptions: the output directory in a run, or texts held
// in memory (tests, fuzzing). The compiler only tests, reads whole and deletes them.

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace corvenna {

enum class descrizione { linea, treno };

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

// The two description files of a scenario in a directory.
class sorgente_cartella final : public sorgente_descrizioni {
  public:
    sorgente_cartella(std::filesystem::path linea, std::filesystem::path treno)
        : linea_(std::move(linea)), treno_(std::move(treno)) {}

    bool esiste(descrizione d) const override;
    std::optional<std::string> leggi(descrizione d) const override;
    bool cancella(descrizione d) override;
    std::string nome(descrizione d) const override { return percorso(d).filename().string(); }

  private:
    const std::filesystem::path& percorso(descrizione d) const {
        return d == descrizione::linea ? linea_ : treno_;
    }
    std::filesystem::path linea_;
    std::filesystem::path treno_;
};

// Descriptions held in memory; a missing entry is a description that does not exist.
class sorgente_memoria final : public sorgente_descrizioni {
  public:
    std::map<descrizione, std::string> testi;

    bool esiste(descrizione d) const override { return testi.contains(d); }
    std::optional<std::string> leggi(descrizione d) const override;
    bool cancella(descrizione d) override {
        testi.erase(d);
        return true;
    }
    std::string nome(descrizione d) const override {
        return d == descrizione::linea ? "descrizione della linea" : "descrizione del treno";
    }
};

} // namespace corvenna
