// Checks on this platform what the output replacement relies on: a rename replaces an
// existing file, a shorter new content leaves nothing of the older one, bytes are written
// without any line-end translation, and a directory whose name is outside the system's code
// page works.
//
//   prova_sostituzione.exe CARTELLA
//
// Works in a new subdirectory of CARTELLA. Exit status 0 when every check passed.

#include "prova_windows.hpp"

#include "support/sostituzione_file.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ostream>

namespace {

namespace fs = std::filesystem;

std::string leggi(const fs::path& file) {
    std::string byte;
    const HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "(illeggibile)";
    char blocco[4096];
    DWORD letti = 0;
    while (ReadFile(h, blocco, sizeof blocco, &letti, nullptr) && letti > 0)
        byte.append(blocco, letti);
    CloseHandle(h);
    return byte;
}

void scrivi_diretto(const fs::path& file, const std::string& byte) {
    std::ofstream uscita(file, std::ios::binary | std::ios::trunc);
    uscita << byte;
}

std::string visibile(const std::string& byte) {
    std::string testo;
    for (const char c : byte)
        testo += c == '\r'   ? std::string("\\r")
                 : c == '\n' ? std::string("\\n")
                             : std::string(1, c);
    return "\"" + testo + "\"";
}

void uguali(prova::verifiche& v, const std::string& ottenuto, const std::string& atteso,
            const std::string& descrizione) {
    v.controlla(ottenuto == atteso,
                descrizione + ": ottenuto " + visibile(ottenuto) + ", atteso " + visibile(atteso));
}

} // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::vector<std::wstring> arg = prova::argomenti();
    if (arg.size() != 2) {
        std::printf("uso: prova_sostituzione CARTELLA\n");
        return 2;
    }
    prova::verifiche v;
    // "prova_àèì_Ω": the last letter has no place in Windows-1252.
    const fs::path cartella = fs::path(arg[1]) / L"prova_\u00e0\u00e8\u00ec_\u03a9";
    std::error_code ignora;
    fs::remove_all(cartella, ignora);
    fs::create_directories(cartella);

    {
        const fs::path da = cartella / "nuovo.dat";
        const fs::path a = cartella / "vecchio.dat";
        scrivi_diretto(da, "nuovo");
        scrivi_diretto(a, "vecchio contenuto, più lungo");
        std::error_code e;
        fs::rename(da, a, e);
        v.controlla(!e, "rename sopra un file esistente: " + e.message());
        uguali(v, leggi(a), "nuovo", "contenuto dopo rename");
        v.controlla(!fs::exists(da), "il file rinominato non resta col vecchio nome");
    }

    {
        const fs::path file = cartella / "Corvenna_7381_note.txt";
        try {
            corvenna::sostituisci_file(file, [](std::ostream& o) {
                o << "una riga lunga del primo contenuto\r\nseconda riga\r\n";
            });
            corvenna::sostituisci_file(file, [](std::ostream& o) { o << "corta\r\n"; });
            uguali(v, leggi(file), "corta\r\n", "contenuto dopo la seconda sostituzione");
        } catch (const std::exception& e) {
            v.controlla(false, std::string("sostituzione di un file esistente: ") + e.what());
        }
        std::vector<std::string> rimasti;
        for (const auto& voce : fs::directory_iterator(cartella))
            rimasti.push_back(prova::in_utf8(voce.path().filename().wstring()));
        std::sort(rimasti.begin(), rimasti.end());
        std::string elenco;
        for (const auto& n : rimasti)
            elenco += n + " ";
        v.controlla(rimasti == std::vector<std::string>{"Corvenna_7381_note.txt", "vecchio.dat"},
                    "nessun file provvisorio resta: " + elenco);
    }

    fs::remove_all(cartella, ignora);
    return v.esito("prova_sostituzione");
}
