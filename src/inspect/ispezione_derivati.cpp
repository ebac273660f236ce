#include "inspect/ispezione_derivati.hpp"

#include "finishing/codici_gara.hpp"
#include "model/tipi_cella.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <system_error>

namespace corvenna {

namespace {

// An item of 1 to 80: a station sets its numbers, a route-sign text only its name.
ruolo_voce ruolo_tra_stazioni(const voce& v, bool ha_fermata) {
    voce senza_nome = v;
    senza_nome.nome.clear();
    const bool numeri = ha_fermata || !(senza_nome == voce{});
    if (numeri)
        return ruolo_voce::stazione;
    return v.nome.empty() ? ruolo_voce::vuota : ruolo_voce::cartello;
}

ruolo_voce ruolo_fisso(std::size_t numero) {
    switch (numero) {
    case 0:
        return ruolo_voce::inutilizzata;
    case voce_progressiva_tre:
    case voce_progressiva_due:
    case voce_progressiva_uno:
        return ruolo_voce::progressiva;
    case voce_percorso:
        return ruolo_voce::percorso;
    case voce_scenario:
        return ruolo_voce::scenario;
    default:
        return ruolo_voce::treno;
    }
}

} // namespace

derivati_scenario deriva(const costruzione& c) {
    derivati_scenario d;
    for (std::size_t k = 0; k < c.celle.size(); ++k) {
        const cella& x = c.celle[k];
        if (x.tipo == tipo_cella::fermata && x.dato1 >= 1 && x.dato1 <= prima_voce_cartelli) {
            std::optional<std::size_t>& fermata =
                d.celle_fermata[static_cast<std::size_t>(x.dato1)];
            if (!fermata)
                fermata = k;
        }
    }
    for (std::size_t i = 0; i < d.ruoli.size(); ++i) {
        const bool tra_stazioni = i >= 1 && i <= prima_voce_cartelli;
        d.ruoli[i] = tra_stazioni ? ruolo_tra_stazioni(c.voci[i], d.celle_fermata[i].has_value())
                                  : ruolo_fisso(i);
        if (d.ruoli[i] != ruolo_voce::stazione)
            d.celle_fermata[i].reset();
    }

    // The codes read only the names of items 85 and 86.
    costruzione nomi;
    nomi.voci[voce_scenario].nome = c.voci[voce_scenario].nome;
    nomi.voci[voce_treno].nome = c.voci[voce_treno].nome;
    d.codice_st = codice_gara_st(nomi);
    d.codice_og = codice_gara_og(nomi);
    return d;
}

std::string_view nome_ruolo(ruolo_voce ruolo) {
    switch (ruolo) {
    case ruolo_voce::inutilizzata:
        return "inutilizzata";
    case ruolo_voce::stazione:
        return "stazione";
    case ruolo_voce::cartello:
        return "cartello";
    case ruolo_voce::vuota:
        return "vuota";
    case ruolo_voce::progressiva:
        return "progressiva";
    case ruolo_voce::percorso:
        return "percorso";
    case ruolo_voce::scenario:
        return "scenario";
    case ruolo_voce::treno:
        break;
    }
    return "treno";
}

std::optional<std::string_view> nome_tipo_cella(std::uint8_t tipo) {
    struct nome_tipo {
        std::uint8_t tipo;
        std::string_view nome;
    };
    static constexpr nome_tipo nomi[] = {
        {tipo_cella::binario, "binario"},
        {tipo_cella::segnale, "segnale"},
        {tipo_cella::fine_rallentamento, "fine_rallentamento"},
        {tipo_cella::inizio_rallentamento, "inizio_rallentamento"},
        {tipo_cella::avviso_rallentamento, "avviso_rallentamento"},
        {tipo_cella::preavviso_numerato, "preavviso_numerato"},
        {tipo_cella::indicatore_v_max, "indicatore_v_max"},
        {tipo_cella::fermata, "fermata"},
        {tipo_cella::marcatore_galleria, "marcatore_galleria"},
        {tipo_cella::abbattimento_valore, "abbattimento_valore"},
        {tipo_cella::abbattimento, "abbattimento"},
        {tipo_cella::cartello, "cartello"},
    };
    for (const nome_tipo& n : nomi)
        if (n.tipo == tipo)
            return n.nome;
    return std::nullopt;
}

std::string_view nome_tipo_valore(tipo_valore tipo) {
    switch (tipo) {
    case tipo_valore::intero:
        return "intero";
    case tipo_valore::doppio:
        return "doppio";
    case tipo_valore::vuoto:
        break;
    }
    return "vuoto";
}

std::string ora_del_giorno(std::int64_t secondi) {
    const bool negativo = secondi < 0;
    const std::int64_t s = negativo ? -secondi : secondi;
    char testo[40];
    std::snprintf(testo, sizeof testo, "%s%02lld:%02lld:%02lld", negativo ? "-" : "",
                  static_cast<long long>(s / 3600), static_cast<long long>(s / 60 % 60),
                  static_cast<long long>(s % 60));
    return testo;
}

char* scrivi_testo_doppio(char* inizio, double numero) {
    // The shortest form takes at most 24 bytes ("-2.2250738585072014e-308"); 2 more for ".0".
    char* fine = std::to_chars(inizio, inizio + byte_testo_doppio - 2, numero).ptr;
    if (std::find_if(inizio, fine, [](char c) { return c == '.' || c == 'e'; }) == fine) {
        *fine++ = '.';
        *fine++ = '0';
    }
    return fine;
}

std::string testo_doppio(double numero) {
    char testo[byte_testo_doppio];
    return std::string(testo, scrivi_testo_doppio(testo, numero));
}

} // namespace corvenna
