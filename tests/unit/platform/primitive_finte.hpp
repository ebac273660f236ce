#pragma once

// The locked directory's primitives over a directory held in memory: any step can fail with a
// code, or kill the process there, and every call checks what a signal at that moment would find.

#include "platform/nomi_temporanei.hpp"
#include "platform/primitive_file.hpp"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace corvenna::prova {

inline constexpr int codice_guasto = 28;
inline constexpr int codice_nome_preso = 17;
inline constexpr int codice_assente = 2;

// What a process killed at a step sees: nothing more happens after it.
struct processo_ucciso {};

class primitive_finte final : public primitive_file {
  public:
    using percorso = std::filesystem::path;

    // The directory: each entry's name and content. Entries in `cartelle` are directories.
    std::map<std::string, std::string> voci;
    std::set<std::string> cartelle;
    // Entries that another user owns.
    std::set<std::string> altrui;
    // The step (a call that can fail, counted from 1) that fails, or where the process is
    // killed; 0: none.
    int passo_guasto = 0;
    int passo_ucciso = 0;
    int passi = 0;
    // What a signal would have found wrong, at the call where it was seen.
    std::vector<std::string> difetti;
    // The files still open.
    std::map<maniglia_file, std::string> aperti;
    // The files whose temporaries a signal may meet.
    std::vector<std::string> file_controllati{"a.dat"};

    std::intptr_t maniglia() const override { return -1; }
    percorso nome_di_sistema(std::string_view nome) const override { return percorso(nome); }
    std::string testo_del_nome(const percorso& nome) const override { return nome.string(); }
    std::string motivo(int codice) const override { return "guasto " + std::to_string(codice); }
    bool non_trovato(int codice) const override { return codice == codice_assente; }
    bool da_ritentare(int codice) const override { return codice == codice_nome_preso; }
    unsigned long processo() const override { return 4242; }

    int crea_esclusivo(const percorso& nome, maniglia_file& file) override {
        verifica("crea_esclusivo");
        if (guasto())
            return codice_guasto;
        if (voci.contains(nome.string()) || cartelle.contains(nome.string()))
            return codice_nome_preso;
        voci[nome.string()];
        svuotato_[nome.string()] = true;
        file = ++ultima_maniglia_;
        aperti[file] = nome.string();
        return 0;
    }
    int apri_in_lettura(const percorso& nome, maniglia_file& file) override {
        if (guasto())
            return codice_guasto;
        if (!voci.contains(nome.string()))
            return codice_assente;
        file = ++ultima_maniglia_;
        aperti[file] = nome.string();
        letti_[file] = 0;
        return 0;
    }
    apertura_propria apri_proprio(const percorso& nome, maniglia_file& file) override {
        if (cartelle.contains(nome.string()))
            return {0, tipo_voce::cartella, false};
        const apertura_propria apertura{apri_in_lettura(nome, file), tipo_voce::regolare,
                                        altrui.contains(nome.string())};
        if (apertura.codice == 0 && apertura.altrui)
            aperti.erase(file);
        return apertura;
    }
    int leggi(maniglia_file file, char* dati, std::size_t quanti, std::size_t& letti) override {
        if (guasto())
            return codice_guasto;
        const std::string& contenuto = voci.at(aperti.at(file));
        letti = std::min(quanti, contenuto.size() - letti_[file]);
        std::memcpy(dati, contenuto.data() + letti_[file], letti);
        letti_[file] += letti;
        return 0;
    }
    int scrivi(maniglia_file file, const char* dati, std::size_t quanti) override {
        verifica("scrivi");
        if (guasto())
            return codice_guasto;
        voci[aperti.at(file)].append(dati, quanti);
        svuotato_[aperti.at(file)] = false;
        return 0;
    }
    int svuota(maniglia_file file) override {
        verifica("svuota");
        if (guasto())
            return codice_guasto;
        svuotato_[aperti.at(file)] = true;
        return 0;
    }
    // Closed even when the close reports a failure, as the systems do.
    int chiudi(maniglia_file file) override {
        verifica("chiudi");
        if (morto_)
            return codice_guasto;
        aperti.erase(file);
        return guasto() ? codice_guasto : 0;
    }
    int rinomina(const percorso& da, const percorso& a, persistenza durata) override {
        verifica("rinomina");
        if (guasto())
            return codice_guasto;
        if (!voci.contains(da.string()))
            return codice_assente;
        for (const auto& [file, nome] : aperti)
            if (nome == da.string())
                difetti.push_back("rinomina: the file is still open");
        // A file of an earlier run is taken as that run left it, flushed.
        const auto svuotato = svuotato_.find(da.string());
        if (durata == persistenza::durevole && svuotato != svuotato_.end() && !svuotato->second)
            difetti.push_back("rinomina: the content is not on the storage yet");
        voci[a.string()] = voci.at(da.string());
        voci.erase(da.string());
        return 0;
    }
    // The clean-up never fails here: a failing one may leave a temporary, for the next run.
    int rimuovi(const percorso& nome) override {
        verifica("rimuovi");
        if (morto_)
            return codice_guasto;
        return voci.erase(nome.string()) == 1 ? 0 : codice_assente;
    }
    int cerca(const percorso& nome) override {
        if (guasto())
            return codice_guasto;
        return voci.contains(nome.string()) || cartelle.contains(nome.string()) ? 0
                                                                                : codice_assente;
    }
    bool e_cartella(const percorso& nome) override { return cartelle.contains(nome.string()); }
    std::vector<percorso> elenca() override {
        std::vector<percorso> nomi;
        for (const auto& [nome, contenuto] : voci)
            nomi.emplace_back(nome);
        return nomi;
    }
    int sincronizza_cartella(const percorso&) override { return guasto() ? codice_guasto : 0; }

    void prepara_segnali() override {}
    void trattieni_segnali() override { trattenuti_ = true; }
    void rilascia_segnali() override {
        trattenuti_ = false;
        verifica("rilascia_segnali");
    }
    void segna_temporaneo(const percorso& nome) override {
        if (!trattenuti_)
            difetti.push_back("segna_temporaneo: the signals pass");
        segnati_.insert(nome.string());
    }
    void dimentica_temporaneo(const percorso& nome) override {
        if (!trattenuti_)
            difetti.push_back("dimentica_temporaneo: the signals pass");
        segnati_.erase(nome.string());
    }

  private:
    // Counts a call that can fail; a dead process fails every call.
    bool guasto() {
        if (morto_)
            return true;
        ++passi;
        if (passi == passo_ucciso) {
            morto_ = true;
            throw processo_ucciso{};
        }
        return passi == passo_guasto;
    }

    // Where the signals pass, a signal now would remove the recorded temporaries: every
    // temporary there must be one, and each must exist.
    void verifica(const std::string& chiamata) {
        if (trattenuti_ || morto_)
            return;
        for (const auto& [nome, contenuto] : voci)
            for (const std::string& file : file_controllati)
                if (temporaneo_di(nome, file) && !segnati_.contains(nome))
                    difetti.push_back(chiamata + ": " + nome + " is not a recorded temporary");
        for (const std::string& segnato : segnati_)
            if (!voci.contains(segnato))
                difetti.push_back(chiamata + ": the recorded temporary " + segnato + " is missing");
    }

    std::map<std::string, bool> svuotato_;
    std::map<maniglia_file, std::size_t> letti_;
    bool trattenuti_ = false;
    bool morto_ = false;
    std::set<std::string> segnati_;
    maniglia_file ultima_maniglia_ = 0;
};

} // namespace corvenna::prova
