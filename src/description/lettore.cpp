#include "description/lettore.hpp"

#include "description/taglio_campi.hpp"

#include <algorithm>
#include <fstream>
#include <limits>
#include <system_error>
#include <utility>

namespace corvenna {

namespace {

constexpr char minuscola(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
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
    const taglio_campo c = taglia_testo(t, pos_);
    inizia_campo(c.inizio);
    fine_campo_ = c.fine;
    if (c.aperte) {
        // An unclosed quote would swallow the rest of the description unnoticed.
        fallisci(causa_fallimento::virgolette_aperte);
        return {};
    }
    accorciato_ = c.virgolette ? dopo_spazi(t, c.fine) < c.separatore : c.fine < c.separatore;
    avanza(c.seguente);
    return std::string(testo_tagliato(t, c));
}

std::optional<std::int64_t> lettore_descrizione::leggi_numero(std::int64_t minimo,
                                                              std::int64_t massimo) {
    const std::string_view t = testo_;
    if (fallito_ || pos_ >= t.size()) {
        fallisci(causa_fallimento::fine_testo);
        return std::nullopt;
    }
    const taglio_campo c = taglia_numero(t, pos_);
    inizia_campo(c.inizio);
    fine_campo_ = c.fine;
    const auto valore = numero_campo(t.substr(c.inizio, c.fine - c.inizio));
    if (!valore) {
        fallisci(causa_fallimento::non_numero);
        return std::nullopt;
    }
    if (*valore < minimo || *valore > massimo) {
        minimo_ = minimo;
        massimo_ = massimo;
        fallisci(causa_fallimento::fuori_tipo);
        return std::nullopt;
    }
    avanza(c.seguente);
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
