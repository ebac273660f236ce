// The hook that the wait window helper places on the program's thread. The system loads this
// library into the program and calls it around every message a window procedure handles. It
// counts the paints of Form1 and of its label, reads the label's font (a font handle means
// something only inside its own process), and holds the program still at two moments: just
// after the label's first paint, and when Form1 is about to be destroyed at the end of the run.

#include "prova_windows.hpp"

namespace {

bool classe_e(HWND finestra, const wchar_t* classe) {
    return lstrcmpiW(prova::classe_di(finestra).c_str(), classe) == 0;
}

bool e_form(HWND finestra) {
    return classe_e(finestra, L"Form1");
}

bool e_label(HWND finestra) {
    const HWND genitore = GetParent(finestra);
    return genitore != nullptr && e_form(genitore) && classe_e(finestra, L"Static");
}

prova::stato_attesa* stato() {
    static prova::stato_attesa* condiviso = [] {
        const std::wstring nome = prova::nome_condiviso(L"stato", GetCurrentProcessId());
        const HANDLE mappa = OpenFileMappingW(FILE_MAP_WRITE, FALSE, nome.c_str());
        if (mappa == nullptr)
            return static_cast<prova::stato_attesa*>(nullptr);
        return static_cast<prova::stato_attesa*>(
            MapViewOfFile(mappa, FILE_MAP_WRITE, 0, 0, sizeof(prova::stato_attesa)));
    }();
    return condiviso;
}

// Tells the helper that moment `m` has come and waits until it lets the program go on.
void fermati(prova::momento m) {
    const DWORD processo = GetCurrentProcessId();
    const std::wstring raggiunto = prova::nome_condiviso(prova::nome_evento(m, true), processo);
    const std::wstring riprendi = prova::nome_condiviso(prova::nome_evento(m, false), processo);
    const HANDLE segnale = OpenEventW(EVENT_MODIFY_STATE, FALSE, raggiunto.c_str());
    const HANDLE via = OpenEventW(SYNCHRONIZE, FALSE, riprendi.c_str());
    if (segnale != nullptr && via != nullptr) {
        SetEvent(segnale);
        WaitForSingleObject(via, prova::attesa_massima_ms);
    }
    if (segnale != nullptr)
        CloseHandle(segnale);
    if (via != nullptr)
        CloseHandle(via);
}

} // namespace

// Called before a window is destroyed, while it is still shown as the run left it.
extern "C" __declspec(dllexport) LRESULT CALLBACK
    prima_della_distruzione(int codice, WPARAM w, LPARAM l) {
    if (codice == HCBT_DESTROYWND && e_form(reinterpret_cast<HWND>(w)))
        fermati(prova::momento::fine);
    return CallNextHookEx(nullptr, codice, w, l);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    dopo_il_messaggio(int codice, WPARAM w, LPARAM l) {
    if (codice == HC_ACTION) {
        const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(l);
        prova::stato_attesa* s = stato();
        if (m->message == WM_PAINT && s != nullptr) {
            if (e_form(m->hwnd)) {
                InterlockedIncrement(&s->dipinti_form);
            } else if (e_label(m->hwnd) && InterlockedIncrement(&s->dipinti_label) == 1) {
                const auto font = reinterpret_cast<HFONT>(SendMessageW(m->hwnd, WM_GETFONT, 0, 0));
                if (font != nullptr && GetObjectW(font, sizeof s->font_label, &s->font_label) ==
                                           static_cast<int>(sizeof s->font_label))
                    s->font_letto = 1;
                fermati(prova::momento::dipinta);
            }
        }
    }
    return CallNextHookEx(nullptr, codice, w, l);
}
