#pragma once

// A fresh temporary directory for a test, removed with everything in it at the end.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>

namespace corvenna::prova {

class cartella_temporanea {
  public:
    cartella_temporanea() {
        std::random_device caso;
        percorso_ = std::filesystem::temp_directory_path() /
                    ("genera_prova_" + std::to_string(caso()) + std::to_string(caso()));
        std::filesystem::create_directories(percorso_);
    }
    ~cartella_temporanea() {
        std::error_code ignora;
        std::filesystem::remove_all(percorso_, ignora);
    }
    cartella_temporanea(const cartella_temporanea&) = delete;
    cartella_temporanea& operator=(const cartella_temporanea&) = delete;

    const std::filesystem::path& percorso() const { return percorso_; }
    std::filesystem::path operator/(const std::string& nome) const { return percorso_ / nome; }

  private:
    std::filesystem::path percorso_;
};

inline std::string leggi_file(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

inline void scrivi_file(const std::filesystem::path& p, const std::string& contenuto) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f << contenuto;
}

inline std::set<std::string> nomi_in(const std::filesystem::path& cartella) {
    std::set<std::string> nomi;
    for (const auto& voce : std::filesystem::directory_iterator(cartella))
        nomi.insert(voce.path().filename().string());
    return nomi;
}

} // namespace corvenna::prova
