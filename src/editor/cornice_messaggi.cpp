#include "editor/cornice_messaggi.hpp"

#include <algorithm>
#include <cctype>
#include <string>

namespace corvenna {

namespace {

constexpr std::string_view nome_lunghezza = "content-length";

bool uguale_senza_maiuscole(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view senza_spazi(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// The header's declared length, or the reason there is none usable.
struct lunghezza_letta {
    std::size_t valore = 0;
    std::string errore;
};

lunghezza_letta leggi_intestazione(std::string_view intestazione) {
    lunghezza_letta r;
    bool trovata = false;
    std::size_t p = 0;
    while (p < intestazione.size()) {
        std::size_t fine = intestazione.find("\r\n", p);
        if (fine == std::string_view::npos)
            fine = intestazione.size();
        const std::string_view riga = intestazione.substr(p, fine - p);
        p = fine + 2;
        const std::size_t due_punti = riga.find(':');
        if (due_punti == std::string_view::npos) {
            r.errore = "riga dell'intestazione senza ':'";
            return r;
        }
        if (!uguale_senza_maiuscole(senza_spazi(riga.substr(0, due_punti)), nome_lunghezza))
            continue;
        const std::string_view valore = senza_spazi(riga.substr(due_punti + 1));
        const std::string mostrato =
            std::string(valore.substr(0, 40)) + (valore.size() > 40 ? "..." : "");
        if (valore.empty() || !std::all_of(valore.begin(), valore.end(), [](char c) {
                return std::isdigit(static_cast<unsigned char>(c));
            })) {
            r.errore = "Content-Length non e' un numero: " + mostrato;
            return r;
        }
        // More digits than the largest body has is past it, however many there are.
        if (valore.size() > std::to_string(massimo_corpo).size()) {
            r.errore = "Content-Length " + mostrato + " oltre il massimo di " +
                       std::to_string(massimo_corpo) + " byte";
            return r;
        }
        r.valore = std::stoull(std::string(valore));
        trovata = true;
    }
    if (!trovata)
        r.errore = "intestazione senza Content-Length";
    else if (r.valore > massimo_corpo)
        r.errore = "Content-Length " + std::to_string(r.valore) + " oltre il massimo di " +
                   std::to_string(massimo_corpo) + " byte";
    return r;
}

} // namespace

void lettore_cornici::risincronizza(std::size_t da) {
    // The next header that may begin a message: its name, in any case, wherever it stands (a
    // body shorter than its declared length leaves its tail just before the next header).
    std::size_t p = da;
    for (;;) {
        p = buffer_.find_first_of("cC", p);
        if (p == std::string::npos) {
            // No name starts here, not even one cut short by the end of what has come.
            letti_ = buffer_.size();
            break;
        }
        const std::string_view resto = std::string_view(buffer_).substr(p, nome_lunghezza.size());
        if (uguale_senza_maiuscole(resto, nome_lunghezza.substr(0, resto.size()))) {
            letti_ = p;
            break;
        }
        ++p;
    }
    buffer_.erase(0, letti_);
    letti_ = 0;
}

std::optional<cornice> lettore_cornici::prossima() {
    const std::size_t fine_intestazione = buffer_.find("\r\n\r\n", letti_);
    if (fine_intestazione == std::string::npos) {
        // A header never ends within a sane size: junk, dropped so memory stays bounded.
        if (in_attesa() > 8192) {
            risincronizza(letti_ + 1);
            return cornice{{}, "intestazione troppo lunga o senza riga vuota"};
        }
        return std::nullopt;
    }
    const lunghezza_letta l =
        leggi_intestazione(std::string_view(buffer_).substr(letti_, fine_intestazione - letti_));
    if (!l.errore.empty()) {
        risincronizza(letti_ + 1);
        return cornice{{}, l.errore};
    }
    const std::size_t inizio_corpo = fine_intestazione + 4;
    if (buffer_.size() - inizio_corpo < l.valore)
        return std::nullopt;
    cornice c;
    c.corpo = buffer_.substr(inizio_corpo, l.valore);
    buffer_.erase(0, inizio_corpo + l.valore);
    letti_ = 0;
    return c;
}

std::string incornicia(std::string_view corpo) {
    std::string r = "Content-Length: " + std::to_string(corpo.size()) + "\r\n\r\n";
    r += corpo;
    return r;
}

} // namespace corvenna
