#include "platform/registro_sostituzione.hpp"

#include "base/forme_nomi_file.hpp"
#include "platform/nomi_temporanei.hpp"

namespace corvenna {

namespace {

constexpr std::string_view intestazione = "sostituzione 1";
constexpr std::string_view chiusura = "fine";

// The record's lines, each without its CR LF; std::nullopt when a line is not ended so.
std::optional<std::vector<std::string_view>> righe(std::string_view testo) {
    std::vector<std::string_view> esito;
    while (!testo.empty()) {
        const std::size_t fine = testo.find("\r\n");
        if (fine == std::string_view::npos)
            return std::nullopt;
        esito.push_back(testo.substr(0, fine));
        testo.remove_prefix(fine + 2);
    }
    return esito;
}

std::vector<std::string_view> campi(std::string_view riga) {
    std::vector<std::string_view> esito;
    for (;;) {
        const std::size_t tab = riga.find('\t');
        esito.push_back(riga.substr(0, tab));
        if (tab == std::string_view::npos)
            return esito;
        riga.remove_prefix(tab + 1);
    }
}

} // namespace

bool nome_registrabile(std::string_view nome) {
    return nome_semplice(nome) && nome.find_first_of("\t\r\n") == std::string_view::npos &&
           file_di_nome(nome).has_value();
}

bool nome_rimovibile(std::string_view nome) {
    const std::optional<file_uscita> file = file_di_nome(nome);
    return nome_registrabile(nome) && !e_descrizione(*file);
}

std::string testo_registro(const std::vector<voce_registro>& voci) {
    std::string testo = std::string(intestazione) + "\r\n";
    for (const voce_registro& v : voci)
        testo += v.temporaneo.empty() ? "C\t" + v.destinazione + "\r\n"
                                      : "R\t" + v.temporaneo + "\t" + v.destinazione + "\r\n";
    return testo + std::string(chiusura) + "\r\n";
}

std::optional<std::vector<voce_registro>> leggi_registro(std::string_view testo) {
    const auto linee = righe(testo);
    if (!linee || linee->size() < 2 || linee->front() != intestazione || linee->back() != chiusura)
        return std::nullopt;
    std::vector<voce_registro> voci;
    for (std::size_t i = 1; i + 1 < linee->size(); ++i) {
        const std::vector<std::string_view> c = campi((*linee)[i]);
        voce_registro v;
        if (c.size() == 3 && c[0] == "R" && nome_registrabile(c[2]) &&
            temporaneo_creato_di(c[1], c[2])) {
            v.temporaneo = c[1];
            v.destinazione = c[2];
        } else if (c.size() == 2 && c[0] == "C" && nome_rimovibile(c[1])) {
            v.destinazione = c[1];
        } else {
            return std::nullopt;
        }
        voci.push_back(std::move(v));
    }
    return voci;
}

} // namespace corvenna
