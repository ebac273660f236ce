#include "description/lettore.hpp"

#include <algorithm>
#include <fstream>
#include <limits>
#include <system_error>
#include <utility>

namespace corvenna {

namespace {

constexpr bool e_spazio(char c) {
    return c == ' ' || c == '\t';
}
constexpr bool e_a_capo(char c) {
    return c == '\r' || c == '\n';
}
constexpr bool e_cifra(char c) {
    return c >= '0' && c <= '9';
}
constexpr bool chiude_campo(char c) {
    return c == ',' || e_a_capo(c);
}

constexpr char minuscola(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Beyond this magnitude a number fits no type the reader serves; further digits stop adding to
// the value, so a long run of digits cannot overflow the accumulation.
constexpr std::int64_t limite_accumulo = 1'000'000'000'000;

std::size_t dopo_spazi(std::string_view t, std::size_t p) {
    while (p < t.size() && e_spazio(t[p]))
        ++p;
    return p;
}

// The position after the comma or line end that stands at `p`; `p` itself when neither does.
// A line end is CR LF, a lone CR or a lone LF.
std::size_t dopo_separatore(std::string_view t, std::size_t p) {
    if (p >= t.size())
        return p;
    if (t[p] == ',' || t[p] == '\n')
        return p + 1;
    if (t[p] == '\r')
        return (p + 1 < t.size() && t[p + 1] == '\n') ? p + 2 : p + 1;
    return p;
}

} // namespace

lettore_descrizione::lettore_descrizione(std::string testo) : testo_(std::move(testo)) {}

std::optional<lettore_descrizione>
lettore_descrizione::apri(const std::filesystem::path& percorso) {
    std::error_code errore;
    if (std::filesystem::is_directory(percorso, errore))
        return std::nullopt;
    std::ifstream file(percorso, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string testo;
    char blocco[1 << 16];
    while (file.read(blocco, sizeof blocco) || file.gcount() > 0)
        testo.append(blocco, static_cast<std::size_t>(file.gcount()));
    if (file.bad())
        return std::nullopt;
    return lettore_descrizione(std::move(testo));
}

void lettore_descrizione::inizia_campo(std::size_t inizio) {
    a_inizio_riga_ = pos_ == inizio_riga_;
    inizio_campo_ = inizio;
    fine_campo_ = inizio;
    campo_ = {riga_, static_cast<int>(inizio - inizio_riga_ + 1)};
}

void lettore_descrizione::avanza(std::size_t nuova) {
    // A CR ends a line; an LF ends one unless it completes a CR LF.
    for (std::size_t i = pos_; i < nuova; ++i) {
        const char c = testo_[i];
        if (c == '\r' || (c == '\n' && (i == 0 || testo_[i - 1] != '\r')))
            ++riga_;
        if (e_a_capo(c))
            inizio_riga_ = i + 1;
    }
    pos_ = nuova;
}

void lettore_descrizione::fallisci(causa_fallimento causa) {
    if (!fallito_) {
        fallito_ = true;
        causa_ = causa;
        if (causa == causa_fallimento::fine_testo) {
            // Nothing is left: the place is just after the last byte of the last line, so
            // that it can be shown under that line.
            const std::string_view t = testo_;
            std::size_t fine = t.size();
            int riga = riga_;
            if (fine > 0 && e_a_capo(t[fine - 1])) {
                fine -= (fine >= 2 && t[fine - 2] == '\r' && t[fine - 1] == '\n') ? 2 : 1;
                --riga;
            }
            std::size_t inizio_ultima = fine;
            while (inizio_ultima > 0 && !e_a_capo(t[inizio_ultima - 1]))
                --inizio_ultima;
            a_inizio_riga_ = false;
            inizio_campo_ = fine_campo_ = t.size();
            campo_ = {std::max(riga, 1), static_cast<int>(fine - inizio_ultima + 1)};
        }
    }
    pos_ = testo_.size();
}

std::string lettore_descrizione::leggi_testo() {
    const std::string_view t = testo_;
    if (fallito_ || pos_ >= t.size()) {
        fallisci(causa_fallimento::fine_testo);
        return {};
    }
    const std::size_t inizio = dopo_spazi(t, pos_);
    inizia_campo(inizio);
    accorciato_ = false;
    if (inizio < t.size() && t[inizio] == '"') {
        // Quoted: everything up to the closing quote, commas and line ends included; whatever
        // stands between the closing quote and the next separator is dropped.
        const std::size_t chiusura = t.find('"', inizio + 1);
        if (chiusura == std::string_view::npos) {
            // An unclosed quote would swallow the rest of the description unnoticed.
            fine_campo_ = t.find_first_of(",\r\n", inizio);
            if (fine_campo_ == std::string_view::npos)
                fine_campo_ = t.size();
            fallisci(causa_fallimento::virgolette_aperte);
            return {};
        }
        std::string campo(t.substr(inizio + 1, chiusura - inizio - 1));
        std::size_t fine = t.find_first_of(",\r\n", chiusura + 1);
        if (fine == std::string_view::npos)
            fine = t.size();
        accorciato_ = dopo_spazi(t, chiusura + 1) < fine;
        fine_campo_ = chiusura + 1;
        avanza(dopo_separatore(t, fine));
        return campo;
    }
    std::size_t fine = t.find_first_of(",\r\n", inizio);
    if (fine == std::string_view::npos)
        fine = t.size();
    std::size_t ultimo = fine;
    while (ultimo > inizio && e_spazio(t[ultimo - 1]))
        --ultimo;
    accorciato_ = ultimo < fine;
    fine_campo_ = ultimo;
    avanza(dopo_separatore(t, fine));
    return std::string(t.substr(inizio, ultimo - inizio));
}

std::optional<std::int64_t> lettore_descrizione::leggi_numero(std::int64_t minimo,
                                                              std::int64_t massimo) {
    const std::string_view t = testo_;
    if (fallito_ || pos_ >= t.size()) {
        fallisci(causa_fallimento::fine_testo);
        return std::nullopt;
    }
    std::size_t p = dopo_spazi(t, pos_);
    inizia_campo(p);
    const bool negativo = p < t.size() && t[p] == '-';
    if (negativo)
        ++p;
    const std::size_t prima_cifra = p;
    std::int64_t valore = 0;
    for (; p < t.size() && e_cifra(t[p]); ++p) {
        if (valore <= limite_accumulo)
            valore = valore * 10 + (t[p] - '0');
    }
    const bool ha_cifre = p > prima_cifra;
    // The number must end at a blank, a separator or the end of the description; a minus sign
    // needs digits after it. A field with neither sign nor digits is empty and reads 0.
    if ((p < t.size() && !e_spazio(t[p]) && !chiude_campo(t[p])) || (negativo && !ha_cifre)) {
        while (p < t.size() && !e_spazio(t[p]) && !chiude_campo(t[p]))
            ++p;
        fine_campo_ = p;
        fallisci(causa_fallimento::non_numero);
        return std::nullopt;
    }
    fine_campo_ = p;
    if (negativo)
        valore = -valore;
    if (valore < minimo || valore > massimo) {
        minimo_ = minimo;
        massimo_ = massimo;
        fallisci(causa_fallimento::fuori_tipo);
        return std::nullopt;
    }
    avanza(dopo_separatore(t, dopo_spazi(t, p)));
    return valore;
}

std::int32_t lettore_descrizione::leggi_long() {
    const auto valore = leggi_numero(std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max());
    return valore ? static_cast<std::int32_t>(*valore) : 0;
}

std::int16_t lettore_descrizione::leggi_intero() {
    const auto valore = leggi_numero(std::numeric_limits<std::int16_t>::min(),
                                     std::numeric_limits<std::int16_t>::max());
    return valore ? static_cast<std::int16_t>(*valore) : std::int16_t{0};
}

std::uint8_t lettore_descrizione::leggi_byte() {
    const auto valore = leggi_numero(0, std::numeric_limits<std::uint8_t>::max());
    return valore ? static_cast<std::uint8_t>(*valore) : std::uint8_t{0};
}

bool lettore_descrizione::fine_file() const {
    return pos_ >= testo_.size();
}

int lettore_descrizione::riga_corrente() const {
    return fallito_ ? campo_.riga : riga_;
}

std::string_view lettore_descrizione::testo_campo() const {
    return std::string_view(testo_).substr(inizio_campo_, fine_campo_ - inizio_campo_);
}

bool contiene(std::string_view campo, std::string_view sottostringa) {
    const auto trovato =
        std::search(campo.begin(), campo.end(), sottostringa.begin(), sottostringa.end(),
                    [](char a, char b) { return minuscola(a) == minuscola(b); });
    return trovato != campo.end() || sottostringa.empty();
}

bool contiene_esatto(std::string_view campo, std::string_view sottostringa) {
    return campo.find(sottostringa) != std::string_view::npos;
}

bool e_intestazione(std::string_view campo) {
    const std::size_t primo = dopo_spazi(campo, 0);
    if (primo < campo.size() && campo[primo] == '-')
        return false;
    return contiene_esatto(campo, "[") && contiene_esatto(campo, "]");
}

bool e_campo_trattino(std::string_view campo) {
    return contiene_esatto(campo, "-");
}

} // namespace corvenna
