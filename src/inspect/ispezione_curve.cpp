#include "inspect/ispezione_curve.hpp"

#include "inspect/ispezione_csv.hpp"

#include <string>

namespace corvenna {

namespace {

using json = nlohmann::ordered_json;

std::string progressiva(const std::vector<sistema_progressiva>& s, std::int64_t metro) {
    return testo_progressiva(progressiva_al_metro(s, static_cast<double>(metro)));
}

} // namespace

std::string_view mano_curva(const curva_ispezione& c) {
    return c.destra ? "destra" : "sinistra";
}

json curva_json(const curva_ispezione& c, const std::vector<sistema_progressiva>& sistemi) {
    json j;
    j["da_metro"] = c.da_metro;
    j["a_metro"] = c.a_metro;
    j["mano"] = mano_curva(c);
    j["classe"] = c.classe != 0 ? json(c.classe) : json(nullptr);
    j["raggio_m"] = static_cast<long long>(c.raggio_m);
    j["progressiva_da"] = progressiva(sistemi, c.da_metro);
    j["progressiva_a"] = progressiva(sistemi, c.a_metro);
    j["fonte"] = c.fonte ? json{{"file", c.fonte->file}, {"riga", c.fonte->riga}} : json(nullptr);
    return j;
}

void scrivi_curve_csv(std::ostream& uscita, const ispezione& i, std::string_view a_capo) {
    uscita << "da_metro,a_metro,mano,classe,raggio_m,progressiva_da,progressiva_a,fonte" << a_capo;
    for (const curva_ispezione& c : i.curve)
        uscita << c.da_metro << ',' << c.a_metro << ',' << mano_curva(c) << ','
               << (c.classe != 0 ? std::to_string(c.classe) : "") << ','
               << static_cast<long long>(c.raggio_m) << ',' << progressiva(i.sistemi, c.da_metro)
               << ',' << progressiva(i.sistemi, c.a_metro) << ','
               << campo_csv(c.fonte ? c.fonte->file + ":" + std::to_string(c.fonte->riga) : "")
               << a_capo;
}

} // namespace corvenna
