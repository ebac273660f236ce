#include "descrizioni_bench.hpp"

#include "output/codifica_1252.hpp"
#include "output/righe_documento.hpp"
#include "scenario/righe_linea.hpp"

namespace corvenna::banco {

std::string testo_righe(std::span<const std::string_view> righe) {
    std::string testo;
    for (const std::string_view riga : righe) {
        if (riga == fine_tabella)
            break;
        testo += in_1252(riga);
        testo += "\r\n";
    }
    return testo;
}

std::string testo_linea_1000km() {
    std::string testo = "[generale]\r\nlunghezza percorso,  1000000\r\n";
    for (const std::string_view riga : righe_linea) {
        if (riga == "[curve]")
            break;
        if (riga != "[generale]" && riga.find("lunghezza") == std::string_view::npos)
            testo += in_1252(riga) + "\r\n";
    }
    testo += "[curve]\r\n";
    for (int km = 0; km < 1000; ++km) {
        const char mano = km % 2 == 0 ? 's' : 'd';
        const int classe = 2 + km % 4;
        testo += "curva" + std::string(1, mano) + std::to_string(classe) + ",  " +
                 std::to_string(km * 1000 + 300) + ",  600\r\n";
    }
    testo += "[pendenze]\r\n";
    for (int km = 0; km < 1000; km += 2)
        testo += "pendenza,  " + std::to_string(km * 1000) + ",  " + std::to_string(km % 19 - 9) +
                 "\r\n";
    testo += "[fine]\r\n";
    return testo;
}

} // namespace corvenna::banco
