// The driver's documents `scenario compila` writes beside the binary files: the card, the
// slowdown order and the notes of an author's own line, read back with a small decoder of the
// card's rows, written here apart from the tool's writers.

#include "support/cartella_temporanea.hpp"
#include "support/programma_di_prova.hpp"
#include "support/strumento_di_prova.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace corvenna {
namespace {

namespace fs = std::filesystem;
using namespace prova;

const fs::path dati = fs::path(GENERA_DATI_PROVA) / "documenti";
const std::vector<std::string> documenti = {
    "Valdora_2031_scheda_treno.txt", "Valdora_2031_rallentamenti.txt", "Valdora_2031_note.txt"};

// A row of the card's timetable: its columns without their outer blanks.
struct riga_scheda {
    std::string velocita_linea;
    std::string velocita_treno;
    std::string chilometro;
    std::string nome;
    std::string orario;
    std::string recupero;
};

std::string senza_bordi(const std::string& testo) {
    const std::size_t inizio = testo.find_first_not_of(' ');
    if (inizio == std::string::npos)
        return "";
    return testo.substr(inizio, testo.find_last_not_of(' ') - inizio + 1);
}

// The filled rows of the card's tables, in order: lines " |a|b|c|d|e|f|g|" of eight bars
// whose kilometre column holds a figure.
std::vector<riga_scheda> righe_della_scheda(const std::string& file) {
    std::vector<riga_scheda> righe;
    std::size_t inizio = 0;
    while (inizio < file.size()) {
        std::size_t fine = file.find("\r\n", inizio);
        if (fine == std::string::npos)
            fine = file.size();
        const std::string linea = file.substr(inizio, fine - inizio);
        inizio = fine + 2;
        std::vector<std::string> campi;
        std::size_t da = 0;
        for (std::size_t barra = linea.find('|'); barra != std::string::npos;
             barra = linea.find('|', da)) {
            campi.push_back(linea.substr(da, barra - da));
            da = barra + 1;
        }
        if (campi.size() != 8 || senza_bordi(campi[3]).empty() ||
            senza_bordi(campi[3]).find_first_not_of("-.0123456789") != std::string::npos)
            continue;
        righe.push_back({senza_bordi(campi[1]), senza_bordi(campi[2]), senza_bordi(campi[3]),
                         senza_bordi(campi[5]), senza_bordi(campi[6]), senza_bordi(campi[7])});
    }
    return righe;
}

// The author's line copied into a scratch directory, to compile there.
fs::path copia_valdora(const fs::path& cartella) {
    const fs::path d = cartella / "descrizioni";
    fs::create_directories(d);
    for (const char* nome : {"Valdora_linea.txt", "Valdora_2031-.txt", "Valdora_note.txt"})
        fs::copy_file(dati / nome, d / nome);
    return d;
}

const std::vector<std::string> compila_valdora = {"compila", "descrizioni/Valdora_linea.txt",
                                                  "descrizioni/Valdora_2031-.txt", "-o", "uscita"};

TEST(DocumentiCompilati, TheExportedScenarioCardAgreesWithTheBuiltInCard) {
    const cartella_temporanea radice;
    const fs::path lavoro = radice.percorso();
    ASSERT_EQ(esegui_strumento(lavoro, {"esporta", "modello"}).stato, 0);
    const esito_strumento esito =
        esegui_strumento(lavoro, {"compila", "modello/Corvenna_linea.txt",
                                  "modello/Corvenna_7381-.txt", "-o", "uscita"});
    ASSERT_EQ(esito.stato, 0) << esito.errori;
    const std::vector<riga_scheda> predefinita =
        righe_della_scheda(leggi_file(lavoro / "modello" / "Corvenna_7381_scheda_treno.txt"));
    const std::vector<riga_scheda> compilata =
        righe_della_scheda(leggi_file(lavoro / "uscita" / "Corvenna_7381_scheda_treno.txt"));

    // Where the built-in card does not give the data's own reading: Corvenna lies before the
    // first kilometric system the data can carry, Meridola at the start of the second, whose
    // reading rules there, and the data put Valterma 200 m further than the card's reading.
    const std::map<std::string, std::string> lettura_dei_dati = {
        {"CORVENNA", "-1.500"}, {"MERIDOLA", "0.000"}, {"VALTERMA", "5.400"}};
    int confrontate = 0;
    for (const riga_scheda& r : compilata) {
        if (r.orario.empty())
            continue;
        SCOPED_TRACE(r.nome);
        const auto uguale = std::find_if(predefinita.begin(), predefinita.end(),
                                         [&](const riga_scheda& p) { return p.nome == r.nome; });
        ASSERT_NE(uguale, predefinita.end());
        EXPECT_EQ(r.orario, uguale->orario);
        const auto eccezione = lettura_dei_dati.find(r.nome);
        EXPECT_EQ(r.chilometro,
                  eccezione != lettura_dei_dati.end() ? eccezione->second : uguale->chilometro);
        ++confrontate;
    }
    // The twelve stations the train description gives a time.
    EXPECT_EQ(confrontate, 12);
}

TEST(DocumentiCompilati, AnAuthorsLineGivesTheDocumentsOfTheTestData) {
    const cartella_temporanea radice;
    copia_valdora(radice.percorso());
    const esito_strumento esito = esegui_strumento(radice.percorso(), compila_valdora);
    ASSERT_EQ(esito.stato, 0) << esito.errori;
    for (const std::string& nome : documenti) {
        SCOPED_TRACE(nome);
        EXPECT_EQ(leggi_file(radice.percorso() / "uscita" / nome),
                  leggi_file(dati / "attesi" / nome));
    }
}

TEST(DocumentiCompilati, TheCardRowsFollowAStationThatMoves) {
    struct caso {
        const char* riga;
        const char* spostata;
        const char* nome;
        const char* chilometro;
        // The names of the card's station rows, in order.
        std::vector<std::string> ordine;
    };
    const std::vector<std::string> come_scritte = {"VALDORA",         "SAN BIAGIO", "PIEVE ALTA",
                                                   "ROCCA",           "MOLINETTO",  "CASE NUOVE",
                                                   "TORRE DI VALDORA"};
    const caso casi[] = {
        {"stazione,  8500,", "stazione,  9500,", "PIEVE ALTA", "21.500", come_scritte},
        // Across the change of kilometric system at 13000 m: the descending count reads it.
        {"stazione,  12000,", "stazione,  13500,", "ROCCA", "26.500", come_scritte},
        {"stazione,  23000,", "stazione,  22000,", "TORRE DI VALDORA", "18.000", come_scritte},
    };
    for (const caso& c : casi) {
        SCOPED_TRACE(c.nome);
        const cartella_temporanea radice;
        const fs::path d = copia_valdora(radice.percorso());
        std::string treno = leggi_file(d / "Valdora_2031-.txt");
        const std::size_t dove = treno.find(c.riga);
        ASSERT_NE(dove, std::string::npos);
        treno.replace(dove, std::string(c.riga).size(), c.spostata);
        scrivi_file(d / "Valdora_2031-.txt", treno);
        const esito_strumento esito = esegui_strumento(radice.percorso(), compila_valdora);
        ASSERT_EQ(esito.stato, 0) << esito.errori;
        std::vector<std::string> ordine;
        for (const riga_scheda& r : righe_della_scheda(
                 leggi_file(radice.percorso() / "uscita" / "Valdora_2031_scheda_treno.txt"))) {
            if (r.nome == c.nome) {
                EXPECT_EQ(r.chilometro, c.chilometro);
            }
            if (!r.nome.empty())
                ordine.push_back(r.nome);
        }
        EXPECT_EQ(ordine, c.ordine);
    }
}

// With a train model the card's `Rec` column gives each section's margin in minutes, at the
// station the section ends at; without one it stays blank.
TEST(DocumentiCompilati, TheRecColumnGivesTheMarginsOfTheModelsRun) {
    for (const bool con_modello : {false, true}) {
        SCOPED_TRACE(con_modello);
        const cartella_temporanea radice;
        copia_valdora(radice.percorso());
        std::vector<std::string> argomenti = compila_valdora;
        if (con_modello)
            argomenti.insert(argomenti.end(), {"--modello", "regionale"});
        const esito_strumento esito = esegui_strumento(radice.percorso(), argomenti);
        ASSERT_EQ(esito.stato, 0) << esito.errori;
        int con_orario = 0;
        int con_recupero = 0;
        for (const riga_scheda& r : righe_della_scheda(
                 leggi_file(radice.percorso() / "uscita" / "Valdora_2031_scheda_treno.txt"))) {
            if (r.orario.empty())
                continue;
            // The first station with a time ends no section: its cell stays blank.
            if (con_orario++ == 0) {
                EXPECT_EQ(r.recupero, "") << r.nome;
                continue;
            }
            if (!r.recupero.empty()) {
                ++con_recupero;
                EXPECT_NE(r.recupero, "-0") << r.nome;
            }
        }
        EXPECT_GT(con_orario, 2);
        EXPECT_EQ(con_recupero, con_modello ? con_orario - 1 : 0);
    }
}

TEST(DocumentiCompilati, WithoutDocumentsOnlyTheBinaryFilesAreWritten) {
    const cartella_temporanea radice;
    copia_valdora(radice.percorso());
    const fs::path uscita = radice.percorso() / "uscita";
    fs::create_directories(uscita);
    // A card of the author's own, which the run leaves as it is.
    scrivi_file(uscita / "Valdora_2031_scheda_treno.txt", "scheda scritta a mano\r\n");
    std::vector<std::string> argomenti = compila_valdora;
    argomenti.push_back("--senza-documenti");
    const esito_strumento esito = esegui_strumento(radice.percorso(), argomenti);
    ASSERT_EQ(esito.stato, 0) << esito.errori;
    std::vector<std::string> scritti;
    for (const auto& voce : fs::directory_iterator(uscita))
        scritti.push_back(voce.path().filename().string());
    std::sort(scritti.begin(), scritti.end());
    EXPECT_EQ(scritti,
              (std::vector<std::string>{"Valdora_2031.dat", "Valdora_2031.sim",
                                        "Valdora_2031_scheda_treno.txt", "Valdora_linea.dat"}));
    EXPECT_EQ(leggi_file(uscita / "Valdora_2031_scheda_treno.txt"), "scheda scritta a mano\r\n");
}

TEST(DocumentiCompilati, TheNotesEndWithTheAuthorsFile) {
    const cartella_temporanea radice;
    const fs::path d = copia_valdora(radice.percorso());
    scrivi_file(radice.percorso() / "altre.txt", "Prima riga\nSeconda, con l'accento: città\n");
    std::vector<std::string> argomenti = compila_valdora;
    argomenti.insert(argomenti.end(), {"--note", "altre.txt"});
    const esito_strumento esito = esegui_strumento(radice.percorso(), argomenti);
    ASSERT_EQ(esito.stato, 0) << esito.errori;
    const std::string note = leggi_file(radice.percorso() / "uscita" / "Valdora_2031_note.txt");
    const std::string coda = "\r\n\r\nPrima riga\r\nSeconda, con l'accento: citt\xe0\r\n";
    ASSERT_GE(note.size(), coda.size());
    EXPECT_EQ(note.substr(note.size() - coda.size()), coda);

    // Without the file beside the train description, the facts alone.
    fs::remove(d / "Valdora_note.txt");
    ASSERT_EQ(esegui_strumento(radice.percorso(), compila_valdora).stato, 0);
    const std::string fatti = leggi_file(radice.percorso() / "uscita" / "Valdora_2031_note.txt");
    EXPECT_EQ(fatti.find("Valdora \xe8 immaginaria"), std::string::npos);
    const std::string ultima = "- Segnali: 4, 2 di avviso e 2 principali.\r\n";
    ASSERT_GE(fatti.size(), ultima.size());
    EXPECT_EQ(fatti.substr(fatti.size() - ultima.size()), ultima);

    argomenti.back() = "mancanti.txt";
    const esito_strumento mancante = esegui_strumento(radice.percorso(), argomenti);
    EXPECT_EQ(mancante.stato, 2);
    EXPECT_NE(mancante.errori.find("mancanti.txt"), std::string::npos) << mancante.errori;
    EXPECT_EQ(leggi_file(radice.percorso() / "uscita" / "Valdora_2031_note.txt"), fatti);
}

TEST(DocumentiCompilati, AFailedCompileLeavesTheEarlierDocuments) {
    const cartella_temporanea radice;
    const fs::path d = copia_valdora(radice.percorso());
    ASSERT_EQ(esegui_strumento(radice.percorso(), compila_valdora).stato, 0);
    std::map<std::string, std::string> prima;
    for (const std::string& nome : documenti)
        prima[nome] = leggi_file(radice.percorso() / "uscita" / nome);
    // A slowdown on the cell of the one before it.
    std::string treno = leggi_file(d / "Valdora_2031-.txt");
    const std::string riga = "rallentamento,  6150,";
    treno.replace(treno.find(riga), riga.size(), "rallentamento,  6100,");
    scrivi_file(d / "Valdora_2031-.txt", treno);
    EXPECT_EQ(esegui_strumento(radice.percorso(), compila_valdora).stato, 1);
    for (const std::string& nome : documenti)
        EXPECT_EQ(leggi_file(radice.percorso() / "uscita" / nome), prima[nome]) << nome;
}

} // namespace
} // namespace corvenna
