// Runs a program and checks its wait window through the Windows API.
//
//   guarda_attesa.exe PROGRAMMA [CARTELLA_SEGNALI]
//
// The program starts suspended, from this helper's working directory. The hook library
// aggancio_attesa.dll (next to this helper) is placed on its thread and holds it still twice:
// after the label's first paint, and when the window is about to be destroyed at the end of
// the run. At both moments this helper checks Form1 and Label1 (and, at the first, that the
// program's directory is still as it was at the start) and, with CARTELLA_SEGNALI, lets the
// script take a screenshot ("dipinta", then "fine"; see attendi_fotografia). Every message box
// the program shows is reported and dismissed with OK. The last line printed is "uscita: N",
// the program's exit status; the helper's own status is 0 when every check passed.

#include "prova_windows.hpp"

#include <algorithm>
#include <set>

namespace {

using prova::verifiche;

using prova::limite_ms;
using prova::passo_ms;

// Form1 at 96 dots per inch: 15 twips per pixel.
constexpr int punti_per_pollice = 96;
constexpr int larghezza_client = 280;
constexpr int altezza_client = 179;
constexpr RECT posto_label{64, 64, 64 + 177, 64 + 53};
constexpr LONG altezza_font = -32; // 24 points at 96 dots per inch

std::wstring cartella_di(const std::wstring& file) {
    const auto barra = file.find_last_of(L"\\/");
    return barra == std::wstring::npos ? L"." : file.substr(0, barra);
}

std::wstring nome_di(const std::wstring& file) {
    const auto barra = file.find_last_of(L"\\/");
    return barra == std::wstring::npos ? file : file.substr(barra + 1);
}

// The names in `cartella`, except `escluso`, sorted.
std::vector<std::wstring> contenuto(const std::wstring& cartella, const std::wstring& escluso) {
    std::vector<std::wstring> nomi;
    WIN32_FIND_DATAW dati;
    const HANDLE ricerca = FindFirstFileW((cartella + L"\\*").c_str(), &dati);
    if (ricerca == INVALID_HANDLE_VALUE)
        return nomi;
    do {
        const std::wstring nome = dati.cFileName;
        if (nome != L"." && nome != L".." && lstrcmpiW(nome.c_str(), escluso.c_str()) != 0)
            nomi.push_back(nome);
    } while (FindNextFileW(ricerca, &dati));
    FindClose(ricerca);
    std::sort(nomi.begin(), nomi.end());
    return nomi;
}

std::string elenco(const std::vector<std::wstring>& nomi) {
    std::string testo;
    for (const auto& n : nomi)
        testo += (testo.empty() ? "" : ", ") + prova::in_utf8(n);
    return testo.empty() ? "(nessuno)" : testo;
}

HWND trova_form(verifiche& v, DWORD processo) {
    const std::vector<HWND> forms = prova::finestre_di(L"Form1", processo);
    v.uguale(static_cast<int>(forms.size()), 1, "finestre Form1 visibili del programma");
    return forms.empty() ? nullptr : forms.front();
}

// Checks Form1 and Label1 as the system holds them; returns Form1's place on the screen.
RECT verifica_finestra(verifiche& v, DWORD processo, const std::string& quando) {
    RECT schermo{};
    const HWND form = trova_form(v, processo);
    if (form == nullptr)
        return schermo;
    GetWindowRect(form, &schermo);
    std::printf("%s: Form1 \"%s\" a %ld,%ld, %ld x %ld sullo schermo\n", quando.c_str(),
                prova::in_utf8(prova::testo_di(form)).c_str(), schermo.left, schermo.top,
                schermo.right - schermo.left, schermo.bottom - schermo.top);

    RECT client{};
    GetClientRect(form, &client);
    v.uguale(static_cast<int>(client.right - client.left), larghezza_client,
             quando + ": larghezza dell'area client");
    v.uguale(static_cast<int>(client.bottom - client.top), altezza_client,
             quando + ": altezza dell'area client");

    const std::vector<HWND> figlie = prova::figlie_di(form);
    v.uguale(static_cast<int>(figlie.size()), 1, quando + ": controlli in Form1");
    if (figlie.empty())
        return schermo;
    const HWND label = figlie.front();
    v.controlla(lstrcmpiW(prova::classe_di(label).c_str(), L"Static") == 0,
                quando + ": Label1 è un testo statico");
    v.controlla(IsWindowVisible(label) != FALSE, quando + ": Label1 è visibile");
    v.uguale(prova::testo_di(label), std::wstring(L"Attendere"), quando + ": testo di Label1");

    RECT posto{};
    GetWindowRect(label, &posto);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&posto), 2);
    v.uguale(static_cast<int>(posto.left), static_cast<int>(posto_label.left),
             quando + ": bordo sinistro di Label1");
    v.uguale(static_cast<int>(posto.top), static_cast<int>(posto_label.top),
             quando + ": bordo superiore di Label1");
    v.uguale(static_cast<int>(posto.right - posto.left),
             static_cast<int>(posto_label.right - posto_label.left),
             quando + ": larghezza di Label1");
    v.uguale(static_cast<int>(posto.bottom - posto.top),
             static_cast<int>(posto_label.bottom - posto_label.top),
             quando + ": altezza di Label1");
    return schermo;
}

void verifica_font(verifiche& v, const prova::stato_attesa& s) {
    v.controlla(s.font_letto != 0, "Label1 ha un font proprio");
    if (s.font_letto == 0)
        return;
    const LOGFONTW& f = s.font_label;
    v.uguale(std::wstring(f.lfFaceName), std::wstring(L"MS Sans Serif"), "nome del font");
    v.uguale(static_cast<long>(f.lfHeight), static_cast<long>(altezza_font), "altezza del font");
    v.uguale(static_cast<long>(f.lfWeight), static_cast<long>(FW_BOLD), "peso del font");
    v.uguale(static_cast<int>(f.lfItalic), 0, "font corsivo");
    v.uguale(static_cast<int>(f.lfUnderline), 0, "font sottolineato");
    v.uguale(static_cast<int>(f.lfStrikeOut), 0, "font barrato");
    v.uguale(static_cast<int>(f.lfCharSet), static_cast<int>(ANSI_CHARSET), "set di caratteri");
}

} // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    verifiche v;
    const std::vector<std::wstring> arg = prova::argomenti();
    if (arg.size() < 2) {
        std::printf("uso: guarda_attesa PROGRAMMA [CARTELLA_SEGNALI]\n");
        return 2;
    }
    const std::wstring programma = arg[1];
    const std::wstring segnali = arg.size() > 2 ? arg[2] : L"";
    const std::wstring cartella = cartella_di(programma);
    const std::wstring nome_programma = nome_di(programma);

    if (HDC schermo = GetDC(nullptr)) {
        v.uguale(GetDeviceCaps(schermo, LOGPIXELSY), punti_per_pollice, "punti per pollice");
        ReleaseDC(nullptr, schermo);
    }
    const std::string all_avvio = elenco(contenuto(cartella, nome_programma));
    std::printf("cartella all'avvio: %s\n", all_avvio.c_str());

    wchar_t proprio[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, proprio, MAX_PATH);
    const std::wstring libreria = cartella_di(proprio) + L"\\aggancio_attesa.dll";
    const HMODULE aggancio = LoadLibraryW(libreria.c_str());
    const auto prima = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(aggancio, "prima_della_distruzione")));
    const auto dopo = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(aggancio, "dopo_il_messaggio")));
    if (aggancio == nullptr || prima == nullptr || dopo == nullptr) {
        std::printf("FALLITO: impossibile caricare %s\n", prova::in_utf8(libreria).c_str());
        return 2;
    }

    STARTUPINFOW avvio{};
    avvio.cb = sizeof avvio;
    PROCESS_INFORMATION p{};
    std::wstring riga = L"\"" + programma + L"\"";
    if (!CreateProcessW(programma.c_str(), riga.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, nullptr, &avvio, &p)) {
        std::printf("FALLITO: impossibile avviare %s (errore %lu)\n",
                    prova::in_utf8(programma).c_str(), GetLastError());
        return 2;
    }

    const HANDLE mappa = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            sizeof(prova::stato_attesa),
                                            prova::nome_condiviso(L"stato", p.dwProcessId).c_str());
    auto* stato = static_cast<prova::stato_attesa*>(
        MapViewOfFile(mappa, FILE_MAP_WRITE, 0, 0, sizeof(prova::stato_attesa)));
    auto evento = [&](prova::momento m, bool raggiunto) {
        return CreateEventW(
            nullptr, FALSE, FALSE,
            prova::nome_condiviso(prova::nome_evento(m, raggiunto), p.dwProcessId).c_str());
    };
    const HANDLE dipinta = evento(prova::momento::dipinta, true);
    const HANDLE dopo_dipinta = evento(prova::momento::dipinta, false);
    const HANDLE fine = evento(prova::momento::fine, true);
    const HANDLE dopo_fine = evento(prova::momento::fine, false);
    const HHOOK aggancio_prima = SetWindowsHookExW(WH_CBT, prima, aggancio, p.dwThreadId);
    const HHOOK aggancio_dopo = SetWindowsHookExW(WH_CALLWNDPROCRET, dopo, aggancio, p.dwThreadId);
    if (stato == nullptr || dipinta == nullptr || dopo_dipinta == nullptr || fine == nullptr ||
        dopo_fine == nullptr || aggancio_prima == nullptr || aggancio_dopo == nullptr) {
        std::printf("FALLITO: impossibile preparare l'aggancio (errore %lu)\n", GetLastError());
        TerminateProcess(p.hProcess, 3);
        return 2;
    }
    ResumeThread(p.hThread);

    // Until the program ends: the label is painted once before anything is written, the window
    // is destroyed last, and every message box is answered.
    std::set<HWND> premute;
    std::vector<std::wstring> file_alla_fine;
    bool dipinta_vista = false;
    bool fine_vista = false;
    DWORD atteso = 0;
    const HANDLE eventi[] = {dipinta, fine, p.hProcess};
    for (;;) {
        const DWORD esito = WaitForMultipleObjects(3, eventi, FALSE, passo_ms);
        if (esito == WAIT_OBJECT_0 + 2)
            break;
        if (esito == WAIT_OBJECT_0) {
            dipinta_vista = true;
            const RECT r = verifica_finestra(v, p.dwProcessId, "dopo il primo disegno");
            verifica_font(v, *stato);
            v.uguale(elenco(contenuto(cartella, nome_programma)), all_avvio,
                     "la cartella prima che la finestra sia dipinta");
            prova::attendi_fotografia(v, segnali, L"dipinta", r);
            SetEvent(dopo_dipinta);
            continue;
        }
        if (esito == WAIT_OBJECT_0 + 1) {
            fine_vista = true;
            v.controlla(dipinta_vista, "la finestra è dipinta prima di essere distrutta");
            const RECT r = verifica_finestra(v, p.dwProcessId, "alla fine");
            if (premute.empty()) {
                v.uguale(stato->dipinti_form, 1L, "disegni di Form1 in tutta la corsa");
                v.uguale(stato->dipinti_label, 1L, "disegni di Label1 in tutta la corsa");
            }
            file_alla_fine = contenuto(cartella, nome_programma);
            std::printf("file alla fine: %s\n", elenco(file_alla_fine).c_str());
            prova::attendi_fotografia(v, segnali, L"fine", r);
            SetEvent(dopo_fine);
            continue;
        }
        for (HWND h : prova::caselle_aperte(p.dwProcessId)) {
            if (!premute.insert(h).second)
                continue;
            v.controlla(dipinta_vista, "la finestra è dipinta prima di ogni casella");
            const prova::casella_messaggio c = prova::leggi_casella(h);
            std::printf("casella \"%s\": \"%s\"\n", prova::in_utf8(c.titolo).c_str(),
                        prova::in_utf8(c.testo).c_str());
            prova::premi_ok(c);
        }
        atteso += passo_ms;
        if (atteso >= limite_ms) {
            v.controlla(false, "il programma finisce");
            TerminateProcess(p.hProcess, 3);
            WaitForSingleObject(p.hProcess, INFINITE);
            break;
        }
    }
    v.controlla(dipinta_vista, "la finestra d'attesa è dipinta durante la corsa");
    v.controlla(fine_vista, "la finestra d'attesa è distrutta alla fine");
    if (fine_vista)
        v.uguale(elenco(contenuto(cartella, nome_programma)), elenco(file_alla_fine),
                 "file presenti quando la finestra è distrutta e dopo l'uscita");

    DWORD uscita = 0;
    GetExitCodeProcess(p.hProcess, &uscita);
    UnhookWindowsHookEx(aggancio_prima);
    UnhookWindowsHookEx(aggancio_dopo);
    const int risultato = v.esito("guarda_attesa");
    std::printf("uscita: %lu\n", uscita);
    return risultato;
}
