#include "platform/nomi_temporanei.hpp"

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
