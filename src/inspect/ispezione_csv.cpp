#include "inspect/ispezione_csv.hpp"

#include "base/codifica_1252.hpp"
#include "format/tracciato_record.hpp"
#include "inspect/ispezione_derivati.hpp"
#include "model/costruzione.hpp"

#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

namespace corvenna {

// A field as CSV holds it: quoted, with its quotes doubled, when it holds a separator, a quote
// or a line end.
std::string campo_csv(std::string_view testo) {
    if (testo.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(testo);
    std::string quotato = "\"";
    for (const char carattere : testo) {
        if (carattere == '"')
            quotato += '"';
        quotato += carattere;
    }
    return quotato + "\"";
}

// A name of the files (Windows-1252) as the CSV shows it, in UTF-8: a control byte (C0, DEL) and a
// byte the code page leaves without a character are written as text, "\x1b", so that none
// reaches a spreadsheet or a terminal as a command and every row stays one line.
std::string nome_csv(std::string_view byte_1252) {
    std::string testo;
    std::size_t inizio = 0;
    for (std::size_t i = 0; i < byte_1252.size(); ++i) {
        const auto b = static_cast<unsigned char>(byte_1252[i]);
        if (b >= 0x20 && b != 0x7F && !senza_carattere_1252(b))
            continue;
        testo += da_1252(byte_1252.substr(inizio, i - inizio));
        aggiungi_byte_escapato(testo, b);
        inizio = i + 1;
    }
    return testo + da_1252(byte_1252.substr(inizio));
}

namespace {

class righe_csv {
  public:
    righe_csv(std::ostream& uscita, std::string_view a_capo) : uscita_(uscita), a_capo_(a_capo) {}

    righe_csv& operator<<(std::string_view campo) {
        if (!riga_vuota_)
            riga_ += ',';
        riga_vuota_ = false;
        riga_ += campo_csv(campo);
        return *this;
    }
    void fine_riga() {
        riga_ += a_capo_;
        uscita_.write(riga_.data(), static_cast<std::streamsize>(riga_.size()));
        riga_.clear();
        riga_vuota_ = true;
    }

  private:
    std::ostream& uscita_;
    std::string_view a_capo_;
    std::string riga_;
    bool riga_vuota_ = true;
};

template <typename Record>
void intestazione_record(righe_csv& r) {
    const Record vuoto{};
    r << "indice";
    per_campi(vuoto, [&r](std::string_view nome, const auto&) { r << nome; });
}

template <typename Record>
void campi_record(righe_csv& r, std::size_t indice, const Record& record) {
    r << std::to_string(indice);
    per_campi(record, [&r](std::string_view, const auto& campo) {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(campo)>, std::string>)
            r << nome_csv(campo);
        else
            r << std::to_string(campo);
    });
}

void tabella_voci(righe_csv& r, const costruzione& c) {
    const derivati_scenario d = deriva(c);
    intestazione_record<voce>(r);
    r << "ruolo"
      << "ora"
      << "cella_fermata";
    r.fine_riga();
    for (std::size_t i = 0; i < c.voci.size(); ++i) {
        campi_record(r, i, c.voci[i]);
        const bool stazione = d.ruoli[i] == ruolo_voce::stazione;
        // A station the train passes has no stop and no time.
        const bool ora = stazione && d.celle_fermata[i] && c.voci[i].orario != 0;
        r << nome_ruolo(d.ruoli[i]) << (ora ? ora_del_giorno(c.voci[i].orario) : "")
          << (d.celle_fermata[i] ? std::to_string(*d.celle_fermata[i]) : "");
        r.fine_riga();
    }
}

void tabella_celle(righe_csv& r, const costruzione& c) {
    intestazione_record<cella>(r);
    r << "da_metro"
      << "nome_tipo"
      << "velocita_kmh"
      << "pendenza_per_mille";
    r.fine_riga();
    for (std::size_t k = 0; k < c.celle.size(); ++k) {
        const cella& x = c.celle[k];
        campi_record(r, k, x);
        r << std::to_string(metro_iniziale(k)) << nome_tipo_cella(x.tipo).value_or("")
          << std::to_string(velocita_kmh(x)) << std::to_string(pendenza_per_mille(x));
        r.fine_riga();
    }
}

std::string testo_elemento(const asse_planimetria& asse, std::size_t metro) {
    switch (asse.tipo(metro)) {
    case tipo_valore::intero:
        return std::to_string(static_cast<int>(asse.numero(metro)));
    case tipo_valore::doppio:
        return testo_doppio(asse.numero(metro));
    case tipo_valore::vuoto:
        break;
    }
    return "";
}

void tabella_planimetria(righe_csv& r, const costruzione& c) {
    r << "metro"
      << "x"
      << "tipo_x"
      << "y"
      << "tipo_y";
    r.fine_riga();
    const asse_planimetria& x = c.planimetria[asse_x];
    const asse_planimetria& y = c.planimetria[asse_y];
    for (std::size_t metro = 0; metro < x.size() && metro < y.size(); ++metro) {
        r << std::to_string(metro) << testo_elemento(x, metro) << nome_tipo_valore(x.tipo(metro))
          << testo_elemento(y, metro) << nome_tipo_valore(y.tipo(metro));
        r.fine_riga();
    }
}

} // namespace

std::optional<tabella_ispezione> tabella_di_nome(std::string_view nome) {
    if (nome == "voci")
        return tabella_ispezione::voci;
    if (nome == "celle")
        return tabella_ispezione::celle;
    if (nome == "planimetria")
        return tabella_ispezione::planimetria;
    return std::nullopt;
}

void scrivi_csv(std::ostream& uscita, const costruzione& c, tabella_ispezione tabella,
                std::string_view a_capo) {
    righe_csv r(uscita, a_capo);
    switch (tabella) {
    case tabella_ispezione::voci:
        tabella_voci(r, c);
        return;
    case tabella_ispezione::celle:
        tabella_celle(r, c);
        return;
    case tabella_ispezione::planimetria:
        tabella_planimetria(r, c);
        return;
    }
}

} // namespace corvenna
