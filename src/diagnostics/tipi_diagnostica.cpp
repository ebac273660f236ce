#include "diagnostics/tipi_diagnostica.hpp"

#include <array>

namespace corvenna {

namespace {

constexpr tipo_diagnostica avviso(tipo_avviso tipo, std::string_view nome, std::string_view testo,
                                  std::string_view spiegazione) {
    return {gravita::avviso, nome, testo, spiegazione, tipo, 0, false, false, false};
}

// A warning the authors' tool refuses as an error unless allowed by name.
constexpr tipo_diagnostica avviso_grave(tipo_avviso tipo, std::string_view nome,
                                        std::string_view testo, std::string_view spiegazione) {
    return {gravita::avviso, nome, testo, spiegazione, tipo, 0, false, true, false};
}

// Whether the build records a position in metres with an error's code.
enum class posizione : bool { senza, con };

constexpr tipo_diagnostica errore(std::int32_t codice, std::string_view nome, posizione p,
                                  std::string_view testo, std::string_view spiegazione) {
    return {gravita::errore,     nome,  testo, spiegazione, std::nullopt, codice,
            p == posizione::con, false, false};
}

// A failure of the authors' tool, not of the compile: an error without a code.
constexpr tipo_diagnostica errore_strumento(std::string_view nome, std::string_view testo,
                                            std::string_view spiegazione) {
    return {gravita::errore, nome, testo, spiegazione, std::nullopt, 0, false, false, true};
}

// Texts use the descriptions' ASCII spelling of accented letters ("e'", "piu'").
constexpr std::array tabella{
    // Warnings, in the order of tipo_avviso.
    avviso(tipo_avviso::parola_chiave_multipla, "parola-chiave-multipla",
           "un campo chiave contiene piu' di una parola chiave",
           "Il primo campo della riga contiene piu' parole chiave della descrizione: ciascuna "
           "legge i suoi valori, uno dopo l'altro, dai campi che seguono, e la riga non dice "
           "quello che sembra. Scrivi una sola parola chiave per riga."),
    avviso(tipo_avviso::parola_chiave_sconosciuta, "parola-chiave-sconosciuta",
           "un campo che non e' una parola chiave sta dove se ne aspetta una",
           "Il campo non contiene alcuna parola chiave della descrizione, e la riga che apre e' "
           "ignorata per intero. Controlla come e' scritta la parola chiave, e che la riga stia "
           "nella descrizione giusta (della linea o del treno)."),
    avviso(tipo_avviso::valori_in_eccesso, "valori-in-eccesso",
           "una riga ha piu' valori di quanti ne prende la sua parola chiave",
           "Dopo i valori che la parola chiave legge, la riga ha altri campi, che sono ignorati. "
           "Di solito c'e' una virgola di troppo o un valore scritto due volte: togli i campi in "
           "piu', o controlla quanti valori prende la riga."),
    avviso(tipo_avviso::valori_su_piu_righe, "valori-su-piu-righe",
           "i valori di una riga continuano sulle righe seguenti",
           "La riga ha meno valori di quanti ne prende la sua parola chiave: quelli mancanti sono "
           "letti dalle righe che seguono, che cosi' non valgono come righe proprie. Completa la "
           "riga con tutti i suoi valori (0 per quelli che non servono)."),
    avviso(tipo_avviso::ultimo_campo_ignorato, "ultimo-campo-ignorato",
           "l'ultimo campo della descrizione non e' letto",
           "L'ultimo campo di una descrizione non e' mai letto: di solito e' la riga [fine], che "
           "chiude la descrizione. Qui e' un valore o una parola chiave, che va perso. Termina la "
           "descrizione con una riga [fine]."),
    avviso(tipo_avviso::prima_di_generale, "prima-di-generale",
           "un campo sta prima della sezione [generale]",
           "La compilazione di una descrizione comincia dalla sezione [generale]: tutto cio' che "
           "la precede e' ignorato (l'avviso indica solo il primo campo). Sposta le righe dopo "
           "[generale], o toglile."),
    avviso(tipo_avviso::generale_mancante, "generale-mancante",
           "la descrizione del treno non ha la sezione [generale]",
           "Senza la sezione [generale] nessuna riga della descrizione del treno e' compilata: "
           "lo scenario e' costruito come se la descrizione fosse vuota. Aggiungi una riga "
           "[generale] prima delle righe del treno."),
    avviso(tipo_avviso::riga_ripetuta, "riga-ripetuta", "un'impostazione e' data piu' volte",
           "Un'impostazione che vale per tutta la descrizione (la lunghezza del percorso, una "
           "progressiva chilometrica, ...) compare su piu' righe: vale l'ultima, e le precedenti "
           "non contano. Tieni una sola riga."),
    avviso(tipo_avviso::testo_accorciato, "testo-accorciato",
           "un testo perde gli spazi finali o cio' che segue le virgolette chiuse",
           "Un testo senza virgolette finisce all'ultimo carattere che non e' uno spazio; uno fra "
           "virgolette finisce alle virgolette chiuse, e cio' che le segue fino alla virgola e' "
           "scartato. Il testo resta quello che il messaggio mostra: se servono gli spazi, metti "
           "tutto il testo fra virgolette, e nulla dopo."),
    avviso(tipo_avviso::byte_non_stampabile, "byte-non-stampabile",
           "un nome o un testo contiene un byte di controllo o senza carattere",
           "Il nome di una stazione o il testo di un cartello contiene un byte di controllo "
           "(da 0x00 a 0x1f, o 0x7f) o uno dei byte a cui Windows-1252 non da' un carattere "
           "(0x81, 0x8d, 0x8f, 0x90, 0x9d). Il byte va nel file delle voci cosi' com'e', ma non "
           "si vede come una lettera. Di solito e' un carattere invisibile copiato da un altro "
           "testo: toglilo, o scrivi il carattere voluto."),
    avviso(tipo_avviso::posizione_arrotondata, "posizione-arrotondata",
           "una posizione non multipla di 50 e' portata su una cella",
           "La linea e' fatta di celle di 50 m, e ogni elemento sta in una cella: una posizione "
           "che non e' multipla di 50 e' arrotondata a una cella, e l'elemento non sta dove e' "
           "scritto. Scrivi una posizione multipla di 50."),
    avviso(tipo_avviso::velocita_arrotondata, "velocita-arrotondata",
           "una velocita' non multipla di 5 e' arrotondata",
           "Le velocita' sono conservate in passi di 5 km/h: una velocita' che non e' multipla di "
           "5 diventa quella che il messaggio dice. Scrivi una velocita' multipla di 5."),
    avviso(tipo_avviso::valore_troncato, "valore-troncato",
           "un valore non sta nel suo campo e ne resta una parte",
           "Il campo del file in cui il valore va ha pochi bit: ne restano solo i bit bassi, e "
           "lo scenario riceve il valore che il messaggio dice, non quello scritto. Usa un valore "
           "compreso fra i limiti del campo."),
    avviso(tipo_avviso::tempo_segnale_cambiato, "tempo-segnale-cambiato",
           "il tempo di un segnale e' scartato o cambiato",
           "Il tempo di un segnale vale solo per i segnali con sx 2, e per gli altri e' scartato; "
           "per un segnale con sx 2 un tempo da 1 a 100 diventa 101. Scrivi 0 come tempo dei "
           "segnali che non lo usano, o un tempo da 101 a 255."),
    avviso(tipo_avviso::valore_stazione_ignorato, "valore-stazione-ignorato",
           "un valore b2 o b3 di una stazione non ha effetto",
           "b2 vale solo dalla seconda stazione e per marciapiedi di almeno 600 m, altrimenti e' "
           "azzerato; b3 non allunga il marciapiede delle stazioni di tipo 5 a 8. Scrivi 0 dove "
           "il valore non ha effetto, o controlla il tipo e il marciapiede della stazione."),
    avviso(tipo_avviso::classe_curva_multipla, "classe-curva-multipla",
           "la parola chiave di una curva contiene piu' cifre di classe",
           "La classe di una curva e' la cifra da 1 a 6 della sua parola chiave (curvas3, "
           "curvad4, ...): con piu' cifre vale la piu' bassa. Scrivi una sola cifra."),
    avviso(tipo_avviso::tipo_montagna_cambiato, "tipo-montagna-cambiato",
           "il tipo di un tratto montagna diventa 3",
           "Un tratto montagna che inizia 150 m o meno dopo la fine del precedente prende il tipo "
           "3, qualunque tipo sia scritto. Allontana i due tratti, o scrivi 3 come tipo."),
    avviso(tipo_avviso::prima_posizione_non_zero, "prima-posizione-non-zero",
           "la prima riga di pendenze, velocita' o aderenza non e' a 0",
           "Pendenze, velocita' e aderenza riempiono le celle da una riga alla seguente, a "
           "partire dalla prima: le celle prima di essa restano con il valore 0. Fai cominciare "
           "la prima riga a 0."),
    avviso(tipo_avviso::posizione_non_crescente, "posizione-non-crescente",
           "le righe di pendenze, velocita' o aderenza non sono in ordine crescente",
           "Le righe di pendenze, velocita' e aderenza riempiono le celle da una riga alla "
           "seguente, e vanno in ordine di posizione crescente: una riga che non supera la "
           "precedente non riempie le celle che l'ordine scritto fa pensare. Metti le righe in "
           "ordine, senza posizioni ripetute."),
    avviso(tipo_avviso::curva_sovrapposta, "curva-sovrapposta",
           "una curva inizia prima della fine della precedente",
           "Una curva copre i metri dal suo inizio alla sua fine: una che inizia prima della fine "
           "della precedente vale solo da dove quella finisce, ed e' ignorata se vi finisce "
           "dentro. Fai iniziare la curva dopo la fine della precedente."),
    avviso(tipo_avviso::elemento_coperto, "elemento-coperto",
           "un elemento prende la cella di un altro, che non compare piu'",
           "Ogni cella di 50 m tiene un solo elemento (segnale, fermata, cartello, abbattimento, "
           "...): quello scritto dopo prende la cella, e quello di prima sparisce dallo scenario. "
           "Sposta uno dei due elementi in un'altra cella."),
    avviso(tipo_avviso::marcatore_galleria_sostituito, "marcatore-galleria-sostituito",
           "un elemento prende il posto di un marcatore di galleria",
           "Un tratto montagna segna la galleria in ogni sua cella libera; un elemento scritto "
           "dopo, o un abbattimento che la compilazione pone per un segnale o un rallentamento, "
           "ne prende una cella, e li' la galleria non e' piu' segnata. Sposta l'elemento fuori "
           "dal tratto, se la galleria deve restare continua."),
    avviso(tipo_avviso::marcatore_galleria_omesso, "marcatore-galleria-omesso",
           "un marcatore di galleria non e' posto perche' la cella e' occupata",
           "Un tratto montagna segna la galleria solo nelle celle libere: dove un elemento sta "
           "gia', il marcatore manca (l'avviso indica solo la prima di queste celle). Sposta "
           "l'elemento fuori dal tratto, se la galleria deve restare continua."),
    avviso(tipo_avviso::marcatori_sovrascritti, "marcatori-sovrascritti",
           "i marcatori di avvicinamento di un elemento sostituiscono quelli di un altro",
           "Segnali e fermate pongono marcatori di avvicinamento nelle celle che li precedono: "
           "quando due elementi sono vicini, i marcatori di quello scritto dopo prendono il posto "
           "di quelli del primo, che perde il suo avvicinamento. Allontana i due elementi."),
    avviso(tipo_avviso::montagne_sovrapposte, "montagne-sovrapposte",
           "due tratti montagna coprono le stesse celle",
           "Un tratto montagna che copre celle di un tratto precedente ne riscrive il rilievo in "
           "quelle celle. Fai finire ogni tratto prima dell'inizio del seguente."),
    avviso(tipo_avviso::montagna_vuota, "montagna-vuota",
           "un tratto montagna non copre alcuna cella",
           "Fra l'inizio e la fine del tratto non cade alcuna cella intera: il tratto non ha "
           "effetto. Controlla l'inizio e la fine del tratto."),
    avviso(tipo_avviso::rallentamento_senza_fine, "rallentamento-senza-fine",
           "la cella di fine di un rallentamento non segue quella d'inizio",
           "La lunghezza del rallentamento ne fa cadere la fine nella sua cella d'inizio, o "
           "prima: il rallentamento non ha una fine propria e vale fino alla fine successiva. "
           "Dai al rallentamento una lunghezza che ne porti la fine oltre la cella d'inizio."),
    avviso(tipo_avviso::preavvisi_omessi, "preavvisi-omessi",
           "un rallentamento vicino all'inizio della linea non ha i preavvisi chiesti",
           "Un rallentamento che inizia entro 1500 m non ha cartello di avviso, e i quattro "
           "preavvisi che la sua riga chiede non sono posti. Sposta il rallentamento oltre "
           "1500 m, o non chiedere i preavvisi."),
    avviso(tipo_avviso::abbattimento_ridotto, "abbattimento-ridotto",
           "il valore di un abbattimento e' ridotto a 180",
           "Un segnale poco prima dell'avviso di un rallentamento vuole un abbattimento in una "
           "delle due celle che lo precedono: quando vi trova un abbattimento scritto nella "
           "descrizione con un valore oltre 180, lo riduce a 180. Scrivi un valore di al piu' "
           "180, o sposta l'abbattimento."),
    avviso(tipo_avviso::compilazione_interrotta, "compilazione-interrotta",
           "la compilazione si ferma per un codice 15 rimasto",
           "Una riga della descrizione della linea ha una posizione oltre il percorso (codice "
           "15): il codice resta, e la compilazione del treno si ferma alla prima riga che "
           "registra un elemento (un segnale, un rallentamento, ...), senza leggere ne' quella "
           "ne' le seguenti. Correggi l'errore 15, e l'avviso sparisce con esso."),
    avviso_grave(
        tipo_avviso::oltre_il_percorso, "oltre-il-percorso",
        "un elemento sta oltre la fine del percorso",
        "Il tracciato si estende 7000 m oltre la lunghezza del percorso, e la compilazione "
        "accetta gli elementi che vi cadono: ma il treno non ci arriva, e l'elemento non "
        "serve a nulla. Di solito la posizione ha una cifra di troppo, o la lunghezza del "
        "percorso e' sbagliata. Correggi la posizione o la lunghezza."),
    avviso_grave(tipo_avviso::progressive_annullate, "progressive-annullate",
                 "le progressive chilometriche date sono tutte azzerate",
                 "Le progressive chilometriche sono messe in ordine di inizio decrescente; quando "
                 "l'ordine non si decide (due progressive iniziano allo stesso metro, o tutte a 0 "
                 "senza uno scostamento positivo) sono azzerate tutte e tre, e lo scenario non ha "
                 "progressive. Dai a ciascuna progressiva un inizio diverso."),
    avviso_grave(
        tipo_avviso::lettere_fraintese, "lettere-fraintese",
        "una parola chiave e' letta per le sue lettere in un altro senso",
        "Alcune parole chiave prendono un significato dalle lettere e dalle cifre del campo: "
        "una curva e' a sinistra se il campo contiene una 's' e ha la classe della cifra "
        "piu' bassa da 1 a 6. Una parola come 'destra' o un numero come '1000' nel campo "
        "cambiano la curva. Scrivi la curva come 'curvas4' o 'curvad3'."),
    avviso_grave(tipo_avviso::valore_avvolto, "valore-avvolto",
                 "un valore non sta nel suo campo e ne diventa un altro",
                 "Il campo del file tiene solo i bit bassi del valore: un valore fuori dal campo "
                 "ricomincia dall'altra parte, e una salita diventa una discesa. Dai un valore "
                 "nell'intervallo che il messaggio indica."),
    avviso_grave(
        tipo_avviso::treno_vuoto, "treno-vuoto", "la descrizione del treno non da' nessuna riga",
        "La descrizione del treno e' vuota o non ha la sezione [generale]: lo scenario "
        "sarebbe scritto senza stazioni, senza segnali e senza velocita'. Controlla di aver "
        "indicato il file giusto e che contenga la riga [generale]."),
    avviso_grave(tipo_avviso::senza_stazioni, "senza-stazioni",
                 "la descrizione del treno non ha nessuna stazione",
                 "Le righe del treno sono lette, ma nessuna e' una 'stazione': lo scenario sarebbe "
                 "scritto senza stazioni, con un orario vuoto e senza un punto dove il treno "
                 "parte o si ferma. Aggiungi almeno la stazione di partenza nella sezione "
                 "[stazioni]."),
    avviso(tipo_avviso::parola_chiave_simile, "parola-chiave-simile",
           "un campo chiave somiglia a una parola chiave ma non lo e'",
           "Il primo campo della riga non contiene alcuna parola chiave, ma ne somiglia a una: la "
           "riga e' ignorata, e l'elemento che descrive (una stazione, un segnale, ...) manca. "
           "Correggi la parola chiave come suggerito."),
    avviso(tipo_avviso::intestazione_sconosciuta, "intestazione-sconosciuta",
           "un'intestazione di sezione non e' fra quelle della descrizione",
           "Le intestazioni servono a chi legge, tranne [generale], che apre la descrizione; una "
           "scritta male puo' essere una [generale] che manca. Correggi l'intestazione come "
           "suggerito, o toglila."),
    avviso(tipo_avviso::riga_fuori_sezione, "riga-fuori-sezione",
           "una riga sta in una sezione dove la sua parola chiave non vale",
           "Nella descrizione della linea la sezione [generale] legge solo le sue impostazioni, e "
           "le altre righe solo dopo la sezione: una riga fuori posto e' ignorata. Spostala nella "
           "sezione giusta."),
    avviso(tipo_avviso::trattino_in_parola_chiave, "trattino-in-parola-chiave",
           "un campo chiave con un trattino e' scartato come commento",
           "Un campo chiave che contiene '-' e' un commento e la compilazione lo scarta: la "
           "parola chiave che contiene non vale, e i valori della riga sono letti come campi "
           "chiave. Togli il trattino dalla parola chiave (usa '_' o uno spazio)."),
    avviso(tipo_avviso::separatore_non_valido, "separatore-non-valido",
           "i campi sono separati da punti e virgola o da tabulazioni",
           "Solo la virgola separa i campi (e lo spazio i numeri): un punto e virgola o una "
           "tabulazione fra la parola chiave e i valori li fa leggere come un solo campo, e i "
           "valori sono presi dalle righe seguenti. Separa i campi con virgole."),
    avviso(tipo_avviso::commento_con_virgola, "commento-con-virgola",
           "una riga di commento contiene una virgola",
           "Il commento finisce alla prima virgola: cio' che segue e' letto come un campo chiave, "
           "e se contiene una parola chiave prende i valori delle righe seguenti. Togli la "
           "virgola dal commento."),
    avviso(tipo_avviso::orario_non_valido, "orario-non-valido",
           "un orario ha minuti o secondi oltre 59, o ore oltre 23",
           "L'orario e' contato in secondi da ore, minuti e secondi cosi' come sono scritti: il "
           "minuto 75 diventa un quarto d'ora dell'ora seguente. Correggi l'orario."),
    avviso(tipo_avviso::orario_decrescente, "orario-decrescente",
           "l'orario di una stazione precede quello della stazione prima",
           "Le stazioni si leggono nell'ordine di marcia: un orario che torna indietro e' di "
           "solito un errore di battitura (o un'ora sbagliata). Correggi l'orario."),
    avviso_grave(
        tipo_avviso::elemento_perso, "elemento-perso",
        "una parola chiave scritta male fa perdere un elemento",
        "Il campo chiave non e' una parola chiave, ma somiglia a quella di un elemento (una "
        "stazione, un segnale, un rallentamento, un cartello, una curva, un tratto "
        "montagna, una progressiva chilometrica), o lo e' con maiuscole dove contano: la "
        "riga e' ignorata, e lo scenario e' scritto senza quell'elemento. Il messaggio "
        "dice quale. Correggi la parola chiave come suggerito."),
    avviso_grave(tipo_avviso::riga_inghiottita, "riga-inghiottita",
                 "una riga corta prende i valori mancanti dalla riga seguente, che si perde",
                 "La riga ha meno valori di quanti ne prende la sua parola chiave, e i mancanti "
                 "sono letti dalla riga seguente, che comincia con una parola chiave: quella "
                 "parola diventa un valore (il nome di una stazione diventa 'stazione'), e "
                 "l'elemento della riga seguente non entra nello scenario. Il messaggio dice "
                 "quali campi mancano. Completa la riga con tutti i suoi valori."),
    avviso_grave(tipo_avviso::curva_ignorata, "curva-ignorata",
                 "una curva finisce prima della fine della precedente ed e' ignorata",
                 "Le curve si applicano nell'ordine delle righe, ciascuna dalla fine della "
                 "precedente: una curva scritta dopo una che sta piu' avanti (fuori ordine) "
                 "finisce dove la planimetria e' gia' fatta, e non entra nello scenario. Scrivi "
                 "le curve in ordine di posizione."),
    avviso_grave(tipo_avviso::progressiva_mai_applicata, "progressiva-mai-applicata",
                 "una progressiva chilometrica inizia dove un'altra e non si applica mai",
                 "Di due progressive chilometriche che iniziano allo stesso metro vale una sola, "
                 "quella col numero piu' basso (uno prima di due, due prima di tre): l'altra non "
                 "da' mai il chilometro del macchinista. Dai a ciascuna progressiva un inizio "
                 "diverso, o togli quella che non serve."),
    avviso(tipo_avviso::commento_non_valido, "commento-non-valido",
           "una riga comincia con # o //, che non fanno un commento",
           "Nelle descrizioni un commento e' un campo che comincia con '--'; '#' e '//' non "
           "hanno alcun senso, e la riga e' letta come un campo chiave che non e' una parola "
           "chiave: e' ignorata, ma una virgola nel testo fa leggere cio' che segue come "
           "un'altra riga. Scrivi il commento con '--', senza virgole."),
    avviso(tipo_avviso::orario_impossibile, "orario-impossibile",
           "l'orario di una tratta e' piu' breve del tempo che chiedono le sole velocita' delle "
           "celle",
           "Il limite inferiore di una tratta e' l'integrale di dx / v(x), con v la velocita' del "
           "treno nella cella sotto x (quella di linea, abbassata dai rallentamenti): un treno "
           "puntiforme che va sempre alla velocita' massima, senza accelerare ne' frenare. "
           "Nessun treno e' piu' veloce, qualunque sia il modello. L'orario della tratta e' "
           "l'arrivo alla stazione meno la partenza dalla precedente (l'ora della prima stazione "
           "e' la partenza; le altre partono b5 secondi dopo l'arrivo quando b5 supera 1). "
           "Allunga l'orario o alza le velocita' della tratta."),
    avviso(tipo_avviso::orario_irrealizzabile, "orario-irrealizzabile",
           "l'orario di una tratta e' piu' breve della marcia del modello di treno",
           "La marcia a vuoto guida il modello di treno dalla fermata alla seguente a piena "
           "potenza fino al limite, frenando con la decelerazione di servizio prima di ogni "
           "limite piu' basso e alla fermata; l'accelerazione e' (F(v) - (a + b v + c v^2) - m g "
           "(i + r) / 1000) / (m (1 + rho)). Il treno del modello non tiene l'orario. Allunga "
           "l'orario, o controlla il modello (scenario marcia mostra la tratta)."),
    avviso(tipo_avviso::margine_scarso, "margine-scarso",
           "il margine dell'orario di una tratta sulla marcia del modello e' sotto il 3 %",
           "Il margine e' l'orario della tratta meno il tempo minimo della marcia a vuoto, in "
           "percentuale di quel tempo. Sotto il 3 % (il supplemento piu' basso della fiche UIC "
           "451-1) un ritardo qualsiasi non si recupera. Allunga l'orario della tratta."),
    avviso(tipo_avviso::frenatura_insufficiente, "frenatura-insufficiente",
           "un segnale di avviso e' troppo vicino al principale per fermarsi in emergenza",
           "Dall'avviso il treno deve fermarsi prima del principale: lo spazio di frenatura e' "
           "d = v t_r + v^2 / (2 (a_e + g i_m / 1000)), con v la velocita' del treno all'avviso, "
           "t_r il tempo di reazione, a_e la decelerazione di emergenza (0.0075 lambda + 0.076 "
           "m/s^2 dalla percentuale di massa frenata, se il modello non la indica) e i_m la "
           "pendenza media fra i due segnali. Allontana l'avviso dal principale o abbassa la "
           "velocita' prima dell'avviso."),

    // Errors, by code. The texts are the sentences the programs print for the codes.
    errore(1, "lunghezza-eccessiva", posizione::senza,
           "la lunghezza del percorso e' negativa o supera 1000000 m",
           "La riga 'lunghezza percorso' della sezione [generale] della linea da' la lunghezza "
           "in metri, che deve stare fra 0 e 1000000. La compilazione si ferma a questa riga. "
           "Correggi la lunghezza."),
    errore(2, "progressiva-non-multipla", posizione::senza,
           "l'inizio o lo scostamento di una progressiva chilometrica non e' multiplo di 50",
           "Le progressive chilometriche si contano per celle di 50 m: l'inizio e lo scostamento "
           "di ciascuna (righe 'progressiva chilometrica uno', 'due', 'tre') devono essere "
           "multipli di 50. Il controllo avviene alla fine della compilazione e indica la prima "
           "progressiva errata. Correggi i due valori."),
    errore(3, "ripetizione-inizio", posizione::senza,
           "l'inizio della ripetizione segnali non e' multiplo di 50",
           "L'inizio della ripetizione segnali, nella sezione [generale] della linea, deve "
           "essere multiplo di 50. La compilazione si ferma a questa riga. Correggi l'inizio."),
    errore(4, "ripetizione-fine", posizione::senza,
           "la fine della ripetizione segnali non e' multipla di 50",
           "La fine della ripetizione segnali, nella sezione [generale] della linea, deve essere "
           "multipla di 50. La compilazione si ferma a questa riga. Correggi la fine."),
    errore(5, "ripetizione-codici", posizione::senza,
           "la riga di ripetizione segnali non indica 4 o 9 codici",
           "La parola chiave della ripetizione segnali dice quanti codici il sistema usa, 4 o 9 "
           "('ripetizione segnali 4 codici'). La compilazione si ferma a questa riga. Scrivi 4 "
           "o 9 nella parola chiave."),
    errore(6, "cartello-occupato", posizione::con,
           "la cella di un cartello indicatore e' gia' occupata",
           "Un cartello indicatore cade in una cella che ha gia' un elemento, e ogni cella di "
           "50 m ne tiene uno solo. La compilazione si ferma a questa riga. Sposta il cartello, "
           "o l'elemento che occupa la cella."),
    errore(7, "abbattimento-occupato", posizione::con,
           "la cella di un abbattimento e' gia' occupata",
           "Un abbattimento della descrizione del treno cade in una cella che ha gia' un "
           "elemento. La compilazione si ferma a questa riga. Sposta l'abbattimento in una cella "
           "libera."),
    errore(8, "stazione-non-multipla", posizione::con,
           "la posizione di una stazione non e' multipla di 50",
           "La posizione di una stazione deve essere multipla di 50. La compilazione si ferma a "
           "questa riga. Correggi la posizione."),
    errore(9, "marciapiede-non-multiplo", posizione::con,
           "la lunghezza del marciapiede di una stazione non e' multipla di 100",
           "La lunghezza del marciapiede di una stazione deve essere multipla di 100 m. La "
           "compilazione si ferma a questa riga. Correggi la lunghezza."),
    errore(10, "voci-esaurite", posizione::senza,
           "stazioni e cartelli indicatori superano le voci disponibili",
           "Ogni stazione e ogni cartello indicatore prende una voce del file delle voci, che ne "
           "ha un numero fisso: al piu' 80 cartelli, e 78 voci per stazioni e cartelli insieme. "
           "La compilazione si ferma all'elemento che non trova posto. Togli cartelli o "
           "stazioni."),
    errore(11, "abbattimento-segnale", posizione::con,
           "nessuna cella libera per l'abbattimento davanti a un segnale prima di un avviso",
           "Un segnale nei 1000 m prima dell'avviso di un rallentamento vuole un abbattimento in "
           "una delle due celle che lo precedono; qui sono entrambe occupate da elementi che non "
           "sono abbattimenti con un valore. Libera una delle due celle, o sposta il segnale o il "
           "rallentamento."),
    errore(12, "abbattimento-fasce", posizione::con,
           "nessuna cella libera per un abbattimento prima dell'inizio di un rallentamento",
           "Prima dell'inizio di un rallentamento va un abbattimento in ciascuna di tre fasce di "
           "celle (fra 250 e 350 m, fra 550 e 650 m, fra 900 e 1000 m prima); qui una fascia non "
           "ha alcuna cella libera. Libera una cella della fascia, o sposta il rallentamento."),
    errore(13, "abbattimento-percorso", posizione::con,
           "nessuna cella libera per un abbattimento lungo o dopo un rallentamento",
           "Lungo i rallentamenti piu' lenti va un abbattimento ogni 400 m, e uno davanti al primo "
           "segnale "
           "dopo la sua fine; qui ne' la cella dovuta ne' quelle accanto sono libere. Libera le "
           "celle intorno alla posizione indicata."),
    errore(15, "fuori-tracciato", posizione::con, "una posizione cade oltre la fine del tracciato",
           "Una riga pone un elemento oltre la fine del percorso, o troppo vicino alla fine per "
           "starci. Ne' la riga ne' il resto della sua descrizione sono letti; il codice resta, e "
           "la compilazione del treno si ferma alla prima riga che registra un elemento. "
           "Correggi la posizione, o allunga il percorso."),
    errore(16, "segnale-occupato", posizione::con, "la cella di un segnale e' gia' occupata",
           "La cella di un segnale ha gia' un elemento, e ogni cella di 50 m ne tiene uno solo. "
           "La compilazione si ferma a questa riga. Sposta il segnale, o l'elemento che occupa "
           "la cella."),
    errore(17, "avviso-occupato", posizione::con,
           "la cella dell'avviso di un rallentamento e' gia' occupata",
           "Un rallentamento pone il suo cartello di avviso 1200 m prima dell'inizio, e qui "
           "quella cella ha gia' un elemento. La compilazione si ferma a questa riga. Sposta il "
           "rallentamento, o l'elemento che occupa la cella."),
    errore(18, "inizio-occupato", posizione::con,
           "la cella d'inizio di un rallentamento e' gia' occupata",
           "La cella d'inizio di un rallentamento ha gia' un elemento. La compilazione si ferma "
           "a questa riga. Sposta il rallentamento, o l'elemento che occupa la cella."),
    errore(19, "fine-occupata", posizione::con,
           "la cella di fine di un rallentamento e' gia' occupata",
           "La cella di fine di un rallentamento ha gia' un elemento. La compilazione si ferma a "
           "questa riga. Cambia la lunghezza del rallentamento, o sposta l'elemento che occupa "
           "la cella."),
    errore(20, "preavvisi-occupati", posizione::con,
           "una delle quattro celle prima dell'avviso di un rallentamento e' gia' occupata",
           "Un rallentamento che chiede i preavvisi li pone nelle quattro celle prima del suo "
           "cartello di avviso, e qui una di esse ha gia' un elemento. La compilazione si ferma "
           "a questa riga. Sposta il rallentamento o l'elemento, o non chiedere i preavvisi."),
    errore(21, "indicatore-occupato", posizione::con,
           "la cella di un indicatore di velocita' e' gia' occupata",
           "La cella di un indicatore di velocita' ha gia' un elemento. La compilazione si ferma "
           "a questa riga. Sposta l'indicatore, o l'elemento che occupa la cella."),
    errore(22, "stazioni-vicine", posizione::con,
           "il marciapiede di una stazione inizia a meno di 350 m dalla fine del precedente",
           "Fra la fine del marciapiede di una stazione e l'inizio di quello della seguente ci "
           "vogliono almeno 350 m, e le stazioni vanno scritte in ordine di posizione. La "
           "compilazione si ferma a questa riga. Allontana le stazioni, o accorcia i "
           "marciapiedi."),
    errore(24, "fermata-iniziale", posizione::senza,
           "la fine del marciapiede di una stazione e' a 100 m o meno",
           "La fermata di una stazione sta nella cella prima della fine del suo marciapiede, e "
           "deve cadere dalla cella 2 in poi: un marciapiede che finisce a 100 m o meno non le "
           "lascia posto. La compilazione si ferma a questa riga. Sposta la stazione piu' "
           "avanti."),
    errore(25, "lettura-fallita", posizione::senza,
           "una descrizione non si legge, o un suo valore non si legge o non sta nel suo tipo",
           "Un campo non si legge: un numero che non e' un numero, un valore fuori dal suo tipo, "
           "virgolette che non si chiudono, una descrizione che finisce prima dei valori della "
           "sua ultima riga, un carattere senza posto nel testo della descrizione. Il messaggio "
           "dice quale, e dove; correggi il campo."),
    errore(26, "celle-fuori-limite", posizione::con, "un elemento occupa celle fuori dal tracciato",
           "Un elemento, o una parte di esso (la fermata di una stazione, i marcatori di un "
           "segnale, un tratto montagna), cade oltre l'ultima cella del tracciato. La "
           "compilazione si ferma a questa riga. Sposta l'elemento, o allunga il percorso."),
    errore(27, "troppe-montagne", posizione::con, "i tratti montagna superano gli 80 consentiti",
           "La linea puo' avere al piu' 80 tratti montagna. La compilazione si ferma al primo "
           "tratto in piu'. Unisci dei tratti vicini, o togline."),
    errore(101, "linea-mancante", posizione::senza, "la descrizione della linea non esiste",
           "Il file della descrizione della linea non c'e', e senza linea non c'e' scenario. "
           "Controlla il nome e la cartella del file."),
    errore(102, "linea-senza-generale", posizione::senza,
           "la descrizione della linea non ha la sezione [generale]",
           "La descrizione della linea deve avere la sezione [generale], con la lunghezza del "
           "percorso; senza, la linea non si compila. Aggiungi [generale] in testa alla "
           "descrizione."),
    errore(103, "curva-non-valida", posizione::senza,
           "una curva non ha la classe o si estende oltre la planimetria",
           "La parola chiave di una curva deve contenere la sua classe, una cifra da 1 a 6, e la "
           "curva deve stare nella planimetria, che copre la lunghezza del percorso. La "
           "compilazione si ferma a questa riga. Correggi la classe o le posizioni della curva."),

    // The header checks after the finishing pass: no binary file is written.
    errore(1250, "timbro-occupato", posizione::senza,
           "un campo del timbro dell'intestazione e' gia' occupato",
           "Lo scenario riceve il suo timbro nella cella 1 (da 50 a 100 m) e nella voce dello "
           "scenario, che la descrizione deve lasciare libere; qui un elemento vi ha gia' "
           "scritto. Nessun file binario e' scritto. Sposta l'elemento che sta fra 50 e 100 m."),
    errore(1251, "codici-occupati", posizione::senza,
           "un campo dei codici dello scenario e' gia' occupato",
           "Dopo il timbro lo scenario riceve i suoi codici nella cella 1 (da 50 a 100 m) e "
           "nella voce dello scenario, che la descrizione deve lasciare libere; qui un elemento "
           "vi ha gia' scritto. Nessun file binario e' scritto. Sposta l'elemento che sta fra 50 "
           "e 100 m."),

    // The failures of the authors' tool, by the names its JSON and SARIF reports give them.
    errore_strumento("file-inaccessibile", "un file non si legge o non si scrive",
                     "Lo strumento non puo' leggere un file che gli e' indicato (una descrizione, "
                     "un elenco, uno scenario), o non puo' scrivere un file che produce: il file o "
                     "la cartella non esistono, mancano i permessi, il disco e' pieno. Non e' un "
                     "errore delle descrizioni: il comando si ferma con lo stato di uscita 2, e "
                     "il messaggio dice quale file e perche'. Controlla il nome, la cartella e i "
                     "permessi del file."),
    errore_strumento("uso-errato", "la riga di comando non e' valida",
                     "Il comando, una sua opzione o un suo argomento non sono fra quelli che lo "
                     "strumento accetta: un comando o un'opzione scritti male, un valore che manca "
                     "o non si legge, un nome che non c'e'. Il comando si ferma prima di fare "
                     "alcunche', con lo stato di uscita 64. Controlla la riga di comando con "
                     "'scenario --help' o 'scenario COMANDO --help'."),
};

// The lookups rely on the order: the warnings first, each at the index of its kind, then the
// errors by increasing code, then the tool's failures, errors without a code.
constexpr bool tabella_ordinata() {
    std::size_t i = 0;
    for (; i < tabella.size() && tabella[i].livello == gravita::avviso; ++i)
        if (tabella[i].avviso != static_cast<tipo_avviso>(i))
            return false;
    if (i != numero_tipi_avviso)
        return false;
    for (std::int32_t precedente = 0; i < tabella.size() && !tabella[i].dello_strumento; ++i) {
        if (tabella[i].livello != gravita::errore || tabella[i].codice <= precedente)
            return false;
        precedente = tabella[i].codice;
    }
    for (; i < tabella.size(); ++i)
        if (!tabella[i].dello_strumento || tabella[i].livello != gravita::errore ||
            tabella[i].codice != 0 || tabella[i].avviso)
            return false;
    return true;
}
static_assert(tabella_ordinata());

} // namespace

std::span<const tipo_diagnostica> tipi_diagnostica() {
    return tabella;
}

const tipo_diagnostica& tipo_di(tipo_avviso tipo) {
    return tabella[static_cast<std::size_t>(tipo)];
}

const tipo_diagnostica* tipo_di_nome(std::string_view nome) {
    for (const tipo_diagnostica& t : tabella)
        if (t.nome == nome)
            return &t;
    return nullptr;
}

const tipo_diagnostica* tipo_di_codice(std::int32_t codice) {
    for (std::size_t i = numero_tipi_avviso; i < tabella.size(); ++i)
        if (tabella[i].codice == codice && !tabella[i].dello_strumento)
            return &tabella[i];
    return nullptr;
}

std::string_view testo_codice(std::int32_t codice) {
    const tipo_diagnostica* t = tipo_di_codice(codice);
    return t ? t->testo : "errore sconosciuto";
}

bool codice_con_posizione(std::int32_t codice) {
    const tipo_diagnostica* t = tipo_di_codice(codice);
    return t && t->con_posizione;
}

} // namespace corvenna
