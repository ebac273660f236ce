#include "platform/flusso_standard.hpp"

#include "platform/sistema_windows.hpp"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace corvenna::piattaforma {

void flussi_standard_binari() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

std::size_t leggi_ingresso_standard(char* dati, std::size_t quanti) {
    DWORD letti = 0;
    const DWORD massimo = quanti > 1u << 20 ? 1u << 20 : static_cast<DWORD>(quanti);
    if (!ReadFile(GetStdHandle(STD_INPUT_HANDLE), dati, massimo, &letti, nullptr))
        return 0;
    return letti;
}

bool scrivi_uscita_standard(std::string_view dati) {
    const HANDLE uscita = GetStdHandle(STD_OUTPUT_HANDLE);
    while (!dati.empty()) {
        DWORD scritti = 0;
        const DWORD blocco = dati.size() > 1u << 20 ? 1u << 20 : static_cast<DWORD>(dati.size());
        if (!WriteFile(uscita, dati.data(), blocco, &scritti, nullptr) || scritti == 0)
            return false;
        dati.remove_prefix(scritti);
    }
    return true;
}

} // namespace corvenna::piattaforma
