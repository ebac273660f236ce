#pragma once

// A directory at a path that replaces its files through sostituisci_file (no lock, no flush):
// for tests and benchmarks that write into a scratch directory of their own.

#include "base/cartella_uscita.hpp"
#include "support/sostituzione_file.hpp"

#include <filesystem>
#include <string>
#include <utility>

namespace corvenna::prova {

class cartella_percorso final : public corvenna::cartella_uscita {
  public:
    explicit cartella_percorso(std::filesystem::path cartella) : cartella_(std::move(cartella)) {}
    void sostituisci(const std::string& nome, const corvenna::scrittura_file& scrivi,
                     corvenna::persistenza) override {
        corvenna::sostituisci_file(percorso(nome), scrivi);
    }
    std::filesystem::path percorso(const std::string& nome) const override {
        return cartella_ / nome;
    }

  private:
    std::filesystem::path cartella_;
};

} // namespace corvenna::prova
