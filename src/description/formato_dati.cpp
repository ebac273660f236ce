// The table of the description format: every section, keyword and value, apart from the lookups
// that read it (formato_descrizioni.cpp). Texts use the descriptions' ASCII spelling of accented
// letters ("e'", "piu'"), like the diagnostics' texts.

#include "description/formato_dati.hpp"

#include "base/aspetti_segnale.hpp"
#include "model/costruzione.hpp"

#include <array>
#include <limits>

namespace corvenna {

namespace {

using sv = std::string_view;
using tv = tipo_campo;

constexpr std::int64_t min32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t max32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t min16 = std::numeric_limits<std::int16_t>::min();
constexpr std::int64_t max16 = std::numeric_limits<std::int16_t>::max();

// The last position a row may give on the longest route: the track runs past the route's end,
// and a row needs its margin of it.
constexpr std::int64_t posizione_massima =
    std::int64_t{lunghezza_percorso_massima} + prolungamento_tracciato - margine_riga;
constexpr std::int64_t posizione_massima_stazione =
    std::int64_t{lunghezza_percorso_massima} + prolungamento_tracciato - margine_stazione;

// A value kept as written, whatever it is within its type.
constexpr campo_formato libero(sv nome, tv tipo, sv unita, sv significato) {
    campo_formato c;
    c.nome = nome;
    c.tipo = tipo;
    c.unita = unita;
    c.minimo = minimo_tipo_campo(tipo);
    c.massimo = massimo_tipo_campo(tipo);
    c.significato = significato;
    return c;
}

constexpr campo_formato campo(sv nome, tv tipo, sv unita, std::int64_t minimo, std::int64_t massimo,
                              std::int32_t multiplo, sv significato, sv fuori,
                              std::span<const sv> diagnostiche) {
    campo_formato c;
    c.nome = nome;
    c.tipo = tipo;
    c.unita = unita;
    c.minimo = minimo;
    c.massimo = massimo;
    c.multiplo = multiplo;
    c.fuori_intervallo = fuori;
    c.diagnostiche = diagnostiche;
    c.significato = significato;
    return c;
}

// The value `c` with the names of some of its values.
constexpr campo_formato con_nomi(campo_formato c, std::span<const valore_nominato> nomi) {
    c.valori_nominati = nomi;
    return c;
}

// ---- Diagnostics of the values.

constexpr sv d_posizione[] = {"posizione-arrotondata", "fuori-tracciato"};
constexpr sv d_arrotondata[] = {"posizione-arrotondata"};
constexpr sv d_troncato[] = {"valore-troncato"};
constexpr sv d_lettura[] = {"lettura-fallita"};
constexpr sv d_velocita[] = {"velocita-arrotondata", "lettura-fallita"};
constexpr sv d_velocita_destra[] = {"velocita-arrotondata", "lettura-fallita"};
constexpr sv d_testo[] = {"testo-accorciato", "byte-non-stampabile", "lettura-fallita"};
constexpr sv d_lunghezza[] = {"lunghezza-eccessiva"};
constexpr sv d_progressiva[] = {"progressiva-non-multipla"};
constexpr sv d_ripetizione_inizio[] = {"ripetizione-inizio"};
constexpr sv d_ripetizione_fine[] = {"ripetizione-fine"};
constexpr sv d_curva_inizio[] = {"curva-sovrapposta", "curva-non-valida", "fuori-tracciato"};
constexpr sv d_curva_lunghezza[] = {"curva-non-valida"};
constexpr sv d_montagna_tipo[] = {"tipo-montagna-cambiato", "valore-troncato"};
constexpr sv d_tempo_segnale[] = {"tempo-segnale-cambiato", "valore-troncato"};
constexpr sv d_stazione_posizione[] = {"stazione-non-multipla", "fuori-tracciato"};
constexpr sv d_marciapiede[] = {"marciapiede-non-multiplo", "stazioni-vicine", "fermata-iniziale"};
constexpr sv d_b2_b3[] = {"valore-stazione-ignorato", "lettura-fallita"};
constexpr sv d_orario[] = {"valore-troncato"};

constexpr sv fuori_posizione =
    "non multipla di 50: portata sulla cella piu' vicina; oltre la fine del tracciato (la "
    "lunghezza del percorso piu' 6900 m): codice 15, e il resto della descrizione non e' letto";
constexpr sv fuori_testo = "un testo di piu' di 32767 byte non sta nel file delle voci: codice 25";
constexpr sv fuori_byte = "un valore fuori da 0 .. 255 non si legge: codice 25";

constexpr campo_formato posizione(sv significato) {
    return campo("posizione", tv::intero_32, "m", 0, posizione_massima, 50, significato,
                 fuori_posizione, d_posizione);
}

// ---- Line description, general section.

constexpr sv s_lunghezza[] = {"percorso", "lunghezza"};
constexpr sv s_progressiva_tre[] = {"tre", "progressiva"};
constexpr sv s_progressiva_due[] = {"due", "progressiva"};
constexpr sv s_progressiva_uno[] = {"uno", "progressiva"};
constexpr sv s_sfondo_uno[] = {"sfondo", "uno"};
constexpr sv s_sfondo_due[] = {"sfondo", "due"};
constexpr sv s_sfondo_tre[] = {"sfondo", "tre"};
constexpr sv s_ripetizione[] = {"segnali", "ripetizione"};

constexpr std::array c_lunghezza{
    campo("lunghezza", tv::intero_32, "m", 0, 1000000, 0,
          "la lunghezza del percorso, dall'inizio della linea",
          "codice 1: la compilazione si ferma", d_lunghezza),
};
constexpr sv g_lunghezza[] = {"riga-ripetuta", "lunghezza-eccessiva", "linea-senza-generale"};

constexpr std::array c_progressiva{
    campo("inizio", tv::intero_32, "m", min32, max32, 50,
          "la posizione della linea da cui vale la progressiva",
          "non multiplo di 50: codice 2 alla fine della compilazione", d_progressiva),
    campo("scostamento", tv::intero_32, "m", min32, max32, 50,
          "la progressiva a una posizione p e' p + scostamento (verso 0) o scostamento - p "
          "(verso 1)",
          "non multiplo di 50: codice 2 alla fine della compilazione", d_progressiva),
    campo("verso", tv::intero_32, "", 0, 1, 0,
          "1 se la progressiva decresce lungo la linea (scostamento - posizione), 0 se cresce "
          "(posizione + scostamento)",
          "ogni valore diverso da 1 vale come 0 (crescente)", {}),
};
constexpr sv g_progressiva[] = {"riga-ripetuta", "progressiva-non-multipla",
                                "progressiva-mai-applicata"};
constexpr sv n_progressiva[] = {
    "La progressiva e' il chilometro che il macchinista legge sui cartelli; ogni sistema vale "
    "dal suo inizio fino all'inizio del sistema seguente.",
    "A una posizione p un sistema crescente (verso 0) legge p + scostamento, uno decrescente "
    "(verso 1) scostamento - p: con 'progressiva chilometrica tre,  55000,  91900,  1' i "
    "cartelli leggono 36+900 a 55000 m e 3+900 a 88000 m.",
};

constexpr std::array c_sfondo{
    libero("valore", tv::intero_32, "",
           "la scelta dello sfondo, conservata nella voce dello scenario"),
};
constexpr sv g_sfondo[] = {"riga-ripetuta"};

constexpr parola_accettata p_ripetizione[] = {
    {"4", "il sistema di ripetizione segnali a 4 codici"},
    {"9", "il sistema a 9 codici (quando la parola chiave non contiene anche 4)"},
};
constexpr std::array c_ripetizione{
    campo("inizio", tv::intero_32, "m", 0, max32, 50, "dove inizia la ripetizione segnali",
          "non multiplo di 50: codice 3, la compilazione si ferma", d_ripetizione_inizio),
    campo("fine", tv::intero_32, "m", 0, max32, 50,
          "dove finisce la ripetizione segnali; 0 vuol dire nessuna ripetizione",
          "non multipla di 50: codice 4, la compilazione si ferma", d_ripetizione_fine),
};
constexpr sv g_ripetizione[] = {"riga-ripetuta", "ripetizione-inizio", "ripetizione-fine",
                                "ripetizione-codici"};

// ---- Line description, the rows after the general section.

constexpr sv s_pendenza[] = {"pendenza"};
constexpr std::array c_pendenza{
    posizione("da dove vale la pendenza; la prima riga a 0, le altre in ordine crescente"),
    campo("pendenza", tv::intero_32, "per mille", -100, 155, 0,
          "la pendenza, positiva in salita e negativa in discesa",
          "la cella tiene pendenza + 100 in un byte: fuori da -100 .. 155 ne resta il byte basso",
          d_troncato),
};
constexpr sv g_pendenza[] = {"prima-posizione-non-zero", "posizione-non-crescente",
                             "posizione-arrotondata",    "valore-troncato",
                             "fuori-tracciato",          "celle-fuori-limite"};

constexpr sv s_curva[] = {"curva"};
constexpr parola_accettata p_curva[] = {
    {"s", "curva a sinistra: vale qualsiasi \"s\" nel campo chiave, anche quella di "
          "\"destra\""},
    {"d", "curva a destra (vale per ogni campo chiave senza \"s\")"},
    {"1", "classe 1: raggio di 10000 m"},
    {"2", "classe 2: raggio di 5000 m"},
    {"3", "classe 3: raggio di 2500 m"},
    {"4", "classe 4: raggio di 1000 m"},
    {"5", "classe 5: raggio di 500 m"},
    {"6", "classe 6: raggio di circa 333 m"},
};
constexpr std::array c_curva{
    campo("inizio", tv::intero_32, "m", 0, posizione_massima, 0,
          "il metro da cui la linea curva; le curve in ordine crescente",
          "prima della fine della curva precedente: la curva vale solo da li'; oltre la "
          "planimetria: codice 103; oltre la fine del tracciato: codice 15",
          d_curva_inizio),
    campo("lunghezza", tv::intero_32, "m", 0, posizione_massima, 0, "la lunghezza della curva",
          "una curva che finisce oltre la planimetria: codice 103", d_curva_lunghezza),
};
constexpr sv g_curva[] = {"classe-curva-multipla", "curva-sovrapposta", "curva-non-valida",
                          "fuori-tracciato", "curva-ignorata"};

constexpr sv s_montagna[] = {"montagna"};
constexpr std::array c_montagna{
    posizione("dove inizia il tratto di rilievo"),
    campo("fine", tv::intero_32, "m", 0, posizione_massima, 50, "dove finisce il tratto",
          "non multipla di 50: portata sulla cella piu' vicina; un tratto che finisce entro "
          "la sua prima cella non copre alcuna cella",
          d_arrotondata),
    campo("tipo", tv::intero_32, "", 0, 265, 0,
          "il tipo di rilievo; da 11 in su la variante in galleria del tipo meno 10",
          "un tratto a 150 m o meno dal precedente prende il tipo 3; un tipo che non sta in un "
          "byte ne perde i bit alti",
          d_montagna_tipo),
};
constexpr sv n_montagna[] = {
    "Una galleria e' un tratto montagna con tipo da 11 in su: il tipo 11 e' la galleria del "
    "rilievo di tipo 1, il 12 del tipo 2, e cosi' via.",
};
constexpr sv g_montagna[] = {"posizione-arrotondata",
                             "fuori-tracciato",
                             "tipo-montagna-cambiato",
                             "valore-troncato",
                             "montagna-vuota",
                             "montagne-sovrapposte",
                             "marcatore-galleria-omesso",
                             "marcatore-galleria-sostituito",
                             "troppe-montagne",
                             "celle-fuori-limite",
                             "compilazione-interrotta"};

constexpr sv s_indicatore[] = {"indicatori_v"};
constexpr sv fuori_velocita_indicatore =
    "il valore memorizzato (velocita' x 20 + velocita' di destra / 5) oltre i 16 bit: codice 25";
constexpr sv fuori_velocita_destra = "non multipla di 5: arrotondata al multiplo di 5 piu' vicino";
constexpr sv fuori_strisce =
    "la cella tiene strisces x 10 + strisced: oltre 9 i due valori si confondono, oltre i 16 bit "
    "ne restano i 16 bit bassi";
constexpr std::array c_indicatore{
    posizione("dove sta il cartello"),
    campo("vas", tv::intero_32, "km/h", 0, 1635, 5, "la prima velocita' del lato sinistro",
          fuori_velocita_indicatore, d_lettura),
    campo("vbs", tv::intero_32, "km/h", 0, 1635, 5, "la seconda velocita' del lato sinistro",
          fuori_velocita_indicatore, d_lettura),
    campo("vcs", tv::intero_32, "km/h", 0, 1635, 5, "la terza velocita' del lato sinistro",
          fuori_velocita_indicatore, d_lettura),
    campo("strisces", tv::intero_32, "", 0, 9, 0, "le strisce del lato sinistro", fuori_strisce,
          d_troncato),
    campo("vad", tv::intero_32, "km/h", 0, 1275, 5,
          "la prima velocita' del lato destro (vuota vale 0)", fuori_velocita_destra,
          d_velocita_destra),
    campo("vbd", tv::intero_32, "km/h", 0, 1275, 5,
          "la seconda velocita' del lato destro (vuota vale 0)", fuori_velocita_destra,
          d_velocita_destra),
    campo("vcd", tv::intero_32, "km/h", 0, 1275, 5,
          "la terza velocita' del lato destro (vuota vale 0)", fuori_velocita_destra,
          d_velocita_destra),
    campo("strisced", tv::intero_32, "", 0, 9, 0, "le strisce del lato destro", fuori_strisce,
          d_troncato),
};
constexpr sv g_indicatore[] = {
    "posizione-arrotondata", "velocita-arrotondata", "valore-troncato",
    "indicatore-occupato",   "elemento-coperto",     "marcatore-galleria-sostituito",
    "fuori-tracciato",       "celle-fuori-limite",   "compilazione-interrotta"};

constexpr sv s_cartello[] = {"indicat", "cartello"};
constexpr std::array c_cartello{
    posizione("dove sta il cartello; la sua cella e' quella che inizia 50 m dopo"),
    campo("testo", tv::testo, "", 0, max16, 0,
          "la scritta del cartello: ogni gruppo fra parentesi e' una riga", fuori_testo, d_testo),
};
constexpr sv g_cartello[] = {"posizione-arrotondata", "fuori-tracciato",
                             "cartello-occupato",     "voci-esaurite",
                             "elemento-coperto",      "marcatore-galleria-sostituito",
                             "testo-accorciato",      "byte-non-stampabile"};

// ---- Train description.

constexpr sv s_frenata[] = {"frenata", "massa"};
constexpr std::array c_frenata{
    libero("percentuale", tv::intero_32, "%", "la percentuale di massa frenata del treno"),
};
constexpr sv s_vetture[] = {"vetture"};
constexpr std::array c_vetture{
    libero("numero", tv::intero_32, "", "il numero delle vetture del treno"),
};
constexpr sv g_impostazione[] = {"riga-ripetuta"};

constexpr sv s_velocita[] = {"velocit"};
constexpr std::array c_velocita{
    posizione("da dove vale la velocita'; la prima riga a 0, le altre in ordine crescente"),
    campo("velocita", tv::intero_32, "km/h", 0, 1275, 5,
          "la velocita' massima della linea per il treno",
          "non multipla di 5: arrotondata al multiplo di 5 piu' vicino; negativa od oltre "
          "1277 km/h non sta in una cella: codice 25",
          d_velocita),
};
constexpr sv g_velocita[] = {"prima-posizione-non-zero", "posizione-non-crescente",
                             "posizione-arrotondata",    "velocita-arrotondata",
                             "fuori-tracciato",          "lettura-fallita"};

constexpr sv s_aderenza[] = {"aderenza"};
constexpr std::array c_aderenza{
    posizione("da dove vale l'aderenza; la prima riga a 0, le altre in ordine crescente"),
    campo("aderenza", tv::intero_32, "", 0, 255, 0, "il valore dell'aderenza",
          "la cella la tiene in un byte: fuori da 0 .. 255 ne resta il byte basso", d_troncato),
};
constexpr sv g_aderenza[] = {"prima-posizione-non-zero", "posizione-non-crescente",
                             "posizione-arrotondata",    "valore-troncato",
                             "fuori-tracciato",          "celle-fuori-limite"};

constexpr sv s_orologio[] = {"orologio"};
constexpr std::array c_orologio{
    campo("ore", tv::intero_16, "h", 0, 23, 0, "l'ora dell'orologio alla partenza",
          "conservata com'e'", {}),
    campo("minuti", tv::intero_16, "min", 0, 59, 0, "i minuti dell'orologio alla partenza",
          "conservati come sono", {}),
    campo("secondi", tv::intero_16, "s", 0, 59, 0, "i secondi dell'orologio alla partenza",
          "conservati come sono", {}),
};

constexpr sv s_sabbia[] = {"sabbia"};
constexpr std::array c_sabbia{
    campo("quantita", tv::intero_16, "", 0, max16, 0, "la sabbia a bordo del treno",
          "un valore negativo e' conservato com'e'", {}),
};

constexpr sv s_segnale[] = {"segnale"};
constexpr auto v_aspetti = [] {
    std::array<valore_nominato, nomi_aspetti_segnale.size()> v{};
    for (std::size_t i = 0; i < v.size(); ++i)
        v[i] = {static_cast<std::int32_t>(i), nomi_aspetti_segnale[i]};
    return v;
}();
constexpr valore_nominato v_tipo_segnale[] = {{1, "segnale di avviso"},
                                              {2, "segnale di protezione"}};
constexpr valore_nominato v_tipo_accanto[] = {
    {0, "nessuno"}, {1, "segnale di avviso"}, {2, "segnale di protezione"}};
constexpr sv fuori_cifra =
    "il valore e' memorizzato insieme ad altri come cifra decimale: oltre 9 si confonde con "
    "essi, oltre i 16 bit ne restano i 16 bit bassi";
constexpr std::array c_segnale{
    posizione("dove sta il segnale; i suoi marcatori di avvicinamento cadono 100, 200, 300 e "
              "400 m prima"),
    con_nomi(campo("sx", tv::intero_32, "", 0, 8, 0,
                   "il tipo del segnale (1 o 2 nello scenario incorporato); il tipo 2 e' il solo "
                   "che tiene un tempo",
                   "il marcatore di avvicinamento (sx x 3 + dx) x 10 + 4 deve stare in un byte: "
                   "oltre ne resta il byte basso",
                   d_troncato),
             v_tipo_segnale),
    con_nomi(campo("s1", tv::intero_32, "", 0, 9, 0,
                   "il primo aspetto del segnale (cifra delle decine di dato1)", fuori_cifra,
                   d_troncato),
             v_aspetti),
    con_nomi(campo("s2", tv::intero_32, "", 0, 9, 0,
                   "il secondo aspetto del segnale (cifra delle decine di dato2)", fuori_cifra,
                   d_troncato),
             v_aspetti),
    con_nomi(campo("s3", tv::intero_32, "", 0, 9, 0,
                   "il terzo aspetto del segnale (cifra delle decine di dato3)", fuori_cifra,
                   d_troncato),
             v_aspetti),
    campo("rapp", tv::intero_32, "", 0, 1, 0, "l'indicazione rapp, 0 o 1 (decine di dato4)",
          fuori_cifra, d_troncato),
    con_nomi(campo("dx", tv::intero_32, "", 0, 2, 0,
                   "il tipo del segnale accanto, che mostra d1, d2, d3; sommato a sx x 3",
                   "sx x 3 + dx oltre 25 fa uscire dal byte il marcatore di avvicinamento",
                   d_troncato),
             v_tipo_accanto),
    con_nomi(campo("d1", tv::intero_32, "", 0, 9, 0,
                   "il primo aspetto del segnale accanto (cifra delle unita' di dato1)",
                   fuori_cifra, d_troncato),
             v_aspetti),
    con_nomi(campo("d2", tv::intero_32, "", 0, 9, 0,
                   "il secondo aspetto del segnale accanto (cifra delle unita' di dato2)",
                   fuori_cifra, d_troncato),
             v_aspetti),
    con_nomi(campo("d3", tv::intero_32, "", 0, 9, 0,
                   "il terzo aspetto del segnale accanto (cifra delle unita' di dato3)",
                   fuori_cifra, d_troncato),
             v_aspetti),
    campo("tempo", tv::intero_32, "s", 0, 255, 0,
          "il tempo del segnale; vale solo per sx 2, 0 per nessuno",
          "da 1 a 100 diventa 101; per sx diverso da 2 e' scartato; oltre 255 ne resta il byte "
          "basso",
          d_tempo_segnale),
};
constexpr sv g_segnale[] = {
    "posizione-arrotondata",  "valore-troncato",      "tempo-segnale-cambiato",
    "segnale-occupato",       "elemento-coperto",     "marcatore-galleria-sostituito",
    "marcatori-sovrascritti", "abbattimento-segnale", "abbattimento-ridotto",
    "fuori-tracciato",        "celle-fuori-limite",   "compilazione-interrotta"};

constexpr sv s_rallentamento[] = {"rallentamento"};
constexpr std::array c_rallentamento{
    campo("x", tv::intero_32, "m", 0, posizione_massima, 50,
          "dove inizia il rallentamento; il suo cartello di avviso sta 1200 m prima",
          fuori_posizione, d_posizione),
    campo("v", tv::intero_32, "km/h", 0, max16, 0, "la velocita' del rallentamento",
          "oltre i 16 bit ne restano i 16 bit bassi", d_troncato),
    campo("l", tv::intero_32, "m", 50, posizione_massima, 50, "la lunghezza del rallentamento",
          "una fine non multipla di 50 e' portata sulla cella piu' vicina; una fine nella cella "
          "d'inizio non e' una fine propria",
          d_arrotondata),
    campo("f_tt", tv::intero_32, "", 0, 1, 0, "l'indicazione f_tt delle celle d'inizio e di fine",
          "oltre i 16 bit ne restano i 16 bit bassi", d_troncato),
    campo("f_ta", tv::intero_32, "", 0, 1, 0,
          "diverso da 0 chiede i quattro preavvisi prima del cartello di avviso",
          "ogni valore diverso da 0 chiede i preavvisi", {}),
    campo("d_v", tv::intero_32, "", min16, max16, 0,
          "il valore d_v delle celle del rallentamento; 0 le lascia come sono",
          "oltre i 16 bit ne restano i 16 bit bassi", d_troncato),
};
constexpr sv g_rallentamento[] = {"posizione-arrotondata",
                                  "valore-troncato",
                                  "avviso-occupato",
                                  "inizio-occupato",
                                  "fine-occupata",
                                  "preavvisi-occupati",
                                  "rallentamento-senza-fine",
                                  "preavvisi-omessi",
                                  "elemento-coperto",
                                  "marcatore-galleria-sostituito",
                                  "abbattimento-fasce",
                                  "abbattimento-percorso",
                                  "abbattimento-segnale",
                                  "fuori-tracciato",
                                  "celle-fuori-limite",
                                  "compilazione-interrotta"};

constexpr sv s_abbattimento[] = {"abbattimento"};
constexpr std::array c_abbattimento{
    posizione("dove sta l'abbattimento; la sua cella e' quella che inizia alla posizione"),
    campo("valore", tv::intero_32, "", 0, 180, 0,
          "il valore dell'abbattimento; 0 o meno per un abbattimento senza valore",
          "oltre 180 puo' essere ridotto a 180 davanti a un segnale; oltre i 16 bit ne restano i "
          "16 bit bassi",
          d_troncato),
};
constexpr sv g_abbattimento[] = {"posizione-arrotondata", "valore-troncato",
                                 "abbattimento-occupato", "abbattimento-ridotto",
                                 "elemento-coperto",      "marcatore-galleria-sostituito",
                                 "fuori-tracciato"};

constexpr sv s_stazione[] = {"stazione"};
constexpr std::array c_stazione{
    campo("posizione", tv::intero_32, "m", 0, posizione_massima_stazione, 50,
          "dove sta la stazione; le stazioni in ordine di marcia",
          "non multipla di 50: codice 8, la compilazione si ferma; oltre la fine del tracciato "
          "(la lunghezza del percorso piu' 6200 m): codice 15",
          d_stazione_posizione),
    campo("tipo", tv::byte, "", 0, 255, 0,
          "sotto 25 una fermata, da 25 in su un transito senza fermata; e il marciapiede: 5 e 6 "
          "da posizione - marciapiede a 150 m oltre la posizione, senza marcatori; 7 e 8 da "
          "posizione - marciapiede a posizione + marciapiede; gli altri centrato sulla posizione",
          fuori_byte, d_lettura),
    campo("marciapiede", tv::intero_32, "m", 0, max32, 100, "la lunghezza del marciapiede",
          "non multipla di 100: codice 9; il marciapiede deve iniziare almeno 350 m dopo la fine "
          "del precedente (codice 22) e finire oltre 100 m (codice 24)",
          d_marciapiede),
    campo("b1", tv::byte, "", 0, 255, 0,
          "portato nella voce della stazione per il simulatore; la compilazione non lo usa",
          fuori_byte, d_lettura),
    campo("b2", tv::byte, "", 0, 255, 0,
          "portato nella voce per il simulatore; azzerato per la prima stazione e per un "
          "marciapiede sotto 600 m",
          fuori_byte, d_b2_b3),
    campo("b3", tv::byte, "", 0, 1, 0,
          "diverso da 0 allunga di 50 m la fine del marciapiede (non per i tipi da 5 a 8 ne' per "
          "la prima stazione)",
          fuori_byte, d_b2_b3),
    campo("i1", tv::intero_16, "", min16, max16, 0,
          "portato nella voce della stazione per il simulatore; la compilazione non lo usa",
          "un valore fuori dai 16 bit non si legge: codice 25", d_lettura),
    campo("i2", tv::intero_16, "", min16, max16, 0,
          "portato nella voce della stazione per il simulatore; la compilazione non lo usa",
          "un valore fuori dai 16 bit non si legge: codice 25", d_lettura),
    campo("b4", tv::byte, "", 0, 255, 0,
          "portato nella voce della stazione per il simulatore; la compilazione non lo usa",
          fuori_byte, d_lettura),
    campo("i3", tv::intero_16, "", min16, max16, 0,
          "portato nella voce della stazione per il simulatore; la compilazione non lo usa",
          "un valore fuori dai 16 bit non si legge: codice 25", d_lettura),
    campo("i4", tv::intero_16, "", min16, max16, 0,
          "portato nella voce della stazione per il simulatore; la compilazione non lo usa",
          "un valore fuori dai 16 bit non si legge: codice 25", d_lettura),
    campo("i5", tv::intero_16, "", min16, max16, 0,
          "portato nella voce della stazione per il simulatore; la compilazione non lo usa",
          "un valore fuori dai 16 bit non si legge: codice 25", d_lettura),
    campo("b5", tv::byte, "", 0, 255, 0,
          "portato nella voce della stazione per il simulatore; la compilazione non lo usa",
          fuori_byte, d_lettura),
    campo("ore", tv::intero_32, "h", 0, 23, 0,
          "l'ora della stazione nell'orario del treno; 0, 0, 0: nessuna ora",
          "l'orario in secondi, (ore x 60 + minuti) x 60 + secondi, oltre i 32 bit ne perde i "
          "bit alti",
          d_orario),
    campo("minuti", tv::intero_32, "min", 0, 59, 0, "i minuti dell'ora della stazione",
          "entrano nell'orario in secondi come sono", {}),
    campo("secondi", tv::intero_32, "s", 0, 59, 0, "i secondi dell'ora della stazione",
          "entrano nell'orario in secondi come sono", {}),
    campo("nome", tv::testo, "", 0, max16, 0, "il nome della stazione", fuori_testo, d_testo),
};
constexpr sv n_stazione[] = {
    "Fermata: una stazione di tipo sotto 25 e' una fermata; la cella di fermata, dove il treno "
    "si ferma, e' poco prima della fine del marciapiede, e la precedono quattro marcatori di "
    "avvicinamento. Da 25 in su la stazione e' un transito: il treno passa senza fermarsi.",
    "Ora: ore, minuti e secondi sono l'ora della fermata nell'orario del treno, che ispeziona, "
    "confronta e disegna mostrano (0, 0, 0: ora non indicata); di un transito l'ora non e' "
    "mostrata. Lo strumento non ricava dalla riga una durata della sosta.",
    "Valori per il simulatore: b1, b2, b4, b5 e i1 .. i5 vanno nella voce della stazione come "
    "sono scritti (b2 azzerato per la prima stazione e per un marciapiede sotto 600 m); la "
    "compilazione non li usa. b3 invece allunga il marciapiede.",
};
constexpr sv g_stazione[] = {"fuori-tracciato",          "stazione-non-multipla",
                             "marciapiede-non-multiplo", "stazioni-vicine",
                             "fermata-iniziale",         "voci-esaurite",
                             "valore-stazione-ignorato", "valore-troncato",
                             "elemento-coperto",         "marcatore-galleria-sostituito",
                             "marcatori-sovrascritti",   "testo-accorciato",
                             "byte-non-stampabile",      "celle-fuori-limite"};

constexpr parola_chiave_formato parola(descrizione file, sv sezione, sv nome,
                                       std::span<const sv> sottostringhe, bool esatte,
                                       bool solo_in_sezione,
                                       std::span<const parola_accettata> parole,
                                       std::span<const campo_formato> campi, sv significato,
                                       sv effetto, std::span<const sv> diagnostiche, sv esempio) {
    parola_chiave_formato p;
    p.file = file;
    p.sezione = sezione;
    p.parola = nome;
    p.sottostringhe = sottostringhe;
    p.maiuscole_esatte = esatte;
    p.solo_in_sezione = solo_in_sezione;
    p.parole = parole;
    p.campi = campi;
    p.significato = significato;
    p.effetto = effetto;
    p.diagnostiche = diagnostiche;
    p.esempio = esempio;
    return p;
}

// The keyword `p` with what an author needs beside its values.
constexpr parola_chiave_formato con_note(parola_chiave_formato p, std::span<const sv> note) {
    p.note = note;
    return p;
}

constexpr auto L = descrizione::linea;
constexpr auto T = descrizione::treno;
constexpr bool esatte = true;
constexpr bool qualsiasi = false;
constexpr bool in_sezione = true;
constexpr bool ovunque = false;

constexpr std::array parole_chiave{
    // The line's general section, in the compiler's order.
    parola(L, "[generale]", "lunghezza percorso", s_lunghezza, qualsiasi, in_sezione, {},
           c_lunghezza, "la lunghezza della linea, in metri",
           "dimensiona il tracciato: celle di 50 m fino a 7000 m oltre la fine del percorso, e la "
           "planimetria metro per metro; senza questa riga la linea non si compila",
           g_lunghezza, "lunghezza percorso,  88000"),
    con_note(parola(L, "[generale]", "progressiva chilometrica tre", s_progressiva_tre, esatte,
                    in_sezione, {}, c_progressiva,
                    "il terzo sistema di progressive chilometriche della linea",
                    "riempie la voce 81; le tre progressive sono poi ordinate per inizio",
                    g_progressiva, "progressiva chilometrica tre,  55000,  91900,  1"),
             n_progressiva),
    con_note(parola(L, "[generale]", "progressiva chilometrica due", s_progressiva_due, esatte,
                    in_sezione, {}, c_progressiva,
                    "il secondo sistema di progressive chilometriche della linea",
                    "riempie la voce 82; le tre progressive sono poi ordinate per inizio",
                    g_progressiva, "progressiva chilometrica due,  42300,  -42300,  0"),
             n_progressiva),
    con_note(parola(L, "[generale]", "progressiva chilometrica uno", s_progressiva_uno, esatte,
                    in_sezione, {}, c_progressiva,
                    "il primo sistema di progressive chilometriche della linea",
                    "riempie la voce 83; le tre progressive sono poi ordinate per inizio",
                    g_progressiva, "progressiva chilometrica uno,  0,  -1500,  0"),
             n_progressiva),
    parola(L, "[generale]", "sfondo uno", s_sfondo_uno, esatte, in_sezione, {}, c_sfondo,
           "la prima scelta dello sfondo del paesaggio", "va nella voce dello scenario", g_sfondo,
           "sfondo uno,  1"),
    parola(L, "[generale]", "sfondo due", s_sfondo_due, esatte, in_sezione, {}, c_sfondo,
           "la seconda scelta dello sfondo del paesaggio", "va nella voce dello scenario", g_sfondo,
           "sfondo due,  0"),
    parola(L, "[generale]", "sfondo tre", s_sfondo_tre, esatte, in_sezione, {}, c_sfondo,
           "la terza scelta dello sfondo del paesaggio", "va nella voce dello scenario", g_sfondo,
           "sfondo tre,  0"),
    parola(L, "[generale]", "ripetizione segnali", s_ripetizione, esatte, in_sezione, p_ripetizione,
           c_ripetizione, "il tratto in cui i segnali sono ripetuti in cabina, e con quanti codici",
           "va nella voce del treno; il numero di codici viene dalla parola chiave, che deve "
           "contenere 4 o 9",
           g_ripetizione, "ripetizione segnali 4 codici,  0,  0"),
    // The rest of the line description, in the compiler's order.
    parola(L, "[pendenze]", "pendenza", s_pendenza, qualsiasi, ovunque, {}, c_pendenza,
           "la pendenza della linea da una posizione in poi",
           "riempie la pendenza delle celle fino alla riga seguente (l'ultima fino alla fine)",
           g_pendenza, "pendenza,  1500,  -5"),
    parola(L, "[curve]", "curva", s_curva, qualsiasi, ovunque, p_curva, c_curva,
           "una curva della planimetria: la mano e la classe sono nella parola chiave "
           "(\"curvas4\", \"curvad3\")",
           "traccia la planimetria: diritta fino all'inizio, poi curva per la lunghezza; senza "
           "planimetria la riga e' saltata con i suoi valori",
           g_curva, "curvas4,  700,  950"),
    con_note(
        parola(
            L, "[montagne]", "montagna", s_montagna, qualsiasi, ovunque, {}, c_montagna,
            "un tratto di rilievo intorno alla linea, o una galleria",
            "segna il rilievo sulle celle del tratto; in galleria un marcatore ogni quattro celle "
            "libere",
            g_montagna, "montagna,  8700,  11050,  11"),
        n_montagna),
    parola(L, "[cartelli]", "indicatori_vmax", s_indicatore, qualsiasi, ovunque, {}, c_indicatore,
           "un cartello indicatore di velocita' massima",
           "occupa la cella del cartello con le velocita' e le strisce dei due lati", g_indicatore,
           "indicatori_vmax,  1550,  125,  135,  135,  0,    ,    ,    ,  0"),
    parola(L, "[indicazioni]", "cartello_indicatore", s_cartello, qualsiasi, ovunque, {},
           c_cartello, "un cartello con una scritta lungo la linea",
           "occupa la cella del cartello e una voce del file delle voci, dalla 80 in giu'",
           g_cartello, "cartello_indicatore,  2900,     (   P.L.  )(km 1+522)"),
    // The train description, in the compiler's order.
    parola(T, "[generale]", "percentuale massa frenata", s_frenata, qualsiasi, ovunque, {},
           c_frenata, "la massa frenata del treno", "va nella voce del percorso", g_impostazione,
           "percentuale massa frenata,  90"),
    parola(T, "[generale]", "numero vetture", s_vetture, qualsiasi, ovunque, {}, c_vetture,
           "la composizione del treno", "va nella voce del percorso", g_impostazione,
           "numero vetture,  12"),
    parola(T, "[vel_limite]", "velocita", s_velocita, qualsiasi, ovunque, {}, c_velocita,
           "la velocita' massima della linea da una posizione in poi",
           "riempie la velocita' delle celle, in passi di 5 km/h, fino alla riga seguente "
           "(l'ultima fino alla fine)",
           g_velocita, "velocita,  1500,  125"),
    parola(T, "[aderenze]", "aderenza", s_aderenza, qualsiasi, ovunque, {}, c_aderenza,
           "l'aderenza da una posizione in poi",
           "riempie l'aderenza delle celle fino alla riga seguente (l'ultima fino alla fine)",
           g_aderenza, "aderenza,  0,  100"),
    parola(T, "[generale]", "orologio", s_orologio, qualsiasi, ovunque, {}, c_orologio,
           "l'ora dell'orologio alla partenza; i tre numeri separati da virgole o da spazi",
           "va nella voce del treno", g_impostazione,
           "orologio,     6               40            50"),
    parola(T, "[generale]", "sabbia", s_sabbia, qualsiasi, ovunque, {}, c_sabbia,
           "la sabbia a bordo", "va nella voce del treno", g_impostazione, "sabbia,  300"),
    parola(T, "[segnali]", "segnale", s_segnale, qualsiasi, ovunque, {}, c_segnale,
           "un segnale lungo la linea",
           "occupa la cella del segnale con i valori impacchettati e pone quattro marcatori di "
           "avvicinamento",
           g_segnale, "segnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0"),
    parola(T, "[rallentamenti]", "rallentamento", s_rallentamento, qualsiasi, ovunque, {},
           c_rallentamento, "un rallentamento temporaneo",
           "occupa le celle d'inizio e di fine e, oltre 1500 m, quella del cartello di avviso "
           "1200 m prima e i quattro preavvisi se chiesti; la rifinitura aggiunge gli "
           "abbattimenti",
           g_rallentamento, "rallentamento,  10000,  60,  500,  1,  1,  0"),
    parola(T, "[codici]", "abbattimento", s_abbattimento, qualsiasi, ovunque, {}, c_abbattimento,
           "un punto di abbattimento", "occupa la sua cella, con il valore se maggiore di 0",
           g_abbattimento, "abbattimento,  30000,  0"),
    con_note(
        parola(
            T, "[stazioni]", "stazione", s_stazione, qualsiasi, ovunque, {}, c_stazione,
            "una stazione o fermata, in ordine di marcia",
            "prende una voce dalla 1 in su; sotto il tipo 25 pone la cella di fermata prima della "
            "fine del marciapiede e i quattro marcatori di avvicinamento",
            g_stazione,
            "stazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  45,  30,   "
            "S. LUCERIO"),
        n_stazione),
};

constexpr std::array sezioni{
    sezione_formato{L, "[generale]",
                    "le impostazioni della linea: lunghezza, progressive, sfondo, ripetizione "
                    "segnali; la compilazione della linea parte da qui",
                    true},
    sezione_formato{L, "[curve]", "le curve della planimetria, in ordine di inizio", false},
    sezione_formato{L, "[pendenze]", "le pendenze, in ordine di posizione", false},
    sezione_formato{L, "[montagne]", "i tratti di rilievo e le gallerie", false},
    sezione_formato{L, "[cartelli]", "i cartelli indicatori di velocita' massima", false},
    sezione_formato{L, "[indicazioni]", "i cartelli con una scritta", false},
    sezione_formato{L, "[fine]", "la fine della descrizione: l'ultimo campo non e' mai letto",
                    false},
    sezione_formato{T, "[generale]",
                    "le impostazioni del treno; la compilazione del treno parte da qui, e senza "
                    "questa riga nessuna riga del treno e' letta",
                    false},
    sezione_formato{T, "[aderenze]", "l'aderenza lungo la linea", false},
    sezione_formato{T, "[vel_limite]", "le velocita' massime lungo la linea", false},
    sezione_formato{T, "[stazioni]", "le stazioni, in ordine di marcia", false},
    sezione_formato{T, "[rallentamenti]", "i rallentamenti temporanei", false},
    sezione_formato{T, "[segnali]", "i segnali", false},
    sezione_formato{T, "[codici]", "i punti di abbattimento", false},
    sezione_formato{T, "[fine]", "la fine della descrizione: l'ultimo campo non e' mai letto",
                    false},
};

constexpr std::array di_ogni_riga{
    sv("parola-chiave-sconosciuta"), sv("parola-chiave-multipla"), sv("valori-in-eccesso"),
    sv("valori-su-piu-righe"),       sv("ultimo-campo-ignorato"),  sv("prima-di-generale"),
    sv("lettura-fallita"),           sv("elemento-perso"),         sv("riga-inghiottita"),
    sv("commento-non-valido"),
};

constexpr std::array regole{
    sv("Le descrizioni sono testo Windows-1252 (un file UTF-8 e' convertito); ogni riga finisce "
       "con CR LF."),
    sv("Una riga e' un campo chiave seguito dai valori della sua parola chiave; una virgola o "
       "la fine della riga chiude un campo, e le righe contano solo come separatori: i valori "
       "che mancano a una riga sono presi dalla seguente."),
    sv("Un campo chiave e' riconosciuto se contiene tutte le parti della parola chiave, in "
       "qualsiasi punto; le parole chiave della sezione [generale] della linea, tranne "
       "'lunghezza percorso', vanno scritte in minuscolo."),
    sv("Un numero e' un segno meno facoltativo e cifre; finisce al primo spazio, virgola o fine "
       "riga, quindi i numeri possono stare separati da soli spazi; un campo vuoto vale 0."),
    sv("Un testo va fino alla virgola o alla fine della riga, senza gli spazi iniziali e "
       "finali; fra virgolette puo' contenere virgole."),
    sv("Un'intestazione e' un campo fra [ e ]: la descrizione della linea comincia da "
       "[generale] e la sua sezione generale finisce alla prima altra intestazione; le altre "
       "intestazioni sono ignorate."),
    sv("Un campo chiave che contiene '-' e' un commento ed e' saltato (fino a due di seguito, "
       "dieci nella sezione [generale] della linea)."),
    sv("L'ultimo campo di una descrizione non e' mai letto: la descrizione finisce con [fine]."),
    sv("Le posizioni sono metri dall'inizio della linea; la linea e' fatta di celle di 50 m, e "
       "una posizione non multipla di 50 e' portata su una cella."),
};

// ---- Words an author looks for, and where they lead.

constexpr sv r_montagna[] = {"montagna"};
constexpr sv r_stazione[] = {"stazione"};
constexpr sv r_orario[] = {"stazione", "orologio"};
constexpr sv r_progressiva[] = {"progressiva chilometrica uno", "progressiva chilometrica due",
                                "progressiva chilometrica tre"};
constexpr sv r_curva[] = {"curva"};
constexpr sv r_cartello[] = {"cartello_indicatore", "indicatori_vmax"};
constexpr sv r_segnale[] = {"segnale"};
constexpr sv r_pendenza[] = {"pendenza"};

constexpr sv sp_galleria = "una galleria e' un tratto montagna con tipo da 11 in su";
constexpr sv sp_commento =
    "un commento e' una riga il cui campo chiave contiene '-', come '-- nota': e' saltata, fino "
    "a due di seguito (dieci nella sezione [generale] della linea); dopo una virgola il resto "
    "della riga e' letto come un campo chiave (avviso commento-con-virgola)";
constexpr sv sp_orario =
    "l'ora di una stazione sono i valori ore, minuti e secondi della riga stazione; l'ora "
    "dell'orologio alla partenza e' la riga orologio";
constexpr sv sp_fermata =
    "una stazione di tipo sotto 25 e' una fermata, da 25 in su un transito; l'ora della fermata "
    "e' nei valori ore, minuti e secondi della riga stazione";
constexpr sv sp_progressiva =
    "la progressiva chilometrica, il chilometro letto sui cartelli, e' data da fino a tre "
    "sistemi nella sezione [generale] della linea";
constexpr sv sp_raggio = "il raggio di una curva viene dalla classe scritta nella parola chiave, "
                         "da curvad1 (10000 m) a curvad6 (circa 333 m)";
constexpr sv sp_cartello = "un cartello con una scritta e' cartello_indicatore, un cartello di "
                           "velocita' massima indicatori_vmax";
constexpr sv sp_aspetto = "gli aspetti di un segnale sono i valori s1, s2, s3 della riga "
                          "segnale (d1, d2, d3 per il segnale accanto)";
constexpr sv sp_marciapiede = "il marciapiede e' un valore della riga stazione";
constexpr sv sp_salita = "una salita o una discesa e' una riga pendenza, positiva in salita";

constexpr std::array rimandi{
    rimando_formato{"galleria", sp_galleria, r_montagna},
    rimando_formato{"gallerie", sp_galleria, r_montagna},
    rimando_formato{"tunnel", sp_galleria, r_montagna},
    rimando_formato{"commento", sp_commento, {}},
    rimando_formato{"commenti", sp_commento, {}},
    rimando_formato{"orario", sp_orario, r_orario},
    rimando_formato{"ora", sp_orario, r_orario},
    rimando_formato{"sosta", sp_fermata, r_stazione},
    rimando_formato{"fermata", sp_fermata, r_stazione},
    rimando_formato{"transito", sp_fermata, r_stazione},
    rimando_formato{"marciapiede", sp_marciapiede, r_stazione},
    rimando_formato{"progressiva", sp_progressiva, r_progressiva},
    rimando_formato{"progressive", sp_progressiva, r_progressiva},
    rimando_formato{"chilometrica", sp_progressiva, r_progressiva},
    rimando_formato{"km", sp_progressiva, r_progressiva},
    rimando_formato{"raggio", sp_raggio, r_curva},
    rimando_formato{"cartello", sp_cartello, r_cartello},
    rimando_formato{"aspetto", sp_aspetto, r_segnale},
    rimando_formato{"aspetti", sp_aspetto, r_segnale},
    rimando_formato{"salita", sp_salita, r_pendenza},
    rimando_formato{"discesa", sp_salita, r_pendenza},
};

} // namespace

std::span<const rimando_formato> tabella_rimandi() {
    return rimandi;
}

std::span<const std::string_view> tabella_regole_lettura() {
    return regole;
}

std::span<const parola_chiave_formato> tabella_parole_chiave() {
    return parole_chiave;
}

std::span<const sezione_formato> tabella_sezioni() {
    return sezioni;
}

std::span<const std::string_view> tabella_diagnostiche_comuni() {
    return di_ogni_riga;
}

} // namespace corvenna
