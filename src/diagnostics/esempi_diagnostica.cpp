// The examples of the diagnostics, one a kind, in the order of the table of kinds. Each gives
// the descriptions whole (an empty one is the smallest of its kind), so that an author can copy
// them and the unit test can compile and check them. The tool's own failures come last, each
// with a command line.

#include "diagnostics/esempi_diagnostica.hpp"

#include <array>

namespace corvenna {

namespace {

// clang-format off
constexpr std::array esempi{
    // Warnings.
    esempio_diagnostica{"parola-chiave-multipla", "",
        "[generale]\nnumero vetture sabbia,  12,  300\n[fine]",
        "Una parola chiave per riga.", "",
        "[generale]\nnumero vetture,  12\nsabbia,  300\n[fine]"},
    esempio_diagnostica{"parola-chiave-sconosciuta", "",
        "[generale]\nsabbbia,  300\n[fine]",
        "Scrivi la parola chiave com'e' nel formato (scenario formato).", "",
        "[generale]\nsabbia,  300\n[fine]"},
    esempio_diagnostica{"valori-in-eccesso", "",
        "[generale]\nsabbia,  300,  200\n[fine]",
        "Togli il valore in piu'.", "",
        "[generale]\nsabbia,  300\n[fine]"},
    esempio_diagnostica{"valori-su-piu-righe", "",
        "[generale]\naderenza,  0\n100\n[fine]",
        "Scrivi tutti i valori della riga sulla riga.", "",
        "[generale]\naderenza,  0,  100\n[fine]"},
    esempio_diagnostica{"ultimo-campo-ignorato", "",
        "[generale]\nnumero vetture,  12\nsabbia",
        "Completa la riga e chiudi la descrizione con [fine].", "",
        "[generale]\nnumero vetture,  12\nsabbia,  300\n[fine]"},
    esempio_diagnostica{"prima-di-generale", "",
        "numero vetture,  12\n[generale]\n[fine]",
        "Sposta la riga dopo [generale].", "",
        "[generale]\nnumero vetture,  12\n[fine]"},
    esempio_diagnostica{"generale-mancante", "",
        "[vetture]\n[fine]",
        "Apri la descrizione del treno con [generale].", "",
        "[generale]\n[fine]"},
    esempio_diagnostica{"riga-ripetuta", "",
        "[generale]\nsabbia,  300\nsabbia,  200\n[fine]",
        "Tieni una sola riga.", "",
        "[generale]\nsabbia,  200\n[fine]"},
    esempio_diagnostica{"testo-accorciato",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  2900,  \"(  P.L.  )\"(km 1+522)\n[fine]", "",
        "Metti tutto il testo fra le virgolette.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  2900,  \"(  P.L.  )(km 1+522)\"\n[fine]", ""},
    esempio_diagnostica{"byte-non-stampabile",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  2900,  (P.L.\x7f)\n[fine]", "",
        "Togli il byte invisibile.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  2900,  (P.L.)\n[fine]", ""},
    esempio_diagnostica{"posizione-arrotondata",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  2910,  (P.L.)\n[fine]", "",
        "Scrivi una posizione multipla di 50.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  2900,  (P.L.)\n[fine]", ""},
    esempio_diagnostica{"velocita-arrotondata", "",
        "[generale]\nvelocita,  0,  123\n[fine]",
        "Scrivi una velocita' multipla di 5.", "",
        "[generale]\nvelocita,  0,  125\n[fine]"},
    esempio_diagnostica{"valore-troncato", "",
        "[generale]\naderenza,  0,  300\n[fine]",
        "Scrivi un valore che stia nel campo (l'aderenza da 0 a 255).", "",
        "[generale]\naderenza,  0,  100\n[fine]"},
    esempio_diagnostica{"tempo-segnale-cambiato", "",
        "[generale]\nsegnale,  2800,  2,  4,  0,  0,  0,  0,  0,  0,  0,  50\n[fine]",
        "Scrivi 0 o un tempo oltre 100, e solo per i segnali con sx 2.", "",
        "[generale]\nsegnale,  2800,  2,  4,  0,  0,  0,  0,  0,  0,  0,  101\n[fine]"},
    esempio_diagnostica{"valore-stazione-ignorato", "",
        "[generale]\nstazione,  0,  2,  400,  0,  1,  0,  1,  1,  0,  2,  4,  1,  1,  6,  41,  0,   "
        "CORVENNA\n[fine]",
        "Lascia b2 a 0 nella prima stazione e nei marciapiedi sotto 600 m.", "",
        "[generale]\nstazione,  0,  2,  400,  0,  0,  0,  1,  1,  0,  2,  4,  1,  1,  6,  41,  0,   "
        "CORVENNA\n[fine]"},
    esempio_diagnostica{"classe-curva-multipla",
        "[generale]\nlunghezza percorso,  20000\n[curve]\ncurvas42,  700,  950\n[fine]", "",
        "Scrivi una sola cifra di classe.",
        "[generale]\nlunghezza percorso,  20000\n[curve]\ncurvas4,  700,  950\n[fine]", ""},
    esempio_diagnostica{"tipo-montagna-cambiato",
        "[generale]\nlunghezza percorso,  20000\n[montagne]\nmontagna,  1000,  2000,  1\n"
        "montagna,  2100,  3000,  2\n[fine]", "",
        "Lascia piu' di 150 m fra un tratto e il seguente, o unisci i due tratti.",
        "[generale]\nlunghezza percorso,  20000\n[montagne]\nmontagna,  1000,  2000,  1\n"
        "montagna,  2200,  3000,  2\n[fine]", ""},
    esempio_diagnostica{"prima-posizione-non-zero",
        "[generale]\nlunghezza percorso,  20000\n[pendenze]\npendenza,  500,  -5\n[fine]", "",
        "Comincia con una riga a 0.",
        "[generale]\nlunghezza percorso,  20000\n[pendenze]\npendenza,  0,  0\n"
        "pendenza,  500,  -5\n[fine]", ""},
    esempio_diagnostica{"posizione-non-crescente",
        "[generale]\nlunghezza percorso,  20000\n[pendenze]\npendenza,  0,  0\n"
        "pendenza,  3000,  5\npendenza,  2000,  -5\n[fine]", "",
        "Metti le righe in ordine di posizione.",
        "[generale]\nlunghezza percorso,  20000\n[pendenze]\npendenza,  0,  0\n"
        "pendenza,  2000,  -5\npendenza,  3000,  5\n[fine]", ""},
    esempio_diagnostica{"curva-sovrapposta",
        "[generale]\nlunghezza percorso,  20000\n[curve]\ncurvas4,  700,  950\n"
        "curvad3,  1500,  500\n[fine]", "",
        "Fai iniziare la curva dopo la fine della precedente.",
        "[generale]\nlunghezza percorso,  20000\n[curve]\ncurvas4,  700,  950\n"
        "curvad3,  1700,  500\n[fine]", ""},
    esempio_diagnostica{"elemento-coperto",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  5250,  (P.L.)\n[fine]",
        "[generale]\nstazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  45,  "
        "30,   LUCERIO\n[fine]",
        "Sposta il cartello fuori dalla cella di fermata della stazione.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  5500,  (P.L.)\n[fine]", ""},
    esempio_diagnostica{"marcatore-galleria-sostituito",
        "[generale]\nlunghezza percorso,  20000\n[montagne]\nmontagna,  1000,  3000,  11\n[fine]",
        "[generale]\nsegnale,  1100,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n[fine]",
        "Sposta il segnale di una cella, fuori dal marcatore di galleria.", "",
        "[generale]\nsegnale,  1150,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n[fine]"},
    esempio_diagnostica{"marcatore-galleria-omesso",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  1100,  (Galleria)\n[montagne]\nmontagna,  1000,  3000,  11\n[fine]",
        "",
        "Sposta il cartello di una cella, o metti la galleria prima del cartello.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  1150,  (Galleria)\n[montagne]\nmontagna,  1000,  3000,  11\n[fine]",
        ""},
    esempio_diagnostica{"marcatori-sovrascritti", "",
        "[generale]\nsegnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"
        "segnale,  3000,  2,  4,  0,  0,  0,  0,  0,  0,  0,  0\n[fine]",
        "Allontana i due segnali di almeno 450 m.", "",
        "[generale]\nsegnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"
        "segnale,  3400,  2,  4,  0,  0,  0,  0,  0,  0,  0,  0\n[fine]"},
    esempio_diagnostica{"montagne-sovrapposte",
        "[generale]\nlunghezza percorso,  20000\n[montagne]\nmontagna,  1000,  3000,  1\n"
        "montagna,  2000,  4000,  2\n[fine]", "",
        "Fai iniziare il tratto dopo la fine del precedente.",
        "[generale]\nlunghezza percorso,  20000\n[montagne]\nmontagna,  1000,  3000,  1\n"
        "montagna,  3200,  4000,  2\n[fine]", ""},
    esempio_diagnostica{"montagna-vuota",
        "[generale]\nlunghezza percorso,  20000\n[montagne]\nmontagna,  1000,  1000,  1\n[fine]",
        "",
        "Dai al tratto una fine di almeno 50 m dopo l'inizio.",
        "[generale]\nlunghezza percorso,  20000\n[montagne]\nmontagna,  1000,  1500,  1\n[fine]",
        ""},
    esempio_diagnostica{"rallentamento-senza-fine", "",
        "[generale]\nrallentamento,  10000,  60,  0,  1,  0,  0\n[fine]",
        "Dai al rallentamento una lunghezza di almeno 50 m.", "",
        "[generale]\nrallentamento,  10000,  60,  500,  1,  0,  0\n[fine]"},
    esempio_diagnostica{"preavvisi-omessi", "",
        "[generale]\nrallentamento,  1500,  60,  500,  1,  1,  0\n[fine]",
        "Non chiedere i preavvisi (f_ta 0), o sposta il rallentamento oltre 1500 m.", "",
        "[generale]\nrallentamento,  1500,  60,  500,  1,  0,  0\n[fine]"},
    esempio_diagnostica{"abbattimento-ridotto",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  7900,  (P.L.)\n[fine]",
        "[generale]\nabbattimento,  8000,  200\n"
        "segnale,  8000,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"
        "rallentamento,  10000,  60,  500,  1,  0,  0\n[fine]",
        "Scrivi un valore di al piu' 180.", "",
        "[generale]\nabbattimento,  8000,  180\n"
        "segnale,  8000,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"
        "rallentamento,  10000,  60,  500,  1,  0,  0\n[fine]"},
    esempio_diagnostica{"compilazione-interrotta",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  99500,  (P.L.)\n[fine]",
        "[generale]\nsegnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n[fine]",
        "Correggi la posizione che da' il codice 15.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  9500,  (P.L.)\n[fine]", ""},

    // Found by the checking pass.
    esempio_diagnostica{"oltre-il-percorso",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  23000,  (P.L.)\n[fine]", "",
        "Correggi la posizione (qui ha uno zero di troppo), o allunga il percorso.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  2300,  (P.L.)\n[fine]", ""},
    esempio_diagnostica{"progressive-annullate",
        "[generale]\nlunghezza percorso,  20000\nprogressiva chilometrica uno,  0,  -1500,  0\n"
        "[fine]", "",
        "Dai alla progressiva uno scostamento positivo, o un inizio oltre 0.",
        "[generale]\nlunghezza percorso,  20000\nprogressiva chilometrica uno,  0,  1500,  0\n"
        "[fine]", ""},
    esempio_diagnostica{"lettere-fraintese",
        "[generale]\nlunghezza percorso,  20000\n[curve]\ncurva destra 4,  700,  950\n[fine]", "",
        "Scrivi la curva come 'curvad4': la 's' di 'destra' la fa a sinistra.",
        "[generale]\nlunghezza percorso,  20000\n[curve]\ncurvad4,  700,  950\n[fine]", ""},
    esempio_diagnostica{"valore-avvolto",
        "[generale]\nlunghezza percorso,  20000\n[pendenze]\npendenza,  0,  200\n[fine]", "",
        "Scrivi una pendenza fra -100 e 155 per mille.",
        "[generale]\nlunghezza percorso,  20000\n[pendenze]\npendenza,  0,  20\n[fine]", ""},
    esempio_diagnostica{"treno-vuoto", "",
        "[generle]\nnumero vetture,  12\n[fine]",
        "Apri la descrizione del treno con [generale], scritta bene.", "",
        "[generale]\nnumero vetture,  12\n[fine]"},
    esempio_diagnostica{"senza-stazioni", "",
        "[generale]\nnumero vetture,  12\n[segnali]\n"
        "segnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n[fine]",
        "Aggiungi la stazione dove il treno parte.", "",
        "[generale]\nnumero vetture,  12\n[stazioni]\nstazione,  0,  2,  400,  0,  0,  1,  1,  1,  "
        "0,  2,  4,  1,  1,  6,  41,  0,   ORIGINE\n[segnali]\n"
        "segnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n[fine]"},
    esempio_diagnostica{"parola-chiave-simile", "",
        "[generale]\nvelocta,  0,  75\n[fine]",
        "Scrivi la parola chiave suggerita.", "",
        "[generale]\nvelocita,  0,  75\n[fine]"},
    esempio_diagnostica{"intestazione-sconosciuta", "",
        "[generale]\nnumero vetture,  12\n[vel_limte]\n[fine]",
        "Scrivi l'intestazione suggerita, o toglila.", "",
        "[generale]\nnumero vetture,  12\n[vel_limite]\n[fine]"},
    esempio_diagnostica{"riga-fuori-sezione",
        "[generale]\nlunghezza percorso,  20000\npendenza,  0,  5\n[fine]", "",
        "Metti la riga nella sua sezione, dopo [generale].",
        "[generale]\nlunghezza percorso,  20000\n[pendenze]\npendenza,  0,  5\n[fine]", ""},
    esempio_diagnostica{"trattino-in-parola-chiave", "",
        "[generale]\nvelocita-linea,  1500,  125\n[fine]",
        "Togli il trattino dalla parola chiave.", "",
        "[generale]\nvelocita,  1500,  125\n[fine]"},
    esempio_diagnostica{"separatore-non-valido", "",
        "[generale]\nvelocita;  1500;  125\n[fine]",
        "Separa i campi con virgole.", "",
        "[generale]\nvelocita,  1500,  125\n[fine]"},
    esempio_diagnostica{"commento-con-virgola", "",
        "[generale]\n-- nota, sabbia da rifornire\nsabbia,  300\n[fine]",
        "Togli la virgola dal commento.", "",
        "[generale]\n-- nota: sabbia da rifornire\nsabbia,  300\n[fine]"},
    esempio_diagnostica{"orario-non-valido", "",
        "[generale]\nstazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  75,  "
        "30,   LUCERIO\n[fine]",
        "Scrivi minuti e secondi da 0 a 59 (qui le 7 e 15: 7, 15).", "",
        "[generale]\nstazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  7,  15,  "
        "30,   LUCERIO\n[fine]"},
    esempio_diagnostica{"orario-decrescente", "",
        "[generale]\n"
        "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  41,  0,   CORVENNA\n"
        "stazione,  1000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  40,  30,   "
        "LUCERIO\n[fine]",
        "Correggi l'orario della stazione, che viene dopo la precedente.", "",
        "[generale]\n"
        "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  41,  0,   CORVENNA\n"
        "stazione,  1000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  45,  30,   "
        "LUCERIO\n[fine]"},
    esempio_diagnostica{"elemento-perso", "",
        "[generale]\nsegnael,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n[fine]",
        "Scrivi la parola chiave suggerita.", "",
        "[generale]\nsegnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n[fine]"},
    esempio_diagnostica{"riga-inghiottita", "",
        "[generale]\n"
        "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  41,  0\n"
        "stazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  45,  30,   "
        "LUCERIO\n[fine]",
        "Completa la riga corta: qui manca il nome della prima stazione.", "",
        "[generale]\n"
        "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  41,  0,   CORVENNA\n"
        "stazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  45,  30,   "
        "LUCERIO\n[fine]"},
    esempio_diagnostica{"curva-ignorata",
        "[generale]\nlunghezza percorso,  20000\n[curve]\ncurvas4,  3000,  500\n"
        "curvad3,  1000,  500\n[fine]", "",
        "Scrivi le curve in ordine di posizione.",
        "[generale]\nlunghezza percorso,  20000\n[curve]\ncurvad3,  1000,  500\n"
        "curvas4,  3000,  500\n[fine]", ""},
    esempio_diagnostica{"progressiva-mai-applicata",
        "[generale]\nlunghezza percorso,  20000\nprogressiva chilometrica uno,  0,  0,  0\n"
        "progressiva chilometrica due,  0,  500,  0\n"
        "progressiva chilometrica tre,  5000,  9000,  0\n[fine]", "",
        "Togli la progressiva che non si applica, o dalle un inizio suo.",
        "[generale]\nlunghezza percorso,  20000\nprogressiva chilometrica uno,  0,  0,  0\n"
        "progressiva chilometrica tre,  5000,  9000,  0\n[fine]", ""},
    esempio_diagnostica{"commento-non-valido", "",
        "[generale]\n# nota per le salite\nsabbia,  300\n[fine]",
        "Scrivi il commento con '--'.", "",
        "[generale]\n-- nota per le salite\nsabbia,  300\n[fine]"},

    // Found by the dry run (the examples are checked with the model "locomotiva").
    esempio_diagnostica{"orario-impossibile", "",
        "[generale]\n"
        "percentuale massa frenata,  90\n"
        "velocita,  0,  100\n"
        "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  0,  0,   ALFA\n"
        "stazione,  5000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  2,  0,   "
        "BETA\n"
        "segnale,  3000,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"
        "segnale,  4400,  2,  3,  0,  0,  0,  1,  2,  0,  0,  0\n[fine]",
        "Dai alla tratta almeno il tempo del limite inferiore, meglio quello della marcia del "
        "treno con un margine.", "",
        "[generale]\n"
        "percentuale massa frenata,  90\n"
        "velocita,  0,  100\n"
        "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  0,  0,   ALFA\n"
        "stazione,  5000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  6,  0,   "
        "BETA\n"
        "segnale,  3000,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"
        "segnale,  4400,  2,  3,  0,  0,  0,  1,  2,  0,  0,  0\n[fine]"},
    esempio_diagnostica{"orario-irrealizzabile", "",
        "[generale]\n"
        "percentuale massa frenata,  90\n"
        "velocita,  0,  100\n"
        "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  0,  0,   ALFA\n"
        "stazione,  5000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  3,  20,   "
        "BETA\n"
        "segnale,  3000,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"
        "segnale,  4400,  2,  3,  0,  0,  0,  1,  2,  0,  0,  0\n[fine]",
        "Allunga l'orario oltre il tempo minimo della marcia (scenario marcia lo mostra).", "",
        "[generale]\n"
        "percentuale massa frenata,  90\n"
        "velocita,  0,  100\n"
        "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  0,  0,   ALFA\n"
        "stazione,  5000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  6,  0,   "
        "BETA\n"
        "segnale,  3000,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"
        "segnale,  4400,  2,  3,  0,  0,  0,  1,  2,  0,  0,  0\n[fine]"},
    esempio_diagnostica{"margine-scarso", "",
        "[generale]\n"
        "percentuale massa frenata,  90\n"
        "velocita,  0,  100\n"
        "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  0,  0,   ALFA\n"
        "stazione,  5000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  3,  28,   "
        "BETA\n"
        "segnale,  3000,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"
        "segnale,  4400,  2,  3,  0,  0,  0,  1,  2,  0,  0,  0\n[fine]",
        "Allunga l'orario della tratta di qualche punto percentuale.", "",
        "[generale]\n"
        "percentuale massa frenata,  90\n"
        "velocita,  0,  100\n"
        "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  0,  0,   ALFA\n"
        "stazione,  5000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  6,  0,   "
        "BETA\n"
        "segnale,  3000,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"
        "segnale,  4400,  2,  3,  0,  0,  0,  1,  2,  0,  0,  0\n[fine]"},
    esempio_diagnostica{"frenatura-insufficiente", "",
        "[generale]\n"
        "percentuale massa frenata,  90\n"
        "velocita,  0,  100\n"
        "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  0,  0,   ALFA\n"
        "stazione,  5000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  6,  0,   "
        "BETA\n"
        "segnale,  3000,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"
        "segnale,  3500,  2,  3,  0,  0,  0,  1,  2,  0,  0,  0\n[fine]",
        "Allontana il principale dall'avviso oltre lo spazio di frenatura.", "",
        "[generale]\n"
        "percentuale massa frenata,  90\n"
        "velocita,  0,  100\n"
        "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  0,  0,   ALFA\n"
        "stazione,  5000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  6,  0,   "
        "BETA\n"
        "segnale,  3000,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"
        "segnale,  4400,  2,  3,  0,  0,  0,  1,  2,  0,  0,  0\n[fine]"},

    // Errors.
    esempio_diagnostica{"lunghezza-eccessiva",
        "[generale]\nlunghezza percorso,  1200000\n[fine]", "",
        "Scrivi una lunghezza di al piu' 1000000 m.",
        "[generale]\nlunghezza percorso,  120000\n[fine]", ""},
    esempio_diagnostica{"progressiva-non-multipla",
        "[generale]\nlunghezza percorso,  20000\nprogressiva chilometrica uno,  0,  1525,  0\n[fine]",
        "", "Scrivi un inizio e uno scostamento multipli di 50.",
        "[generale]\nlunghezza percorso,  20000\nprogressiva chilometrica uno,  0,  1500,  0\n[fine]",
        ""},
    esempio_diagnostica{"ripetizione-inizio",
        "[generale]\nlunghezza percorso,  20000\nripetizione segnali 4 codici,  1010,  2000\n[fine]",
        "", "Scrivi un inizio multiplo di 50.",
        "[generale]\nlunghezza percorso,  20000\nripetizione segnali 4 codici,  1000,  2000\n[fine]",
        ""},
    esempio_diagnostica{"ripetizione-fine",
        "[generale]\nlunghezza percorso,  20000\nripetizione segnali 4 codici,  1000,  2025\n[fine]",
        "", "Scrivi una fine multipla di 50.",
        "[generale]\nlunghezza percorso,  20000\nripetizione segnali 4 codici,  1000,  2000\n[fine]",
        ""},
    esempio_diagnostica{"ripetizione-codici",
        "[generale]\nlunghezza percorso,  20000\nripetizione segnali,  1000,  2000\n[fine]",
        "", "Scrivi 4 o 9 nella parola chiave.",
        "[generale]\nlunghezza percorso,  20000\nripetizione segnali 4 codici,  1000,  2000\n[fine]",
        ""},
    esempio_diagnostica{"cartello-occupato",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  2900,  (P.L.)\ncartello_indicatore,  2900,  (Fiume)(ARSETTA)\n[fine]",
        "", "Sposta uno dei due cartelli in un'altra cella.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  2900,  (P.L.)\ncartello_indicatore,  3000,  (Fiume)(ARSETTA)\n[fine]",
        ""},
    esempio_diagnostica{"abbattimento-occupato", "",
        "[generale]\nabbattimento,  5000,  0\nabbattimento,  5000,  0\n[fine]",
        "Sposta l'abbattimento in una cella libera.", "",
        "[generale]\nabbattimento,  5000,  0\nabbattimento,  5100,  0\n[fine]"},
    esempio_diagnostica{"stazione-non-multipla", "",
        "[generale]\nstazione,  5210,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  45,  "
        "30,   LUCERIO\n[fine]",
        "Scrivi una posizione multipla di 50.", "",
        "[generale]\nstazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  45,  "
        "30,   LUCERIO\n[fine]"},
    esempio_diagnostica{"marciapiede-non-multiplo", "",
        "[generale]\nstazione,  5200,  12,  350,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  45,  "
        "30,   LUCERIO\n[fine]",
        "Scrivi una lunghezza multipla di 100.", "",
        "[generale]\nstazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  45,  "
        "30,   LUCERIO\n[fine]"},
    esempio_diagnostica{"voci-esaurite", "",
        "[generale]\n-- 78 righe di stazione, e una in piu':\n"
        "stazione,  5200,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  45,  "
        "30,   LUCERIO\n[fine]",
        "Togli stazioni o cartelli: insieme sono al piu' 78.", "", ""},
    esempio_diagnostica{"abbattimento-segnale",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  7900,  (P.L.)\ncartello_indicatore,  7950,  (P.L.)\n[fine]",
        "[generale]\nsegnale,  8000,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"
        "rallentamento,  10000,  60,  500,  1,  0,  0\n[fine]",
        "Libera una delle due celle prima del segnale.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  7900,  (P.L.)\ncartello_indicatore,  7750,  (P.L.)\n[fine]", ""},
    esempio_diagnostica{"abbattimento-fasce",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  9650,  (P.L.)\ncartello_indicatore,  9700,  (P.L.)\n"
        "cartello_indicatore,  9750,  (P.L.)\n[fine]",
        "[generale]\nrallentamento,  10000,  60,  500,  1,  0,  0\n[fine]",
        "Libera una cella della fascia, o sposta il rallentamento.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  9650,  (P.L.)\ncartello_indicatore,  9700,  (P.L.)\n[fine]", ""},
    esempio_diagnostica{"abbattimento-percorso",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  10350,  (P.L.)\ncartello_indicatore,  10400,  (P.L.)\n"
        "cartello_indicatore,  10450,  (P.L.)\n[fine]",
        "[generale]\nrallentamento,  10000,  30,  2000,  1,  0,  0\n[fine]",
        "Libera una delle celle intorno alla posizione indicata.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  10350,  (P.L.)\ncartello_indicatore,  10450,  (P.L.)\n[fine]", ""},
    esempio_diagnostica{"fuori-tracciato",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  99500,  (P.L.)\n[fine]", "",
        "Correggi la posizione, o allunga il percorso.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  9500,  (P.L.)\n[fine]", ""},
    esempio_diagnostica{"segnale-occupato", "",
        "[generale]\nsegnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"
        "segnale,  2800,  2,  4,  0,  0,  0,  0,  0,  0,  0,  0\n[fine]",
        "Sposta uno dei due segnali.", "",
        "[generale]\nsegnale,  2800,  1,  4,  0,  0,  0,  0,  0,  0,  0,  0\n"
        "segnale,  4000,  2,  4,  0,  0,  0,  0,  0,  0,  0,  0\n[fine]"},
    esempio_diagnostica{"avviso-occupato",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  8800,  (P.L.)\n[fine]",
        "[generale]\nrallentamento,  10000,  60,  500,  1,  0,  0\n[fine]",
        "Sposta il cartello dalla cella dell'avviso, 1200 m prima del rallentamento.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  8600,  (P.L.)\n[fine]", ""},
    esempio_diagnostica{"inizio-occupato",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  10000,  (P.L.)\n[fine]",
        "[generale]\nrallentamento,  10000,  60,  500,  1,  0,  0\n[fine]",
        "Sposta il cartello dalla cella d'inizio del rallentamento.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  11000,  (P.L.)\n[fine]", ""},
    esempio_diagnostica{"fine-occupata",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  10500,  (P.L.)\n[fine]",
        "[generale]\nrallentamento,  10000,  60,  500,  1,  0,  0\n[fine]",
        "Cambia la lunghezza del rallentamento, o sposta il cartello.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  11000,  (P.L.)\n[fine]", ""},
    esempio_diagnostica{"preavvisi-occupati",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  8700,  (P.L.)\n[fine]",
        "[generale]\nrallentamento,  10000,  60,  500,  1,  1,  0\n[fine]",
        "Sposta il cartello dalle quattro celle prima dell'avviso, o non chiedere i preavvisi.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  8000,  (P.L.)\n[fine]", ""},
    esempio_diagnostica{"indicatore-occupato",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  2900,  (P.L.)\n[cartelli]\n"
        "indicatori_vmax,  2900,  100,  105,  105,  0,    ,    ,    ,  0\n[fine]", "",
        "Sposta l'indicatore o il cartello.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  2900,  (P.L.)\n[cartelli]\n"
        "indicatori_vmax,  3000,  100,  105,  105,  0,    ,    ,    ,  0\n[fine]", ""},
    esempio_diagnostica{"stazioni-vicine", "",
        "[generale]\n"
        "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  41,  0,   CORVENNA\n"
        "stazione,  600,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  45,  30,   "
        "LUCERIO\n[fine]",
        "Allontana le stazioni, o accorcia i marciapiedi.", "",
        "[generale]\n"
        "stazione,  0,  2,  400,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  41,  0,   CORVENNA\n"
        "stazione,  1000,  12,  300,  0,  0,  0,  0,  0,  0,  2,  1,  0,  30,  6,  45,  30,   "
        "LUCERIO\n[fine]"},
    esempio_diagnostica{"fermata-iniziale", "",
        "[generale]\n"
        "stazione,  0,  12,  100,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  41,  0,   CORVENNA\n"
        "[fine]",
        "Sposta la stazione piu' avanti.", "",
        "[generale]\n"
        "stazione,  200,  12,  100,  0,  0,  1,  1,  1,  0,  2,  4,  1,  1,  6,  41,  0,   CORVENNA\n"
        "[fine]"},
    esempio_diagnostica{"lettura-fallita", "",
        "[generale]\nsabbia,  tanta\n[fine]",
        "Scrivi un numero.", "",
        "[generale]\nsabbia,  300\n[fine]"},
    esempio_diagnostica{"celle-fuori-limite",
        "[generale]\nlunghezza percorso,  20000\n[montagne]\nmontagna,  19000,  40000,  1\n[fine]",
        "", "Fai finire il tratto entro il tracciato.",
        "[generale]\nlunghezza percorso,  20000\n[montagne]\nmontagna,  19000,  20000,  1\n[fine]",
        ""},
    esempio_diagnostica{"troppe-montagne",
        "[generale]\nlunghezza percorso,  20000\n[montagne]\n"
        "-- 80 righe di montagna, e una in piu':\nmontagna,  19000,  19500,  1\n[fine]",
        "", "Unisci dei tratti vicini: sono al piu' 80.", "", ""},
    esempio_diagnostica{"linea-mancante", "-- nessun file NOME_linea.txt", "",
        "Scrivi la descrizione della linea accanto a quella del treno, o indica il suo percorso.",
        "", ""},
    esempio_diagnostica{"linea-senza-generale",
        "lunghezza percorso,  20000\n[fine]", "",
        "Apri la descrizione della linea con [generale].",
        "[generale]\nlunghezza percorso,  20000\n[fine]", ""},
    esempio_diagnostica{"curva-non-valida",
        "[generale]\nlunghezza percorso,  20000\n[curve]\ncurvas,  700,  950\n[fine]", "",
        "Scrivi nella parola chiave la classe, una cifra da 1 a 6.",
        "[generale]\nlunghezza percorso,  20000\n[curve]\ncurvas4,  700,  950\n[fine]", ""},
    esempio_diagnostica{"timbro-occupato",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  0,  (Inizio)\n[fine]", "",
        "Sposta l'elemento oltre i primi 100 m.",
        "[generale]\nlunghezza percorso,  20000\n[indicazioni]\n"
        "cartello_indicatore,  200,  (Inizio)\n[fine]", ""},
    esempio_diagnostica{"codici-occupati", "",
        "[generale]\nrallentamento,  0,  0,  500,  0,  0,  5\n[fine]",
        "Sposta l'elemento oltre i primi 100 m.", "",
        "[generale]\nrallentamento,  200,  0,  500,  0,  0,  5\n[fine]"},
};

constexpr std::array esempi_dello_strumento{
    esempio_strumento{"file-inaccessibile",
        "scenario controlla Arsetta_linea.txt Arsetta_0042-.txt",
        "Il treno non sta in questa cartella: indica il file con la sua cartella.",
        "scenario controlla Arsetta_linea.txt treni/Arsetta_0042-.txt"},
    esempio_strumento{"uso-errato",
        "scenario controla Arsetta_linea.txt Arsetta_0042-.txt",
        "Scrivi il comando come lo elenca 'scenario --help'.",
        "scenario controlla Arsetta_linea.txt Arsetta_0042-.txt"},
};
// clang-format on

} // namespace

std::span<const esempio_diagnostica> esempi_diagnostica() {
    return esempi;
}

const esempio_diagnostica* esempio_di(std::string_view nome) {
    for (const esempio_diagnostica& e : esempi)
        if (e.nome == nome)
            return &e;
    return nullptr;
}

std::span<const esempio_strumento> esempi_strumento() {
    return esempi_dello_strumento;
}

const esempio_strumento* esempio_strumento_di(std::string_view nome) {
    for (const esempio_strumento& e : esempi_dello_strumento)
        if (e.nome == nome)
            return &e;
    return nullptr;
}

} // namespace corvenna
