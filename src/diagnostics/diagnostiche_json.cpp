#include "diagnostics/diagnostiche_json.hpp"

#include "base/codifica_1252.hpp"
#include "diagnostics/tipi_diagnostica.hpp"

#include <nlohmann/json.hpp>

#include <ostream>
#include <utility>

namespace corvenna {

namespace {

using json = nlohmann::ordered_json;

// A line or column: null when not known.
json numero_o_null(int n) {
    return n > 0 ? json(n) : json(nullptr);
}

std::string nome_file(const std::optional<descrizione>& file, std::string_view nome_linea,
                      std::string_view nome_treno) {
    return std::string(*file == descrizione::linea ? nome_linea : nome_treno);
}

json file_o_null(const std::optional<descrizione>& file, std::string_view nome_linea,
                 std::string_view nome_treno) {
    return file ? json(nome_file(file, nome_linea, nome_treno)) : json(nullptr);
}

json oggetto_diagnostica(const diagnostica& d, std::string_view nome_linea,
                         std::string_view nome_treno) {
    json x;
    x["file"] = file_o_null(d.file, nome_linea, nome_treno);
    x["riga"] = numero_o_null(d.riga);
    x["colonna"] = d.riga > 0 ? numero_o_null(d.colonna) : json(nullptr);
    const bool errore = d.livello == gravita::errore;
    x["gravita"] = errore ? "errore" : "avviso";
    // A warning made an error keeps its name.
    if (d.tipo)
        x["codice"] = std::string(tipo_di(*d.tipo).nome);
    else
        x["codice"] = d.codice;
    x["messaggio"] = da_1252(d.messaggio);
    if (d.metri)
        x["metri"] = *d.metri;
    else
        x["metri"] = nullptr;
    x["nome"] = nome_del_tipo(d);
    x["numero"] = d.tipo ? json(nullptr) : json(d.codice);
    x["colonna_fine"] = d.riga > 0 && d.colonna > 0 ? numero_o_null(d.colonna_fine) : json(nullptr);
    json correlati = json::array();
    for (const luogo_correlato& c : d.correlati) {
        json y;
        y["file"] = file_o_null(c.file, nome_linea, nome_treno);
        y["riga"] = numero_o_null(c.riga);
        y["colonna"] = c.riga > 0 ? numero_o_null(c.colonna) : json(nullptr);
        y["messaggio"] = da_1252(c.messaggio);
        correlati.push_back(std::move(y));
    }
    x["correlati"] = std::move(correlati);
    json correzioni = json::array();
    for (const correzione& c : d.correzioni) {
        json y;
        y["titolo"] = da_1252(c.titolo);
        y["file"] = file_o_null(c.file, nome_linea, nome_treno);
        y["riga"] = numero_o_null(c.riga);
        y["colonna"] = numero_o_null(c.colonna);
        y["colonna_fine"] = numero_o_null(c.colonna_fine);
        y["testo"] = da_1252(c.testo);
        correzioni.push_back(std::move(y));
    }
    x["correzioni"] = std::move(correzioni);
    return x;
}

json oggetto_tralasciate(const diagnostiche_tralasciate& t) {
    json x;
    x["file"] = nullptr;
    x["riga"] = nullptr;
    x["colonna"] = nullptr;
    x["gravita"] = t.livello == gravita::errore ? "errore" : "avviso";
    if (t.tipo)
        x["codice"] = std::string(tipo_di(*t.tipo).nome);
    else
        x["codice"] = t.codice;
    x["messaggio"] = testo_tralasciate(t);
    x["metri"] = nullptr;
    x["nome"] = t.tipo ? std::string(tipo_di(*t.tipo).nome) : nome_di_codice(t.codice);
    x["numero"] = t.tipo ? json(nullptr) : json(t.codice);
    x["colonna_fine"] = nullptr;
    x["correlati"] = json::array();
    x["correzioni"] = json::array();
    x["tralasciate"] = t.quante;
    return x;
}

// A name that is not valid UTF-8 must not stop the report: its bad bytes are replaced, so the
// output is valid UTF-8 whatever the bytes it quotes.
std::string testo_json(const json& x, int rientro) {
    return x.dump(rientro, ' ', false, json::error_handler_t::replace);
}

// Writes the elements of an array one at a time, as nlohmann's dump of the whole array would.
class array_json {
  public:
    array_json(std::ostream& uscita, int rientro) : uscita_(uscita), rientro_(rientro) {}

    void aggiungi(const json& x) {
        uscita_ << (primo_ ? "[" : ",");
        std::string testo = testo_json(x, rientro_);
        if (rientro_ >= 0) {
            // One level deeper than the object alone.
            const std::string margine(static_cast<std::size_t>(rientro_), ' ');
            uscita_ << '\n' << margine;
            for (const char c : testo) {
                uscita_ << c;
                if (c == '\n')
                    uscita_ << margine;
            }
        } else {
            uscita_ << testo;
        }
        primo_ = false;
    }
    void chiudi() {
        if (primo_)
            uscita_ << '[';
        else if (rientro_ >= 0)
            uscita_ << '\n';
        uscita_ << ']';
    }

  private:
    std::ostream& uscita_;
    int rientro_;
    bool primo_ = true;
};

} // namespace

std::string nome_di_codice(std::int32_t codice) {
    if (const tipo_diagnostica* t = tipo_di_codice(codice))
        return std::string(t->nome);
    return "codice-" + std::to_string(codice);
}

std::string nome_del_tipo(const diagnostica& d) {
    return d.tipo ? std::string(tipo_di(*d.tipo).nome) : nome_di_codice(d.codice);
}

std::string diagnostiche_json(const elenco_diagnostiche& elenco, std::string_view nome_linea,
                              std::string_view nome_treno, int rientro) {
    json array = json::array();
    for (const diagnostica& d : elenco)
        array.push_back(oggetto_diagnostica(d, nome_linea, nome_treno));
    return testo_json(array, rientro);
}

void scrivi_diagnostiche_json(std::ostream& uscita, const elenco_diagnostiche& elenco,
                              std::string_view nome_linea, std::string_view nome_treno,
                              limite_diagnostiche& limite, int rientro) {
    array_json array(uscita, rientro);
    for (const diagnostica& d : elenco)
        if (limite.mostra(d))
            array.aggiungi(oggetto_diagnostica(d, nome_linea, nome_treno));
    for (const diagnostiche_tralasciate& t : limite.tralasciate())
        array.aggiungi(oggetto_tralasciate(t));
    array.chiudi();
}

} // namespace corvenna
