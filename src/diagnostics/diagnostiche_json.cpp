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

json oggetto_diagnostica(const diagnostica& d, std::string_view nome_linea,
                         std::string_view nome_treno) {
    json x;
    if (d.file)
        x["file"] = std::string(*d.file == descrizione::linea ? nome_linea : nome_treno);
    else
        x["file"] = nullptr;
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
