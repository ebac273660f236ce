#pragma once

// What the Windows helpers share: the checks they report, the text conversions for their
// output, the reading and dismissing of message boxes, and the names through which the wait
// window helper and its hook inside the program meet.

#include "platform/sistema_windows.hpp"

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace prova {

// The program's title, caption of its windows and of its message boxes.
inline constexpr wchar_t titolo_programma[] = L"genera_scenario";

inline std::string in_utf8(const std::wstring& testo) {
    if (testo.empty())
        return {};
    const int lunghezza = static_cast<int>(testo.size());
    const int byte =
        WideCharToMultiByte(CP_UTF8, 0, testo.data(), lunghezza, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(byte), '\0');
    WideCharToMultiByte(CP_UTF8, 0, testo.data(), lunghezza, utf8.data(), byte, nullptr, nullptr);
    return utf8;
}

// The program's arguments as the system gives them, in wide characters.
inline std::vector<std::wstring> argomenti() {
    int quanti = 0;
    LPWSTR* lista = CommandLineToArgvW(GetCommandLineW(), &quanti);
    std::vector<std::wstring> risultato;
    for (int i = 0; i < quanti; ++i)
        risultato.emplace_back(lista[i]);
    LocalFree(lista);
    return risultato;
}

// Counts the checks and prints one line for each failure, so that the script shows why.
class verifiche {
  public:
    void controlla(bool riuscita, const std::string& descrizione) {
        if (riuscita) {
            ++riuscite_;
        } else {
            ++fallite_;
            std::printf("FALLITO: %s\n", descrizione.c_str());
        }
    }

    template <typename T>
    void uguale(const T& ottenuto, const T& atteso, const std::string& descrizione) {
        controlla(ottenuto == atteso,
                  descrizione + ": ottenuto " + testo(ottenuto) + ", atteso " + testo(atteso));
    }

    int fallite() const { return fallite_; }

    // Prints the summary and gives the helper's exit status.
    int esito(const char* nome) const {
        std::printf("%s: %d verifiche riuscite, %d fallite\n", nome, riuscite_, fallite_);
        return fallite_ == 0 ? 0 : 1;
    }

  private:
    static std::string testo(const std::wstring& w) { return testo(in_utf8(w)); }
    static std::string testo(const std::string& s) {
        std::string tra_virgolette(1, '"');
        tra_virgolette += s;
        tra_virgolette += '"';
        return tra_virgolette;
    }
    static std::string testo(long n) { return std::to_string(n); }
    static std::string testo(int n) { return std::to_string(n); }
    static std::string testo(unsigned long n) { return std::to_string(n); }

    int riuscite_ = 0;
    int fallite_ = 0;
};

inline std::wstring classe_di(HWND finestra) {
    wchar_t nome[256] = {};
    GetClassNameW(finestra, nome, 256);
    return nome;
}

// The text the system keeps for a window; for a window of another process no message is sent,
// so this works while that process handles none.
inline std::wstring testo_di(HWND finestra) {
    const int lunghezza = GetWindowTextLengthW(finestra);
    std::wstring testo(static_cast<std::size_t>(lunghezza) + 1, L'\0');
    const int letti = GetWindowTextW(finestra, testo.data(), lunghezza + 1);
    testo.resize(static_cast<std::size_t>(letti > 0 ? letti : 0));
    return testo;
}

inline std::vector<HWND> figlie_di(HWND finestra) {
    std::vector<HWND> figlie;
    EnumChildWindows(
        finestra,
        [](HWND figlia, LPARAM dato) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(dato)->push_back(figlia);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&figlie));
    return figlie;
}

// The visible top-level windows of class `classe`, of process `processo` (0: of any process).
inline std::vector<HWND> finestre_di(const std::wstring& classe, DWORD processo) {
    struct ricerca {
        const std::wstring* classe;
        DWORD processo;
        std::vector<HWND> trovate;
    } r{&classe, processo, {}};
    EnumWindows(
        [](HWND finestra, LPARAM dato) -> BOOL {
            auto& r = *reinterpret_cast<ricerca*>(dato);
            DWORD proprietario = 0;
            GetWindowThreadProcessId(finestra, &proprietario);
            if ((r.processo == 0 || proprietario == r.processo) && IsWindowVisible(finestra) &&
                classe_di(finestra) == *r.classe)
                r.trovate.push_back(finestra);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&r));
    return r.trovate;
}

// A message box as the user sees it.
struct casella_messaggio {
    HWND finestra = nullptr;
    std::wstring titolo;
    std::wstring testo;
    std::vector<std::pair<int, std::wstring>> pulsanti; // identifier and caption
    bool icona = false;
};

inline std::vector<HWND> caselle_aperte(DWORD processo) {
    return finestre_di(L"#32770", processo);
}

inline casella_messaggio leggi_casella(HWND finestra) {
    casella_messaggio c;
    c.finestra = finestra;
    c.titolo = testo_di(finestra);
    for (HWND figlia : figlie_di(finestra)) {
        if (!IsWindowVisible(figlia))
            continue;
        const std::wstring classe = classe_di(figlia);
        const LONG_PTR stile = GetWindowLongPtrW(figlia, GWL_STYLE);
        if (lstrcmpiW(classe.c_str(), L"Button") == 0) {
            c.pulsanti.emplace_back(GetDlgCtrlID(figlia), testo_di(figlia));
        } else if (lstrcmpiW(classe.c_str(), L"Static") == 0) {
            if ((stile & SS_TYPEMASK) == SS_ICON) {
                // The icon control may stay in the box with no icon in it.
                DWORD_PTR icona = 0;
                SendMessageTimeoutW(figlia, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icona);
                c.icona = c.icona || icona != 0;
            } else if (const std::wstring testo = testo_di(figlia); !testo.empty()) {
                c.testo += testo;
            }
        }
    }
    return c;
}

// Presses OK as a click on the button would.
inline void premi_ok(const casella_messaggio& c) {
    HWND pulsante = GetDlgItem(c.finestra, IDOK);
    PostMessageW(c.finestra, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(pulsante));
}

// Checks a box that must show `atteso` as the program's error box does: its caption is the
// program's title, OK is its only button and it has no icon.
inline void verifica_casella_errore(verifiche& v, const casella_messaggio& c,
                                    const std::wstring& atteso) {
    v.uguale(c.testo, atteso, "testo della casella");
    v.uguale(c.titolo, std::wstring(titolo_programma), "titolo della casella");
    v.uguale(static_cast<int>(c.pulsanti.size()), 1, "numero di pulsanti");
    if (!c.pulsanti.empty())
        v.uguale(c.pulsanti.front().first, IDOK, "identificatore del pulsante");
    v.controlla(!c.icona, "la casella non ha icone");
}

// How often the helpers look again, and how long they wait at most for something that must
// happen, so that a fault ends in a report rather than a hang.
inline constexpr DWORD passo_ms = 50;
inline constexpr DWORD limite_ms = 120000;

// Lets the script take a screenshot of `r`: writes "pronto_<nome>" into the directory
// `segnali` with the place on the screen ("x y width height") and waits until the script
// creates "continua_<nome>". Does nothing when `segnali` is empty.
inline void attendi_fotografia(verifiche& v, const std::wstring& segnali, const wchar_t* nome,
                               const RECT& r) {
    if (segnali.empty())
        return;
    const std::string descrizione = "fotografia " + in_utf8(nome);
    const std::wstring pronto = segnali + L"\\pronto_" + nome;
    const std::wstring provvisorio = pronto + L".tmp";
    const std::string riga = std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                             std::to_string(r.right - r.left) + " " +
                             std::to_string(r.bottom - r.top) + "\n";
    const HANDLE file = CreateFileW(provvisorio.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD scritti = 0;
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, riga.data(), static_cast<DWORD>(riga.size()), &scritti, nullptr);
        CloseHandle(file);
    }
    // Renamed into place, so the script never reads a half-written line.
    v.controlla(scritti == riga.size() &&
                    MoveFileExW(provvisorio.c_str(), pronto.c_str(), MOVEFILE_REPLACE_EXISTING),
                "annuncio della " + descrizione);

    const std::wstring continua = segnali + L"\\continua_" + nome;
    DWORD atteso = 0;
    while (GetFileAttributesW(continua.c_str()) == INVALID_FILE_ATTRIBUTES && atteso < limite_ms) {
        Sleep(passo_ms);
        atteso += passo_ms;
    }
    v.controlla(atteso < limite_ms, "risposta alla " + descrizione);
}

// Names through which the wait window helper and its hook inside the program meet; each holds
// the program's process identifier, so that no other run can take them.
inline std::wstring nome_condiviso(const wchar_t* parte, DWORD processo) {
    return std::wstring(L"Local\\genera_prova_attesa_") + parte + L"_" + std::to_wstring(processo);
}

// What the hook sees inside the program, in memory shared with the helper.
struct stato_attesa {
    LONG dipinti_form;  // WM_PAINT handled by Form1
    LONG dipinti_label; // WM_PAINT handled by its label
    LONG font_letto;    // nonzero once `font_label` holds the label's font
    LOGFONTW font_label;
};

// The moments at which the hook stops the program until the helper lets it go on.
enum class momento { dipinta, fine };

inline const wchar_t* nome_evento(momento m, bool raggiunto) {
    if (m == momento::dipinta)
        return raggiunto ? L"dipinta" : L"dopo_dipinta";
    return raggiunto ? L"fine" : L"dopo_fine";
}

// How long the hook keeps the program stopped when the helper never answers.
inline constexpr DWORD attesa_massima_ms = 120000;

} // namespace prova
