// The platform layer on Windows: the wait window Form1 with its one label, the error box and
// the report of a failure, all through the wide-character Windows API, so that texts and the
// program's directory may hold any character.

#include "platform/sistema_windows.hpp"

#include "platform/piattaforma.hpp"

#include "base/stato_uscita.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace corvenna::piattaforma {

namespace {

// The program's title: the caption of the wait window and of every message box.
constexpr wchar_t titolo_programma[] = L"genera_scenario";
constexpr wchar_t classe_form[] = L"Form1";

// Form1's layout in twips; 1440 twips make an inch, so at 96 dots per inch a pixel is 15 twips.
constexpr int twips_per_pollice = 1440;
constexpr int larghezza_client_twips = 4200;
constexpr int altezza_client_twips = 2688;
constexpr int label_sinistra_twips = 960;
constexpr int label_alto_twips = 960;
constexpr int label_larghezza_twips = 2652;
constexpr int label_altezza_twips = 792;
constexpr int id_label = 1;

constexpr wchar_t caption_label[] = L"Attendere";
constexpr wchar_t font_label[] = L"MS Sans Serif";
constexpr int punti_font_label = 24;

// A fixed frame with a caption: the window is neither resized nor moved by the program.
constexpr DWORD stile_form = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

HWND form = nullptr;
HFONT font = nullptr;

int in_pixel(int twips, int punti_per_pollice) {
    return MulDiv(twips, punti_per_pollice, twips_per_pollice);
}

// The message texts are UTF-8, as the standard library gives paths on this platform; a text
// that is not valid UTF-8 is read in the system's code page instead.
std::wstring in_testo_largo(std::string_view testo) {
    if (testo.empty())
        return {};
    const int lunghezza = static_cast<int>(testo.size());
    UINT codifica = CP_UTF8;
    DWORD opzioni = MB_ERR_INVALID_CHARS;
    int caratteri = MultiByteToWideChar(codifica, opzioni, testo.data(), lunghezza, nullptr, 0);
    if (caratteri == 0) {
        codifica = CP_ACP;
        opzioni = 0;
        caratteri = MultiByteToWideChar(codifica, opzioni, testo.data(), lunghezza, nullptr, 0);
        if (caratteri == 0)
            return std::wstring(testo.begin(), testo.end());
    }
    std::wstring largo(static_cast<std::size_t>(caratteri), L'\0');
    MultiByteToWideChar(codifica, opzioni, testo.data(), lunghezza, largo.data(), caratteri);
    return largo;
}

HFONT crea_font_label(int punti_per_pollice) {
    return CreateFontW(-MulDiv(punti_font_label, punti_per_pollice, 72), 0, 0, 0, FW_BOLD, FALSE,
                       FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font_label);
}

// Creates Form1 and Label1, hidden, placed in the middle of the work area. Returns false when
// the system cannot give a window; the run then goes on without one.
bool crea_form() {
    const HINSTANCE istanza = GetModuleHandleW(nullptr);

    WNDCLASSEXW classe{};
    classe.cbSize = sizeof classe;
    classe.lpfnWndProc = DefWindowProcW;
    classe.hInstance = istanza;
    classe.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    classe.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    classe.lpszClassName = classe_form;
    if (RegisterClassExW(&classe) == 0)
        return false;

    int dpi_x = 96;
    int dpi_y = 96;
    if (HDC schermo = GetDC(nullptr)) {
        dpi_x = GetDeviceCaps(schermo, LOGPIXELSX);
        dpi_y = GetDeviceCaps(schermo, LOGPIXELSY);
        ReleaseDC(nullptr, schermo);
    }

    RECT cornice{0, 0, in_pixel(larghezza_client_twips, dpi_x),
                 in_pixel(altezza_client_twips, dpi_y)};
    AdjustWindowRectEx(&cornice, stile_form, FALSE, 0);
    const int larghezza = cornice.right - cornice.left;
    const int altezza = cornice.bottom - cornice.top;

    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const int x = area.left + (area.right - area.left - larghezza) / 2;
    const int y = area.top + (area.bottom - area.top - altezza) / 2;

    form = CreateWindowExW(0, classe_form, titolo_programma, stile_form, x, y, larghezza, altezza,
                           nullptr, nullptr, istanza, nullptr);
    if (form == nullptr)
        return false;

    const HWND label = CreateWindowExW(
        0, L"STATIC", caption_label, WS_CHILD | WS_VISIBLE | SS_LEFT,
        in_pixel(label_sinistra_twips, dpi_x), in_pixel(label_alto_twips, dpi_y),
        in_pixel(label_larghezza_twips, dpi_x), in_pixel(label_altezza_twips, dpi_y), form,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_label)), istanza, nullptr);
    font = crea_font_label(dpi_y);
    if (label != nullptr && font != nullptr)
        SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return true;
}

int mostra_messaggio(std::string_view testo, UINT stile) {
    const std::wstring largo = in_testo_largo(testo);
    return MessageBoxW(form, largo.c_str(), titolo_programma, stile);
}

} // namespace

std::filesystem::path cartella_programma() {
    // Long paths may exceed MAX_PATH: grow the buffer until the whole name fits.
    std::wstring nome(MAX_PATH, L'\0');
    for (;;) {
        const DWORD lunghezza =
            GetModuleFileNameW(nullptr, nome.data(), static_cast<DWORD>(nome.size()));
        if (lunghezza == 0)
            throw std::filesystem::filesystem_error(
                "cartella del programma",
                std::error_code(static_cast<int>(GetLastError()), std::system_category()));
        if (lunghezza < nome.size()) {
            nome.resize(lunghezza);
            break;
        }
        if (nome.size() >= 65536)
            throw std::filesystem::filesystem_error(
                "cartella del programma", std::make_error_code(std::errc::filename_too_long));
        nome.resize(nome.size() * 2);
    }
    return std::filesystem::path(nome).parent_path();
}

void mostra_attesa() {
    if (form == nullptr && !crea_form())
        return;
    // Shown without waiting and painted at once, frame and label included: no messages are
    // processed afterwards, so this is the only time the window is drawn.
    ShowWindow(form, SW_SHOWNORMAL);
    RedrawWindow(form, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW |
                     RDW_ERASENOW);
    GdiFlush();
}

void chiudi_attesa() {
    if (form != nullptr) {
        DestroyWindow(form);
        form = nullptr;
    }
    if (font != nullptr) {
        DeleteObject(font);
        font = nullptr;
    }
}

void errore(std::string_view a) {
    mostra_messaggio(" Errore n. " + std::string(a), MB_OK | MB_APPLMODAL | MB_SETFOREGROUND);
    chiudi_attesa();
    std::fflush(nullptr);
    std::_Exit(stato_uscita::errori_descrizioni);
}

void segnala(std::string_view messaggio) {
    mostra_messaggio(messaggio, MB_OK | MB_ICONERROR | MB_APPLMODAL | MB_SETFOREGROUND);
}

} // namespace corvenna::piattaforma
