#include "support/programma_di_prova.hpp"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <system_error>

namespace corvenna::prova {

namespace {

[[noreturn]] void fallisci(const std::string& cosa) {
    throw std::system_error(errno, std::generic_category(), cosa);
}

// Reads little-endian fields from the bytes of a file; nullopt past the end.
class lettore_campi {
  public:
    explicit lettore_campi(const std::string& dati) : dati_(dati) {}

    std::optional<std::uint64_t> campo(std::size_t larghezza) {
        if (dati_.size() - pos_ < larghezza)
            return std::nullopt;
        std::uint64_t valore = 0;
        for (std::size_t i = 0; i < larghezza; ++i)
            valore |= std::uint64_t{static_cast<unsigned char>(dati_[pos_ + i])} << (8 * i);
        pos_ += larghezza;
        return valore;
    }
    std::optional<std::string> byte(std::size_t quanti) {
        if (dati_.size() - pos_ < quanti)
            return std::nullopt;
        std::string parte = dati_.substr(pos_, quanti);
        pos_ += quanti;
        return parte;
    }
    bool finito() const { return pos_ == dati_.size(); }

  private:
    const std::string& dati_;
    std::size_t pos_ = 0;
};

struct testata_voci {
    std::int32_t lunghezza_percorso = 0;
    std::string nome_scenario;
    std::string numero_treno;
};

// The 87 item records, each 34 bytes plus its name; the file holds nothing else.
std::optional<testata_voci> decodifica_voci(const std::string& dati, std::string& difetti) {
    lettore_campi r(dati);
    testata_voci t;
    for (int voce = 0; voce < 87; ++voce) {
        const auto inizio = r.campo(1 + 4);
        const auto fine = r.campo(4);
        const auto resto = r.campo(4 + 1);
        const auto lunghezza = r.campo(2);
        if (!inizio || !fine || !resto || !lunghezza) {
            difetti += "item file ends inside item " + std::to_string(voce) + "; ";
            return std::nullopt;
        }
        const auto caratteri = static_cast<std::int16_t>(*lunghezza);
        const auto nome =
            caratteri < 0 ? std::nullopt : r.byte(static_cast<std::size_t>(caratteri));
        if (!nome || !r.byte(18)) {
            difetti += "item file ends inside item " + std::to_string(voce) + "; ";
            return std::nullopt;
        }
        if (voce == 84)
            t.lunghezza_percorso = static_cast<std::int32_t>(*fine);
        if (voce == 85)
            t.nome_scenario = *nome;
        if (voce == 86)
            t.numero_treno = *nome;
    }
    if (!r.finito()) {
        difetti += "item file has bytes after item 86; ";
        return std::nullopt;
    }
    return t;
}

// Two blocks of `punti` tagged values: tag 0 alone, tag 2 with 2 bytes, tag 5 with 8 bytes.
void verifica_planimetria(const std::string& dati, std::int64_t punti, std::string& difetti) {
    lettore_campi r(dati);
    for (std::int64_t i = 0; i < 2 * punti; ++i) {
        const auto etichetta = r.campo(2);
        std::optional<std::uint64_t> valore = 0;
        if (etichetta == 2u)
            valore = r.campo(2);
        else if (etichetta == 5u)
            valore = r.campo(8);
        else if (etichetta != 0u)
            valore.reset();
        if (!etichetta || !valore) {
            difetti += "plan-view file breaks at value " + std::to_string(i) + "; ";
            return;
        }
    }
    if (!r.finito())
        difetti += "plan-view file has bytes after its last value; ";
}

void verifica_testo(const std::string& nome, const std::string& dati, std::string& difetti) {
    if (dati.size() < 2 || dati.compare(dati.size() - 2, 2, "\r\n") != 0) {
        difetti += nome + " does not end with CR LF; ";
        return;
    }
    for (std::size_t i = 0; i < dati.size(); ++i)
        if (dati[i] == '\n' && (i == 0 || dati[i - 1] != '\r')) {
            difetti += nome + " has a line end without CR; ";
            return;
        }
}

fs::path cartella_riferimento_radice() {
    static const cartella_temporanea radice;
    return radice.percorso();
}

} // namespace

std::string leggi_file(const fs::path& percorso) {
    std::ifstream ingresso(percorso, std::ios::binary);
    if (!ingresso)
        throw std::runtime_error("cannot read " + percorso.string());
    // In blocks: the sweeps read megabytes of scenario files for every run they make.
    std::string dati;
    char blocco[1 << 16];
    while (ingresso.read(blocco, sizeof blocco) || ingresso.gcount() > 0)
        dati.append(blocco, static_cast<std::size_t>(ingresso.gcount()));
    if (ingresso.bad())
        throw std::runtime_error("cannot read " + percorso.string());
    return dati;
}

void scrivi_file(const fs::path& percorso, const std::string& dati) {
    std::ofstream uscita(percorso, std::ios::binary | std::ios::trunc);
    uscita.write(dati.data(), static_cast<std::streamsize>(dati.size()));
    if (!uscita.flush())
        throw std::runtime_error("cannot write " + percorso.string());
}

contenuti leggi_cartella(const fs::path& cartella) {
    contenuti file;
    for (const auto& voce : fs::directory_iterator(cartella)) {
        const std::string nome = voce.path().filename().string();
        if (nome == nome_programma)
            continue;
        file[nome] = voce.is_regular_file() && !voce.is_symlink() ? leggi_file(voce.path()) : "";
    }
    return file;
}

void installa_programma(const fs::path& cartella) {
    fs::create_directories(cartella);
    fs::copy_file(GENERA_ESEGUIBILE, cartella / nome_programma,
                  fs::copy_options::overwrite_existing);
    // The copy keeps the build's mode, which a build made under umask 077 gives to the owner
    // alone; a run that takes an ordinary user's rights must still be able to start it.
    fs::permissions(cartella / nome_programma, fs::perms::owner_all | fs::perms::group_read |
                                                   fs::perms::group_exec | fs::perms::others_read |
                                                   fs::perms::others_exec);
}

bool avviabile_da(const fs::path& cartella, std::pair<uid_t, gid_t> utente) {
    const std::string programma = (cartella / nome_programma).string();
    const pid_t pid = ::fork();
    if (pid < 0)
        fallisci("fork");
    if (pid == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(utente.second) != 0 ||
            ::setuid(utente.first) != 0)
            ::_exit(2);
        ::_exit(::access(programma.c_str(), X_OK) == 0 ? 0 : 1);
    }
    int stato = 0;
    while (::waitpid(pid, &stato, 0) < 0)
        if (errno != EINTR)
            fallisci("waitpid");
    return WIFEXITED(stato) && WEXITSTATUS(stato) == 0;
}

esecuzione::esecuzione(const fs::path& cartella, const opzioni_esecuzione& opzioni) {
    static std::atomic<unsigned> numero{0};
    // The messages go to a file beside the directory, never into it.
    registro_ = cartella.parent_path() /
                (cartella.filename().string() + ".messaggi" + std::to_string(numero++));
    const std::string programma = (cartella / nome_programma).string();
    const int registro = ::open(registro_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (registro < 0)
        fallisci("open " + registro_.string());

    // Everything the child needs is built before the fork: between fork and exec only
    // async-signal-safe calls.
    std::vector<std::string> parole = opzioni.prefisso;
    parole.push_back(programma);
    std::vector<char*> argomenti;
    for (std::string& parola : parole)
        argomenti.push_back(parola.data());
    argomenti.push_back(nullptr);
    std::vector<std::string> variabili = opzioni.ambiente;
    for (char** v = environ; *v != nullptr; ++v)
        variabili.emplace_back(*v);
    std::vector<char*> ambiente;
    for (std::string& variabile : variabili)
        ambiente.push_back(variabile.data());
    ambiente.push_back(nullptr);

    pid_ = ::fork();
    if (pid_ < 0) {
        ::close(registro);
        fallisci("fork");
    }
    if (pid_ == 0) {
        ::dup2(registro, STDOUT_FILENO);
        ::dup2(registro, STDERR_FILENO);
        // Dispositions a test process may have set are not the program's.
        for (const int segnale : {SIGXFSZ, SIGINT, SIGTERM, SIGHUP, SIGPIPE})
            ::signal(segnale, SIG_DFL);
        if (opzioni.limite_file) {
            const rlimit limite{*opzioni.limite_file, *opzioni.limite_file};
            if (::setrlimit(RLIMIT_FSIZE, &limite) != 0)
                ::_exit(126);
        }
        if (opzioni.utente && ::geteuid() == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(opzioni.utente->second) != 0 ||
                ::setuid(opzioni.utente->first) != 0)
                ::_exit(126);
        }
        if (opzioni.attesa_partenza >= 0) {
            char c;
            while (::read(opzioni.attesa_partenza, &c, 1) < 0 && errno == EINTR) {
            }
        }
        ::execvpe(argomenti[0], argomenti.data(), ambiente.data());
        ::_exit(127);
    }
    ::close(registro);
}

std::string esecuzione::messaggi() const {
    return leggi_file(registro_);
}

esecuzione::~esecuzione() {
    if (pid_ > 0 && !stato_) {
        ::kill(pid_, SIGKILL);
        int stato;
        ::waitpid(pid_, &stato, 0);
    }
    // The messages file may lie outside every temporary directory of the test.
    std::error_code ignora;
    fs::remove(registro_, ignora);
}

bool esecuzione::in_corso() {
    if (stato_)
        return false;
    int stato;
    const pid_t finito = ::waitpid(pid_, &stato, WNOHANG);
    if (finito == 0)
        return true;
    stato_ = stato;
    return false;
}

esito_esecuzione esecuzione::attendi() {
    if (!stato_) {
        int stato;
        while (::waitpid(pid_, &stato, 0) < 0)
            if (errno != EINTR)
                fallisci("waitpid");
        stato_ = stato;
    }
    esito_esecuzione esito;
    esito.stato = WIFEXITED(*stato_) ? WEXITSTATUS(*stato_) : 128 + WTERMSIG(*stato_);
    esito.messaggi = leggi_file(registro_);
    return esito;
}

esito_esecuzione esegui(const fs::path& cartella, const opzioni_esecuzione& opzioni) {
    return esecuzione(cartella, opzioni).attendi();
}

const contenuti& scenario_di_riferimento() {
    static const contenuti riferimento = [] {
        const fs::path cartella = cartella_riferimento_radice() / "riferimento";
        installa_programma(cartella);
        const esito_esecuzione esito = esegui(cartella);
        if (esito.stato != 0)
            throw std::runtime_error("the reference run failed: " + esito.messaggi);
        contenuti file = leggi_cartella(cartella);
        const std::string difetti = difetti_scenario(file);
        if (!difetti.empty())
            throw std::runtime_error("the reference run is incomplete: " + difetti);
        return file;
    }();
    return riferimento;
}

std::string difetti_scenario(const contenuti& file) {
    std::string difetti;
    for (const std::string& nome : file_scenario)
        if (!file.contains(nome))
            difetti += nome + " is missing; ";
    if (!difetti.empty())
        return difetti;

    for (const std::string& nome : {file_scenario[0], file_scenario[1], file_scenario[2]})
        verifica_testo(nome, file.at(nome), difetti);

    const auto testata = decodifica_voci(file.at("Corvenna_7381.sim"), difetti);
    if (!testata)
        return difetti;
    if (testata->nome_scenario != "Corvenna" || testata->numero_treno != "7381")
        difetti += "item file names another scenario; ";
    // The track: the route plus 7000 m, one plan point per metre, one cell per 50 m.
    const std::int64_t lunghezza = std::int64_t{testata->lunghezza_percorso} + 7000;
    const std::int64_t ultima_cella = static_cast<std::int64_t>(std::nearbyint(lunghezza / 50.0));
    const std::size_t attesa_celle = static_cast<std::size_t>(15 * (ultima_cella + 1));
    if (file.at("Corvenna_7381.dat").size() != attesa_celle)
        difetti += "cell file holds " + std::to_string(file.at("Corvenna_7381.dat").size()) +
                   " bytes, not " + std::to_string(attesa_celle) + "; ";
    verifica_planimetria(file.at("Corvenna_linea.dat"), lunghezza + 1, difetti);
    return difetti;
}

contenuti scenario_precedente() {
    contenuti file = scenario_di_riferimento();
    for (const std::string& nome : {file_scenario[0], file_scenario[1], file_scenario[2]})
        file[nome] += "versione precedente\r\n";
    file["Corvenna_linea.dat"][12] ^= 0x40;           // a byte of the third point's double
    file["Corvenna_7381.sim"][1] ^= 0x01;             // item 0's start
    file["Corvenna_7381.dat"][15 * 100 + 12] ^= 0x01; // cell 100's speed
    return file;
}

void scrivi_scenario(const fs::path& cartella, const contenuti& file) {
    for (const auto& [nome, dati] : file)
        scrivi_file(cartella / nome, dati);
}

std::string file_ne_vecchi_ne_nuovi(const contenuti& dopo, const contenuti& prima) {
    std::string difetti;
    for (const std::string& nome : file_scenario) {
        const auto attuale = dopo.find(nome);
        const auto precedente = prima.find(nome);
        if (attuale == dopo.end()) {
            if (precedente != prima.end())
                difetti += nome + " is gone; ";
            continue;
        }
        if (precedente != prima.end() && attuale->second == precedente->second)
            continue;
        if (attuale->second != scenario_di_riferimento().at(nome))
            difetti += nome + " holds " + std::to_string(attuale->second.size()) +
                       " bytes of neither version; ";
    }
    return difetti;
}

std::string insieme_misto(const contenuti& dopo, const contenuti& prima) {
    std::string vecchi;
    std::string nuovi;
    std::string altri;
    const auto uguale = [](const contenuti& a, const contenuti& b, const std::string& nome) {
        const auto x = a.find(nome);
        const auto y = b.find(nome);
        return x == a.end() ? y == b.end() : y != b.end() && x->second == y->second;
    };
    for (const std::string& nome : file_scenario) {
        if (uguale(dopo, prima, nome))
            vecchi += " " + nome;
        else if (uguale(dopo, scenario_di_riferimento(), nome))
            nuovi += " " + nome;
        else
            altri += " " + nome;
    }
    if (altri.empty() && (vecchi.empty() || nuovi.empty()))
        return "";
    return "earlier:" + vecchi + "; new:" + nuovi + "; neither:" + altri;
}

std::vector<chiamata> chiamate_in_traccia(const fs::path& traccia, const fs::path& cartella,
                                          bool del_blocco) {
    std::vector<chiamata> chiamate;
    std::map<std::string, int> contate;
    std::ifstream righe(traccia);
    for (std::string riga; std::getline(righe, riga);) {
        const std::size_t parentesi = riga.find('(');
        if (parentesi == std::string::npos || riga.starts_with("+++") || riga.starts_with("---"))
            continue;
        const std::string nome = riga.substr(0, parentesi);
        const int occorrenza = ++contate[nome];
        const bool blocco = del_blocco && (nome == "socket" || nome == "bind" || nome == "listen");
        if (blocco || riga.find(cartella.string()) != std::string::npos)
            chiamate.push_back({nome, occorrenza, riga});
    }
    return chiamate;
}

std::string cerca_programma(const std::string& programma) {
    const char* percorsi = std::getenv("PATH");
    std::string resto = percorsi != nullptr ? percorsi : "/usr/bin:/bin";
    while (!resto.empty()) {
        const std::size_t fine = resto.find(':');
        const std::string cartella = resto.substr(0, fine);
        resto = fine == std::string::npos ? "" : resto.substr(fine + 1);
        const fs::path candidato = fs::path(cartella.empty() ? "." : cartella) / programma;
        if (::access(candidato.c_str(), X_OK) == 0)
            return candidato.string();
    }
    return {};
}

std::string residui(const fs::path& cartella, const std::vector<std::string>& ammessi) {
    std::set<std::string> attesi(file_scenario.begin(), file_scenario.end());
    attesi.insert(nome_programma);
    attesi.insert(ammessi.begin(), ammessi.end());
    std::string trovati;
    for (const auto& voce : fs::directory_iterator(cartella)) {
        const std::string nome = voce.path().filename().string();
        if (!attesi.contains(nome))
            trovati += (trovati.empty() ? "" : " ") + nome;
    }
    return trovati;
}

std::pair<int, int> codici_attesi(const std::string& treno, const std::string& scenario) {
    std::string testo = treno + scenario;
    for (char& ch : testo)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    testo += "kkllppqqrrssttuuvvwwxxyyzz";
    int semplice = 0, pesato = 0;
    for (int i = 0; i < 25; ++i) {
        semplice += static_cast<unsigned char>(testo[i]);
        pesato += static_cast<unsigned char>(testo[i]) * (i + 1);
    }
    return {semplice, pesato};
}

} // namespace corvenna::prova
