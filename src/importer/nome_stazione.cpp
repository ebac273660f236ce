#include "importer/nome_stazione.hpp"

#include "base/codifica_1252.hpp"

#include <cmath>
#include <cstdint>

namespace corvenna {

namespace {

// The capital of a Windows-1252 letter; other bytes unchanged.
unsigned char maiuscola(unsigned char b) {
    if (b >= 'a' && b <= 'z')
        return static_cast<unsigned char>(b - 0x20);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7)
        return static_cast<unsigned char>(b - 0x20);
    switch (b) {
    case 0x9A:
        return 0x8A; // s caron
    case 0x9C:
        return 0x8C; // oe
    case 0x9E:
        return 0x8E; // z caron
    case 0xFF:
        return 0x9F; // y diaeresis
    default:
        return b;
    }
}

// The length of the UTF-8 sequence that starts with `b` (1 for a stray byte).
std::size_t lunghezza_sequenza(unsigned char b) {
    if (b >= 0xF0 && b <= 0xF4)
        return 4;
    if (b >= 0xE0)
        return 3;
    if (b >= 0xC2)
        return 2;
    return 1;
}

} // namespace

nome_convertito nome_stazione(std::string_view utf8, std::string_view riserva) {
    nome_convertito esito;
    bool sostituiti = false;
    bool tolti = false;
    std::string byte;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n =
            std::min(lunghezza_sequenza(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        std::string convertito;
        try {
            convertito = in_1252(utf8.substr(i, n));
        } catch (const errore_codifica&) {
            convertito = "?";
            sostituiti = true;
        }
        i += n;
        for (const char c : convertito) {
            const auto b = static_cast<unsigned char>(c);
            if (b < 0x20 || b == 0x7F || senza_carattere_1252(b)) {
                tolti = true;
                continue;
            }
            if (b == ',' || b == '"') {
                tolti = true;
                byte += ' ';
                continue;
            }
            byte += static_cast<char>(maiuscola(b));
        }
    }
    const auto primo = byte.find_first_not_of(' ');
    const auto ultimo = byte.find_last_not_of(' ');
    esito.testo =
        primo == std::string::npos ? std::string() : byte.substr(primo, ultimo - primo + 1);
    if (esito.testo.empty()) {
        esito.testo = in_1252(riserva);
        esito.cambiamenti = "nome vuoto: diventa " + std::string(riserva);
        return esito;
    }
    if (sostituiti)
        esito.cambiamenti = "caratteri senza posto in Windows-1252 sostituiti da ?";
    if (tolti)
        esito.cambiamenti += std::string(esito.cambiamenti.empty() ? "" : "; ") +
                             "virgole, virgolette e caratteri di controllo tolti";
    return esito;
}

std::optional<std::string> nome_troppo_lungo(std::string_view utf8) {
    // A character is a byte that does not continue a UTF-8 sequence; the count stops early so
    // that a huge name costs no more than its first bytes.
    std::size_t caratteri = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 && ++caratteri > caratteri_nome_massimi)
            return "nome di stazione di " + std::to_string(utf8.size()) + " byte, oltre i " +
                   std::to_string(caratteri_nome_massimi) + " caratteri che un nome puo' avere";
    return std::nullopt;
}

std::optional<double> marciapiede_plausibile(std::optional<double> metri) {
    if (!metri || !std::isfinite(*metri) || *metri <= 0 || *metri > marciapiede_massimo_m)
        return std::nullopt;
    return metri;
}

std::string marciapiede_fuori_intervallo(std::string_view testo) {
    constexpr std::size_t mostrati = 40;
    const std::string valore = testo.size() > mostrati
                                   ? std::string(testo.substr(0, mostrati)) + "..."
                                   : std::string(testo);
    return "lunghezza del marciapiede \"" + valore + "\" fuori dall'intervallo (oltre 0 e fino a " +
           std::to_string(static_cast<int>(marciapiede_massimo_m)) + " m): ignorata";
}

} // namespace corvenna
