#include "strumento_di_prova.hpp"

#include "../app/programma_di_prova.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace corvenna::prova {

esito_strumento esegui_strumento(const std::filesystem::path& cartella_lavoro,
                                 const std::vector<std::string>& argomenti) {
    // The messages go to files beside the working directory, never into it.
    const fs::path base = cartella_lavoro.parent_path() / (cartella_lavoro.filename().string());
    const fs::path file_uscita = base.string() + ".uscita";
    const fs::path file_errori = base.string() + ".errori";

    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_addopen(&azioni, STDOUT_FILENO, file_uscita.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&azioni, STDERR_FILENO, file_errori.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&azioni, cartella_lavoro.c_str());

    std::vector<std::string> tutti{GENERA_STRUMENTO};
    tutti.insert(tutti.end(), argomenti.begin(), argomenti.end());
    std::vector<char*> argv;
    for (std::string& a : tutti)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int errore = posix_spawn(&pid, GENERA_STRUMENTO, &azioni, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&azioni);
    if (errore != 0)
        throw std::runtime_error("posix_spawn of the tool failed");
    int stato = 0;
    while (::waitpid(pid, &stato, 0) < 0)
        if (errno != EINTR)
            throw std::runtime_error("waitpid failed");

    esito_strumento esito;
    esito.stato = WIFEXITED(stato) ? WEXITSTATUS(stato) : 128 + WTERMSIG(stato);
    esito.uscita = leggi_file(file_uscita);
    esito.errori = leggi_file(file_errori);
    fs::remove(file_uscita);
    fs::remove(file_errori);
    return esito;
}

} // namespace corvenna::prova
