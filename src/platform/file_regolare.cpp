#include "platform/file_regolare.hpp"

namespace corvenna {

std::string descrivi_tipo(tipo_voce tipo) {
    switch (tipo) {
    case tipo_voce::inesistente:
        return "un nome libero";
    case tipo_voce::regolare:
        return "un file regolare";
    case tipo_voce::cartella:
        return "una cartella";
    case tipo_voce::collegamento:
        return "un collegamento simbolico";
    case tipo_voce::fifo:
        return "una FIFO";
    case tipo_voce::dispositivo:
        return "un dispositivo";
    case tipo_voce::socket:
        return "un socket";
    case tipo_voce::altro:
        break;
    }
    return "una voce di tipo speciale";
}

std::string motivo_non_regolare(tipo_voce tipo) {
    if (tipo == tipo_voce::cartella)
        return "e' una cartella";
    return "non e' un file regolare: e' " + descrivi_tipo(tipo);
}

std::string motivo_troppo_grande(std::optional<std::uint64_t> dimensione, std::size_t massimo) {
    constexpr std::size_t mebibyte = 1024 * 1024;
    const std::string limite = massimo % mebibyte == 0 && massimo > 0
                                   ? std::to_string(massimo / mebibyte) + " MiB"
                                   : std::to_string(massimo) + " byte";
    std::string motivo = "e' troppo grande: ";
    if (dimensione)
        motivo += std::to_string(*dimensione) + " byte, ";
    return motivo + "oltre il massimo di " + limite;
}

} // namespace corvenna
