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

} // namespace corvenna
