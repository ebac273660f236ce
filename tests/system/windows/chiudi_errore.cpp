// Finds the program's error box, checks it and presses OK.
//
//   chiudi_errore.exe TESTO [CARTELLA_SEGNALI]
//
// Waits for a message box with the program's title, checks that it shows exactly TESTO, has
// OK as its only button and no icon, presses OK and waits until the box is gone. With
// CARTELLA_SEGNALI the script may take a screenshot of the box ("errore") before OK is
// pressed. Exit status 0 when every check passed.

#include "prova_windows.hpp"

namespace {

using prova::limite_ms;
using prova::passo_ms;

HWND attendi_casella() {
    for (DWORD atteso = 0; atteso < limite_ms; atteso += passo_ms) {
        for (HWND h : prova::caselle_aperte(0))
            if (prova::testo_di(h) == prova::titolo_programma)
                return h;
        Sleep(passo_ms);
    }
    return nullptr;
}

} // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::vector<std::wstring> arg = prova::argomenti();
    if (arg.size() < 2 || arg.size() > 3) {
        std::printf("uso: chiudi_errore TESTO [CARTELLA_SEGNALI]\n");
        return 2;
    }
    prova::verifiche v;
    const HWND h = attendi_casella();
    v.controlla(h != nullptr, "una casella del programma compare");
    if (h != nullptr) {
        const prova::casella_messaggio c = prova::leggi_casella(h);
        std::printf("casella \"%s\": \"%s\"\n", prova::in_utf8(c.titolo).c_str(),
                    prova::in_utf8(c.testo).c_str());
        prova::verifica_casella_errore(v, c, arg[1]);
        RECT r{};
        GetWindowRect(h, &r);
        prova::attendi_fotografia(v, arg.size() > 2 ? arg[2] : L"", L"errore", r);
        prova::premi_ok(c);
        DWORD atteso = 0;
        while (IsWindow(h) && atteso < limite_ms) {
            Sleep(passo_ms);
            atteso += passo_ms;
        }
        v.controlla(!IsWindow(h), "la casella si chiude con OK");
    }
    return v.esito("chiudi_errore");
}
