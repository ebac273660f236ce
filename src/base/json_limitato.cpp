#include "base/json_limitato.hpp"

namespace corvenna {

namespace {

// Thrown by the parser's callback at the first bracket too deep, to stop the parse there.
struct annidamento_eccessivo {};

} // namespace

json_letto leggi_json(std::string_view testo) {
    // The callback learns the depth of the value being opened (0 for the outermost): the
    // bracket that would open level profondita_massima_json + 1 ends the parse.
    const nlohmann::json::parser_callback_t limite =
        [](int profondita, nlohmann::json::parse_event_t evento, nlohmann::json&) {
            if ((evento == nlohmann::json::parse_event_t::object_start ||
                 evento == nlohmann::json::parse_event_t::array_start) &&
                profondita >= profondita_massima_json)
                throw annidamento_eccessivo{};
            return true;
        };
    json_letto r;
    try {
        r.valore = nlohmann::json::parse(testo.begin(), testo.end(), limite);
    } catch (const annidamento_eccessivo&) {
        r.difetto = difetto_json::profondita;
    } catch (const nlohmann::json::parse_error& e) {
        r.difetto = difetto_json::sintassi;
        r.byte = e.byte;
    } catch (const nlohmann::json::exception&) {
        r.difetto = difetto_json::numero;
    }
    if (!r.riuscito())
        r.valore = nullptr;
    return r;
}

std::string testo_difetto(const json_letto& letto) {
    switch (letto.difetto) {
    case difetto_json::nessuno:
        return {};
    case difetto_json::sintassi:
        return "JSON non valido al byte " + std::to_string(letto.byte);
    case difetto_json::profondita:
        return "JSON annidato oltre " + std::to_string(profondita_massima_json) + " livelli";
    case difetto_json::numero:
        return "JSON con un numero fuori dall'intervallo";
    }
    return {};
}

} // namespace corvenna
