#include "tool/carica_scenario.hpp"

#include "base/errore_file.hpp"
#include "format/nomi_file.hpp"
#include "input/errore_lettura.hpp"
#include "input/file_binari_letti.hpp"

#include "base/codifica_1252.hpp"
#include "diagnostics/testo_mostrabile.hpp"
#include "platform/file_regolare.hpp"
#include "tool/identita_da_nomi.hpp"
#include "tool/ingresso_descrizione.hpp"
#include "tool/stampa_diagnostiche.hpp"

#include <algorithm>
#include <cctype>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>

namespace corvenna {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view coda_voci = ".sim";
constexpr std::string_view coda_celle = ".dat";
constexpr std::string_view coda_planimetria = "_linea.dat";

bool finisce_con(const fs::path& percorso, std::string_view coda) {
    const std::string nome = percorso.filename().string();
    return nome.size() > coda.size() && nome.ends_with(coda);
}

// The files by the naming table; the plan view only when something is there.
file_scenario file_per_identita(const fs::path& cartella, const identita_scenario& identita) {
    costruzione c;
    c.nome_scenario = identita.nome_scenario;
    c.numero_treno = identita.numero_treno;
    file_scenario f;
    f.voci = percorso_file(cartella, c, file_uscita::voci);
    f.celle = percorso_file(cartella, c, file_uscita::celle);
    const fs::path planimetria = percorso_file(cartella, c, file_uscita::planimetria);
    std::error_code errore;
    if (fs::exists(fs::symlink_status(planimetria, errore)))
        f.planimetria = planimetria;
    return f;
}

// Without an identity: the only item file NOME_NUMERO.sim, the cell file NOME_NUMERO.dat and
// the plan view P_linea.dat whose P, followed by "_", begins NOME_NUMERO (the longest such P).
file_scenario file_dell_unico_scenario(const fs::path& cartella) {
    std::vector<std::string> voci;
    std::vector<std::string> planimetrie;
    for (const fs::directory_entry& voce : fs::directory_iterator(cartella)) {
        if (finisce_con(voce.path(), coda_voci))
            voci.push_back(voce.path().filename().string());
        else if (finisce_con(voce.path(), coda_planimetria))
            planimetrie.push_back(voce.path().filename().string());
    }
    if (voci.empty())
        throw errore_file(cartella, "nessuno scenario compilato (nessun file NOME_NUMERO.sim)");
    if (voci.size() > 1) {
        std::sort(voci.begin(), voci.end());
        std::string elenco;
        for (const std::string& nome : voci)
            elenco += (elenco.empty() ? "" : ", ") + testo_mostrabile(nome, true);
        throw errore_scelta_scenario(percorso_mostrabile(cartella) + " contiene piu' scenari (" +
                                     elenco + "): indicare --nome e --treno");
    }
    const std::string radice = voci.front().substr(0, voci.front().size() - coda_voci.size());
    file_scenario f;
    f.voci = cartella / voci.front();
    f.celle = cartella / (radice + std::string(coda_celle));
    std::size_t nome_piu_lungo = 0;
    for (const std::string& planimetria : planimetrie) {
        const std::string nome =
            planimetria.substr(0, planimetria.size() - coda_planimetria.size());
        if (radice.size() > nome.size() + 1 && radice.starts_with(nome + "_") &&
            nome.size() > nome_piu_lungo) {
            nome_piu_lungo = nome.size();
            f.planimetria = cartella / planimetria;
        }
    }
    return f;
}

// At most `massimo` + 1 bytes of the file: enough to show what is wrong with a longer one. A
// directory in the file's place is a foreign file; a FIFO, a device or a socket cannot be read
// as one and ends the read at once (leggi_file_regolare).
std::string leggi_fino_a(const fs::path& percorso, std::size_t massimo, const std::string& cosa) {
    std::error_code errore;
    if (fs::is_directory(percorso, errore))
        throw errore_lettura(percorso.string(), std::nullopt,
                             "atteso il file " + cosa + ", trovata una cartella");
    return leggi_file_regolare(percorso, massimo + 1);
}

} // namespace

file_scenario trova_file_scenario(const fs::path& cartella,
                                  const std::optional<identita_scenario>& identita) {
    return identita ? file_per_identita(cartella, *identita) : file_dell_unico_scenario(cartella);
}

file_scenario file_indicati(const std::vector<fs::path>& percorsi,
                            const std::optional<identita_scenario>& identita) {
    std::error_code errore;
    if (percorsi.size() == 1 && fs::is_directory(percorsi.front(), errore))
        return trova_file_scenario(percorsi.front(), identita);
    if (percorsi.size() == 1 && !fs::exists(fs::symlink_status(percorsi.front(), errore)))
        throw errore_file(percorsi.front(), "non esiste");
    if (identita)
        throw errore_scelta_scenario("--nome e --treno valgono solo con una cartella");

    std::optional<fs::path> voci;
    std::optional<fs::path> celle;
    std::optional<fs::path> planimetria;
    for (const fs::path& percorso : percorsi) {
        std::optional<fs::path>* posto = nullptr;
        if (finisce_con(percorso, coda_voci))
            posto = &voci;
        else if (finisce_con(percorso, coda_planimetria))
            posto = &planimetria;
        else if (finisce_con(percorso, coda_celle))
            posto = &celle;
        else if (percorsi.size() == 1)
            throw errore_scelta_scenario(percorso_mostrabile(percorso) +
                                         ": ne' una cartella ne' un file di scenario compilato");
        else
            throw errore_scelta_scenario(percorso_mostrabile(percorso) +
                                         ": non e' un file di scenario compilato (attesi "
                                         "NOME_NUMERO.sim, NOME_NUMERO.dat, NOME_linea.dat)");
        if (*posto)
            throw errore_scelta_scenario(
                "due file dello stesso tipo: " + percorso_mostrabile(**posto) + " e " +
                percorso_mostrabile(percorso));
        *posto = percorso;
    }
    if (!voci)
        throw errore_scelta_scenario("manca il file delle voci (NOME_NUMERO.sim)");
    if (!celle)
        throw errore_scelta_scenario("manca il file delle celle (NOME_NUMERO.dat)");
    return {*voci, *celle, planimetria};
}

scenario_caricato carica_scenario(const file_scenario& file) {
    scenario_caricato s;
    s.file = file;
    costruzione& c = s.c;
    {
        const std::string dati = leggi_fino_a(file.voci, byte_massimi_voci(), "delle voci");
        leggi_voci({file.voci.string(), dati}, c);
    }
    {
        const std::string dati = leggi_fino_a(file.celle, byte_massimi_celle(c), "delle celle");
        leggi_celle({file.celle.string(), dati}, c);
    }
    if (file.planimetria) {
        const std::string dati =
            leggi_fino_a(*file.planimetria, byte_massimi_planimetria(c), "della planimetria");
        leggi_planimetria({file.planimetria->string(), dati}, c);
    }
    return s;
}

file_scenario file_da_opzioni(const std::vector<std::filesystem::path>& percorsi,
                              const std::string& nome, const std::string& numero_treno) {
    if (nome.empty() != numero_treno.empty())
        throw errore_scelta_scenario("--nome e --treno vanno indicati insieme");
    std::optional<identita_scenario> identita;
    if (!nome.empty()) {
        identita = identita_scenario{nome, numero_treno};
        if (const auto motivo = identita_non_valida(*identita))
            throw errore_scelta_scenario(*motivo);
    }
    return file_indicati(percorsi, identita);
}

std::vector<std::filesystem::path> file_letti(const file_scenario& file) {
    std::vector<std::filesystem::path> letti{file.voci, file.celle};
    if (file.planimetria)
        letti.push_back(*file.planimetria);
    return letti;
}

bool sono_descrizioni(const std::vector<std::filesystem::path>& percorsi) {
    return percorsi.size() == 2 &&
           std::all_of(percorsi.begin(), percorsi.end(), [](const fs::path& p) {
               std::string estensione = p.extension().string();
               std::transform(estensione.begin(), estensione.end(), estensione.begin(),
                              [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
               return estensione == ".txt";
           });
}

std::optional<scenario_caricato>
carica_descrizioni(const std::filesystem::path& linea, const std::filesystem::path& treno,
                   const std::string& nome, const std::string& numero_treno, std::ostream& errori) {
    const std::optional<identita_scenario> identita =
        identita_scelta(linea, treno, nome, numero_treno);
    if (!identita)
        throw errore_scelta_scenario("i nomi dei file non danno il nome dello scenario e il "
                                     "numero del treno (NOME_linea.txt, NOME_NUMERO-.txt): "
                                     "indicare --nome e --treno");
    if (const auto motivo = identita_non_valida(*identita))
        throw errore_scelta_scenario(*motivo);

    file_mostrati mostrati;
    sorgente_memoria sorgente;
    for (const auto& [d, percorso] :
         {std::pair{descrizione::linea, linea}, std::pair{descrizione::treno, treno}}) {
        testo_convertito t = testo_in_1252(leggi_file_intero(percorso));
        if (t.fallito) {
            errori << "scenario: " << percorso.string() << ":" << t.fallito->riga << ":"
                   << t.fallito->colonna << ": errore: " << t.fallito->messaggio << "\n";
            return std::nullopt;
        }
        mostrati[d] = {percorso.string(), da_1252(t.testo)};
        sorgente.testi[d] = std::move(t.testo);
    }
    scenario_costruito s = costruisci_scenario(sorgente, *identita, 1);
    if (!s.riuscito()) {
        const elenco_diagnostiche diagnostiche = completa_diagnostiche(s);
        stampa_diagnostiche(diagnostiche, mostrati, forma_diagnostiche::testo, errori, errori);
        return std::nullopt;
    }

    scenario_caricato r;
    r.c = std::move(s.c);
    r.file.voci = linea;
    r.file.celle = treno;
    r.fonti.resize(s.righe.celle.size());
    for (std::size_t k = 0; k < r.fonti.size(); ++k)
        if (const std::optional<riga_descrizione>& riga = s.righe.celle[k])
            r.fonti[k] =
                fonte_riga{(riga->file == descrizione::linea ? linea : treno).string(), riga->riga};
    for (const tratto_descritto& t : s.righe.curve)
        r.curve.emplace_back(
            t.inizio,
            fonte_riga{(t.riga.file == descrizione::linea ? linea : treno).string(), t.riga.riga});
    return r;
}

} // namespace corvenna
