#include "input/lettore_binario.hpp"

#include <utility>

namespace corvenna {

std::string testo_mancano(std::size_t quanti, std::size_t restano, const std::string& cosa) {
    return (quanti == 1 ? std::string("atteso 1") : "attesi " + std::to_string(quanti)) +
           " byte per " + cosa + ", " +
           (restano == 1 ? std::string("ne resta 1") : "ne restano " + std::to_string(restano));
}

void lettore_binario::fine(const std::string& dopo) const {
    if (restanti() > 0)
        fallisci(pos_, "attesa la fine del file dopo " + dopo);
}

void lettore_binario::fallisci(std::size_t byte, std::string atteso) const {
    throw errore_lettura(nome_file_, byte, std::move(atteso));
}

void lettore_binario::mancano(std::size_t byte, std::size_t quanti, std::size_t restano,
                              const std::string& cosa) const {
    fallisci(byte, testo_mancano(quanti, restano, cosa));
}

} // namespace corvenna
