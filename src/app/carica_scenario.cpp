#include "app/carica_scenario.hpp"

#include "output/errore_file.hpp"
#include "output/nomi_file.hpp"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

namespace corvenna {

namespace {

namespace fs = std::filesystem;

std::string leggi_tutto(const fs::path& p) {
    std::ifstream ingresso(p, std::ios::binary);
    if (!ingresso)
        throw errore_file(p, "impossibile aprire il file");
    return std::string(std::istreambuf_iterator<char>(ingresso), {});
}

class lettore {
  public:
    lettore(const fs::path& file, const std::string& dati) : file_(file), dati_(dati) {}

    bool finito() const { return pos_ == dati_.size(); }

    std::uint64_t senza_segno(std::size_t larghezza, const char* cosa) {
        if (dati_.size() - pos_ < larghezza)
            throw errore_file(file_, "byte " + std::to_string(pos_) + ": attesi " +
                                         std::to_string(larghezza) + " byte per " + cosa +
                                         ", ne restano " + std::to_string(dati_.size() - pos_));
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < larghezza; ++i)
            v |= std::uint64_t{static_cast<unsigned char>(dati_[pos_ + i])} << (8 * i);
        pos_ += larghezza;
        return v;
    }
    std::uint8_t byte(const char* cosa) { return static_cast<std::uint8_t>(senza_segno(1, cosa)); }
    std::int16_t intero(const char* cosa) {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(senza_segno(2, cosa)));
    }
    std::int32_t lungo(const char* cosa) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(senza_segno(4, cosa)));
    }
    double doppio(const char* cosa) {
        const std::uint64_t v = senza_segno(8, cosa);
        double d;
        std::memcpy(&d, &v, sizeof d);
        return d;
    }
    std::string testo(const char* cosa) {
        const std::int16_t n = intero(cosa);
        if (n < 0)
            throw errore_file(file_, "byte " + std::to_string(pos_ - 2) +
                                         ": lunghezza di testo negativa per " + cosa);
        const auto lunghezza = static_cast<std::size_t>(n);
        if (dati_.size() - pos_ < lunghezza)
            throw errore_file(file_, "byte " + std::to_string(pos_) + ": attesi " +
                                         std::to_string(lunghezza) + " byte di testo per " + cosa +
                                         ", ne restano " + std::to_string(dati_.size() - pos_));
        std::string t = dati_.substr(pos_, lunghezza);
        pos_ += lunghezza;
        return t;
    }
    std::size_t posizione() const { return pos_; }

  private:
    const fs::path& file_;
    const std::string& dati_;
    std::size_t pos_ = 0;
};

void leggi_voci(const fs::path& p, costruzione& c) {
    const std::string dati = leggi_tutto(p);
    lettore l(p, dati);
    for (voce& v : c.voci) {
        v.tipo = l.byte("una voce");
        v.inizio = l.lungo("una voce");
        v.fine = l.lungo("una voce");
        v.posizione = l.lungo("una voce");
        v.b1 = l.byte("una voce");
        v.nome = l.testo("una voce");
        v.i1 = l.intero("una voce");
        v.i2 = l.intero("una voce");
        v.i3 = l.intero("una voce");
        v.i4 = l.intero("una voce");
        v.i5 = l.intero("una voce");
        v.b4 = l.byte("una voce");
        v.b5 = l.byte("una voce");
        v.b3 = l.byte("una voce");
        v.b2 = l.byte("una voce");
        v.orario = l.lungo("una voce");
    }
    if (!l.finito())
        throw errore_file(p, "byte " + std::to_string(l.posizione()) + ": dati oltre le 87 voci");
}

void leggi_celle(const fs::path& p, costruzione& c) {
    constexpr std::size_t byte_cella = 15;
    const std::string dati = leggi_tutto(p);
    if (dati.empty() || dati.size() % byte_cella != 0)
        throw errore_file(p, "la lunghezza di " + std::to_string(dati.size()) +
                                 " byte non e' un multiplo di 15 byte per cella");
    lettore l(p, dati);
    c.celle.resize(dati.size() / byte_cella);
    for (cella& x : c.celle) {
        x.tipo = l.byte("una cella");
        x.dato1 = l.intero("una cella");
        x.dato2 = l.intero("una cella");
        x.dato3 = l.intero("una cella");
        x.dato4 = l.intero("una cella");
        x.tempo = l.byte("una cella");
        x.avviso = l.byte("una cella");
        x.montagna = l.byte("una cella");
        x.velocita = l.byte("una cella");
        x.pendenza = l.byte("una cella");
        x.aderenza = l.byte("una cella");
    }
    c.ultima_cella = static_cast<std::int32_t>(c.celle.size() - 1);
}

void leggi_planimetria(const fs::path& p, costruzione& c) {
    const std::string dati = leggi_tutto(p);
    lettore l(p, dati);
    std::vector<valore_planimetria> valori;
    while (!l.finito()) {
        const std::size_t inizio = l.posizione();
        switch (l.intero("un elemento della planimetria")) {
        case 0:
            valori.emplace_back(std::monostate{});
            break;
        case 2:
            valori.emplace_back(l.intero("un elemento della planimetria"));
            break;
        case 5:
            valori.emplace_back(l.doppio("un elemento della planimetria"));
            break;
        default:
            throw errore_file(p, "byte " + std::to_string(inizio) +
                                     ": etichetta di elemento sconosciuta");
        }
    }
    if (valori.size() % 2 != 0)
        throw errore_file(p, "numero dispari di elementi: le due coordinate non si accordano");
    const std::size_t n = valori.size() / 2;
    for (int asse = 0; asse < 2; ++asse) {
        c.planimetria[static_cast<std::size_t>(asse)].resize(n);
        for (std::size_t m = 0; m < n; ++m)
            c.planimetria[static_cast<std::size_t>(asse)].imposta(
                m, valori[static_cast<std::size_t>(asse) * n + m]);
    }
    c.genera_planimetria = 1;
    c.lunghezza_totale = n > 0 ? static_cast<std::int32_t>(n - 1) : 0;
}

struct file_scenario {
    std::optional<fs::path> planimetria, voci, celle;
};

file_scenario trova_in_cartella(const fs::path& cartella, std::string nome, std::string treno) {
    if (nome.empty() || treno.empty()) {
        std::optional<fs::path> unico;
        for (const fs::directory_entry& voce : fs::directory_iterator(cartella)) {
            if (voce.path().extension() != ".sim")
                continue;
            if (unico)
                throw errore_file(cartella, "contiene piu' di uno scenario: indicare --nome e "
                                            "--treno");
            unico = voce.path();
        }
        if (!unico)
            throw errore_file(cartella, "nessun file .sim di uno scenario compilato");
        const std::string radice = unico->stem().string();
        const std::size_t sep = radice.rfind('_');
        if (sep == std::string::npos)
            throw errore_file(*unico, "il nome non ha la forma NOME_NUMERO.sim");
        if (nome.empty())
            nome = radice.substr(0, sep);
        if (treno.empty())
            treno = radice.substr(sep + 1);
    }
    costruzione identita;
    identita.nome_scenario = nome;
    identita.numero_treno = treno;
    file_scenario f;
    f.voci = percorso_file(cartella, identita, file_uscita::voci);
    f.celle = percorso_file(cartella, identita, file_uscita::celle);
    const fs::path planimetria = percorso_file(cartella, identita, file_uscita::planimetria);
    if (fs::exists(planimetria))
        f.planimetria = planimetria;
    return f;
}

} // namespace

costruzione carica_scenario(const std::vector<fs::path>& percorsi, const std::string& nome,
                            const std::string& numero_treno) {
    file_scenario f;
    if (percorsi.size() == 1 && fs::is_directory(percorsi.front())) {
        f = trova_in_cartella(percorsi.front(), nome, numero_treno);
    } else {
        for (const fs::path& p : percorsi) {
            const std::string n = p.filename().string();
            if (p.extension() == ".sim")
                f.voci = p;
            else if (n.ends_with("_linea.dat"))
                f.planimetria = p;
            else if (p.extension() == ".dat")
                f.celle = p;
            else
                throw errore_file(p, "non e' un file di uno scenario compilato");
        }
    }
    if (!f.voci)
        throw errore_file(percorsi.empty() ? fs::path(".") : percorsi.front(),
                          "manca il file delle voci (.sim)");
    if (!f.celle)
        throw errore_file(*f.voci, "manca il file delle celle (.dat)");
    costruzione c;
    leggi_voci(*f.voci, c);
    leggi_celle(*f.celle, c);
    if (f.planimetria)
        leggi_planimetria(*f.planimetria, c);
    c.nome_scenario = c.voci[voce_scenario].nome;
    c.numero_treno = c.voci[voce_treno].nome;
    return c;
}

} // namespace corvenna
