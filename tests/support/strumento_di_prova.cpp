#include "support/strumento_di_prova.hpp"

#include "support/programma_di_prova.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <stdexcept>
#include <system_error>

namespace corvenna::prova {

namespace {

[[noreturn]] void fallisci(const std::string& cosa) {
    throw std::system_error(errno, std::generic_category(), cosa);
}

int apri_registro(const fs::path& percorso) {
    const int fd = ::open(percorso.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        fallisci("open " + percorso.string());
    return fd;
}

} // namespace

esito_strumento esegui_strumento(const fs::path& cartella,
                                 const std::vector<std::string>& argomenti,
                                 const fs::path& uscita_su,
                                 const std::vector<std::string>& prefisso) {
    static std::atomic<unsigned> numero{0};
    // The two streams go to files beside the directory, never into it.
    const std::string base = (cartella.parent_path() / (cartella.filename().string() +
                                                        ".strumento" + std::to_string(numero++)))
                                 .string();
    const fs::path registro_uscita = base + ".uscita";
    const fs::path registro_errori = base + ".errori";
    int uscita = -1;
    if (uscita_su.empty()) {
        uscita = apri_registro(registro_uscita);
    } else {
        uscita = ::open(uscita_su.c_str(), O_WRONLY | O_CLOEXEC);
        if (uscita < 0)
            fallisci("open " + uscita_su.string());
    }
    const int errori = apri_registro(registro_errori);

    std::vector<std::string> parole = prefisso;
    parole.push_back(GENERA_STRUMENTO);
    parole.insert(parole.end(), argomenti.begin(), argomenti.end());
    std::vector<char*> argv;
    for (std::string& parola : parole)
        argv.push_back(parola.data());
    argv.push_back(nullptr);
    const std::string dove = cartella.string();

    const pid_t pid = ::fork();
    if (pid < 0)
        fallisci("fork");
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        ::dup2(uscita, STDOUT_FILENO);
        ::dup2(errori, STDERR_FILENO);
        if (::chdir(dove.c_str()) != 0)
            ::_exit(126);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(uscita);
    ::close(errori);
    int stato = 0;
    while (::waitpid(pid, &stato, 0) < 0)
        if (errno != EINTR)
            fallisci("waitpid");

    esito_strumento esito;
    esito.stato = WIFEXITED(stato) ? WEXITSTATUS(stato) : 128 + WTERMSIG(stato);
    if (uscita_su.empty())
        esito.uscita = leggi_file(registro_uscita);
    esito.errori = leggi_file(registro_errori);
    fs::remove(registro_uscita);
    fs::remove(registro_errori);
    return esito;
}

} // namespace corvenna::prova
