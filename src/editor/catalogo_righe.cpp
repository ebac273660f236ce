#include "editor/catalogo_righe.hpp"

#include "description/formato_descrizioni.hpp"

#include <algorithm>
#include <array>
#include <cctype>

namespace corvenna {

namespace {

// A value is a place on the route when it is counted in metres from the start: every such value
// is named after what it places, never after a length or an offset.
bool e_posizione(const campo_formato& c) {
    constexpr std::array<std::string_view, 4> nomi{"posizione", "inizio", "fine", "x"};
    return c.unita == "m" && std::find(nomi.begin(), nomi.end(), c.nome) != nomi.end();
}

// The editor's view of the format's table: the same keywords, in the order the compiler tests
// them, with what hover and completion show.
const std::vector<voce_riga>& tabella() {
    static const std::vector<voce_riga> righe = [] {
        std::vector<voce_riga> r;
        for (const parola_chiave_formato& p : parole_chiave_formato()) {
            voce_riga v;
            v.file = p.file;
            v.sottostringhe.assign(p.sottostringhe.begin(), p.sottostringhe.end());
            v.esatta = p.maiuscole_esatte;
            v.parola = p.parola;
            v.sezione = p.sezione;
            v.significato = p.significato;
            for (const campo_formato& c : p.campi)
                v.campi.push_back(
                    {c.nome, c.unita, c.significato, c.tipo == tipo_campo::testo, e_posizione(c)});
            r.push_back(std::move(v));
        }
        return r;
    }();
    return righe;
}

// The section headers of each description, in the order the table gives them.
const std::vector<std::string_view>& sezioni(descrizione d) {
    static const std::array<std::vector<std::string_view>, 2> per_file = [] {
        std::array<std::vector<std::string_view>, 2> s;
        for (const sezione_formato& f : sezioni_formato())
            s[f.file == descrizione::linea ? 0 : 1].push_back(f.nome);
        return s;
    }();
    return per_file[d == descrizione::linea ? 0 : 1];
}

bool contiene_parte(std::string_view campo, std::string_view parte, bool esatta) {
    const auto uguali = [esatta](char a, char b) {
        return esatta ? a == b
                      : std::tolower(static_cast<unsigned char>(a)) ==
                            std::tolower(static_cast<unsigned char>(b));
    };
    return std::search(campo.begin(), campo.end(), parte.begin(), parte.end(), uguali) !=
           campo.end();
}

} // namespace

std::span<const voce_riga> catalogo_righe() {
    return tabella();
}

std::span<const std::string_view> intestazioni_sezioni(descrizione d) {
    return sezioni(d);
}

std::optional<std::size_t> indice_campo(const voce_riga& v, std::string_view nome) {
    for (std::size_t k = 0; k < v.campi.size(); ++k)
        if (v.campi[k].nome == nome)
            return k + 1;
    return std::nullopt;
}

const voce_riga* voce_per_parola(descrizione d, std::string_view parola) {
    // A header or a dropped field is no row.
    if (parola.find('[') != std::string_view::npos || parola.find('-') != std::string_view::npos)
        return nullptr;
    for (const voce_riga& v : tabella()) {
        if (v.file != d)
            continue;
        if (std::all_of(v.sottostringhe.begin(), v.sottostringhe.end(),
                        [&](std::string_view s) { return contiene_parte(parola, s, v.esatta); }))
            return &v;
    }
    return nullptr;
}

} // namespace corvenna
