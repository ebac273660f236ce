#include "description/formato_descrizioni.hpp"

#include "description/formato_dati.hpp"
#include "description/lettore.hpp"

#include <algorithm>
#include <string>

namespace corvenna {

namespace {

char in_minuscolo(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A name as compared: lower case, a blank or an underscore alike, outer blanks and brackets
// dropped, so "[Generale]", "generale" and " generale " are one section and "numero vetture",
// "numero_vetture" one keyword.
std::string normalizzato(std::string_view nome) {
    while (!nome.empty() && (nome.front() == ' ' || nome.front() == '['))
        nome.remove_prefix(1);
    while (!nome.empty() && (nome.back() == ' ' || nome.back() == ']'))
        nome.remove_suffix(1);
    std::string n;
    for (char c : nome)
        n += c == '_' ? ' ' : in_minuscolo(c);
    return n;
}

bool corrisponde(const parola_chiave_formato& p, std::string_view campo) {
    return std::all_of(p.sottostringhe.begin(), p.sottostringhe.end(), [&](std::string_view s) {
        return p.maiuscole_esatte ? contiene_esatto(campo, s) : contiene(campo, s);
    });
}

} // namespace

std::string_view nome_tipo_campo(tipo_campo tipo) {
    switch (tipo) {
    case tipo_campo::intero_32:
        return "intero a 32 bit";
    case tipo_campo::intero_16:
        return "intero a 16 bit";
    case tipo_campo::byte:
        return "byte";
    case tipo_campo::testo:
        return "testo";
    }
    return "";
}

std::span<const sezione_formato> sezioni_formato() {
    return tabella_sezioni();
}

std::span<const parola_chiave_formato> parole_chiave_formato() {
    return tabella_parole_chiave();
}

std::span<const std::string_view> diagnostiche_di_ogni_riga() {
    return tabella_diagnostiche_comuni();
}

std::span<const std::string_view> regole_lettura() {
    return tabella_regole_lettura();
}

std::span<const rimando_formato> rimandi_formato() {
    return tabella_rimandi();
}

const rimando_formato* rimando_di(std::string_view parola) {
    const std::string cercata = normalizzato(parola);
    for (const rimando_formato& r : rimandi_formato())
        if (normalizzato(r.parola) == cercata)
            return &r;
    return nullptr;
}

const sezione_formato* sezione_di(descrizione file, std::string_view nome) {
    const std::string cercato = normalizzato(nome);
    for (const sezione_formato& s : sezioni_formato())
        if (s.file == file && normalizzato(s.nome) == cercato)
            return &s;
    return nullptr;
}

std::vector<const parola_chiave_formato*> parole_di_sezione(descrizione file,
                                                            std::string_view nome) {
    const std::string cercato = normalizzato(nome);
    std::vector<const parola_chiave_formato*> trovate;
    for (const parola_chiave_formato& p : parole_chiave_formato())
        if (p.file == file && normalizzato(p.sezione) == cercato)
            trovate.push_back(&p);
    return trovate;
}

const parola_chiave_formato* parola_chiave_di(std::string_view parola) {
    const std::string cercata = normalizzato(parola);
    for (const parola_chiave_formato& p : parole_chiave_formato())
        if (normalizzato(p.parola) == cercata)
            return &p;
    return nullptr;
}

std::vector<const parola_chiave_formato*>
parole_corrispondenti(descrizione file, std::string_view campo, bool in_generale) {
    std::vector<const parola_chiave_formato*> trovate;
    for (const parola_chiave_formato& p : parole_chiave_formato()) {
        if (p.file != file)
            continue;
        // In the line description the general keywords live only in the general section, and
        // only they do.
        if (file == descrizione::linea && p.solo_in_sezione != in_generale)
            continue;
        if (corrisponde(p, campo))
            trovate.push_back(&p);
    }
    return trovate;
}

const campo_formato* campo_di(const parola_chiave_formato& parola, std::string_view nome) {
    for (const campo_formato& c : parola.campi)
        if (c.nome == nome)
            return &c;
    return nullptr;
}

std::string_view titolo_descrizione(descrizione file) {
    return file == descrizione::linea ? "descrizione della linea" : "descrizione del treno";
}

} // namespace corvenna
