#include "platform/nomi_temporanei.hpp"

#include <limits>

namespace corvenna {

namespace {

constexpr std::string_view suffisso = ".tmp";

// Skips one or more digits from the start of `testo`; false when there is none.
bool salta_cifre(std::string_view& testo) {
    std::size_t cifre = 0;
    while (cifre < testo.size() && testo[cifre] >= '0' && testo[cifre] <= '9')
        ++cifre;
    testo.remove_prefix(cifre);
    return cifre > 0;
}

// Skips from the start of `testo` a number as std::to_string writes it (no sign, no leading zero)
// that does not exceed `massimo`; false when there is none.
bool salta_numero(std::string_view& testo, unsigned long long massimo) {
    std::string_view resto = testo;
    if (!salta_cifre(resto))
        return false;
    const std::string_view numero = testo.substr(0, testo.size() - resto.size());
    if (numero.size() > 1 && numero.front() == '0')
        return false;
    unsigned long long valore = 0;
    for (const char c : numero) {
        const auto cifra = static_cast<unsigned long long>(c - '0');
        if (valore > (massimo - cifra) / 10)
            return false;
        valore = valore * 10 + cifra;
    }
    testo = resto;
    return true;
}

} // namespace

std::string nome_temporaneo(std::string_view nome, unsigned long processo, unsigned progressivo) {
    std::string temporaneo(nome);
    temporaneo += suffisso;
    temporaneo += std::to_string(processo);
    temporaneo += '-';
    temporaneo += std::to_string(progressivo);
    return temporaneo;
}

bool temporaneo_di(std::string_view voce, std::string_view nome) {
    if (!voce.starts_with(nome))
        return false;
    voce.remove_prefix(nome.size());
    if (!voce.starts_with(suffisso))
        return false;
    voce.remove_prefix(suffisso.size());
    if (!salta_cifre(voce) || !voce.starts_with('-'))
        return false;
    voce.remove_prefix(1);
    return salta_cifre(voce) && voce.empty();
}

bool temporaneo_creato_di(std::string_view voce, std::string_view nome) {
    if (!voce.starts_with(nome))
        return false;
    voce.remove_prefix(nome.size());
    if (!voce.starts_with(suffisso))
        return false;
    voce.remove_prefix(suffisso.size());
    if (!salta_numero(voce, std::numeric_limits<unsigned long>::max()) || !voce.starts_with('-'))
        return false;
    voce.remove_prefix(1);
    return salta_numero(voce, std::numeric_limits<unsigned>::max()) && voce.empty();
}

bool nome_semplice(std::string_view nome) {
    if (nome.empty() || nome == "." || nome == "..")
        return false;
    for (const char c : nome)
        if (c == '/' || c == '\0')
            return false;
#ifdef _WIN32
    for (const char c : nome)
        if (c == '\\' || c == ':')
            return false;
#endif
    return true;
}

} // namespace corvenna
