#include "importer/lettore_gpx.hpp"

#include "importer/coordinate.hpp"
#include "importer/nome_stazione.hpp"
#include "importer/tempo_iso.hpp"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string>
#include <system_error>

namespace corvenna {

namespace {

// A decimal number that fills the whole text (blanks around it allowed); std::nullopt otherwise.
std::optional<double> numero(const char* testo) {
    std::string_view t(testo);
    while (!t.empty() &&
           (t.front() == ' ' || t.front() == '\t' || t.front() == '\n' || t.front() == '\r'))
        t.remove_prefix(1);
    while (!t.empty() &&
           (t.back() == ' ' || t.back() == '\t' || t.back() == '\n' || t.back() == '\r'))
        t.remove_suffix(1);
    if (!t.empty() && t.front() == '+')
        t.remove_prefix(1);
    double valore = 0;
    const auto [fine, errore] = std::from_chars(t.data(), t.data() + t.size(), valore);
    if (t.empty() || errore != std::errc() || fine != t.data() + t.size() || !std::isfinite(valore))
        return std::nullopt;
    return valore;
}

// The child elements named `nome` whatever their namespace prefix ("gpx:trkpt").
bool nome_locale(const pugi::xml_node& n, std::string_view nome) {
    std::string_view pieno(n.name());
    const auto due_punti = pieno.rfind(':');
    if (due_punti != std::string_view::npos)
        pieno.remove_prefix(due_punti + 1);
    return n.type() == pugi::node_element && pieno == nome;
}

pugi::xml_node figlio(const pugi::xml_node& padre, std::string_view nome) {
    for (pugi::xml_node n : padre.children())
        if (nome_locale(n, nome))
            return n;
    return {};
}

struct punto_letto {
    std::optional<punto_geografico> punto;
    std::string errore;
};

punto_letto leggi_punto(const pugi::xml_node& n) {
    const auto lat = numero(n.attribute("lat").value());
    const auto lon = numero(n.attribute("lon").value());
    if (!lat || !lon)
        return {std::nullopt, "coordinate mancanti o non numeriche (attributi lat e lon)"};
    if (!coordinate_valide(*lon, *lat))
        return {std::nullopt, "coordinate fuori dall'intervallo (lat " + std::to_string(*lat) +
                                  ", lon " + std::to_string(*lon) + ")"};
    punto_geografico p{*lon, *lat, std::nullopt};
    if (const pugi::xml_node ele = figlio(n, "ele"))
        p.quota = numero(ele.child_value());
    return {p, {}};
}

// The byte offset in the file of the offset `convertito` of the UTF-8 text pugixml parsed, when
// it converted the file from UTF-16 or Latin-1: each character of the file is walked with the
// length its UTF-8 form takes.
std::size_t byte_del_file(std::string_view byte, pugi::xml_encoding codifica,
                          std::size_t convertito) {
    const bool utf16 = codifica == pugi::encoding_utf16_le || codifica == pugi::encoding_utf16_be;
    if (!utf16 && codifica != pugi::encoding_latin1)
        return convertito;
    // The byte-order mark is converted too, as any other character.
    std::size_t i = 0, utf8 = 0;
    while (i < byte.size() && utf8 < convertito) {
        if (!utf16) {
            utf8 += static_cast<unsigned char>(byte[i]) < 0x80 ? 1 : 2;
            ++i;
            continue;
        }
        if (i + 1 >= byte.size())
            break;
        const bool le = codifica == pugi::encoding_utf16_le;
        const unsigned alto = static_cast<unsigned char>(byte[i + (le ? 1 : 0)]);
        const unsigned basso = static_cast<unsigned char>(byte[i + (le ? 0 : 1)]);
        const unsigned unita = alto << 8 | basso;
        if (unita >= 0xD800 && unita < 0xDC00) {
            utf8 += 4; // a surrogate pair: one character of four bytes
            i += 4;
        } else {
            utf8 += unita < 0x80 ? 1 : unita < 0x800 ? 2 : 3;
            i += 2;
        }
    }
    return std::min(i, byte.size());
}

} // namespace

esito_mappa leggi_gpx(std::string_view byte) {
    if (byte.empty())
        return mappa_fallita("byte 0", "il file e' vuoto");
    // The encoding from the byte-order mark or the XML declaration (UTF-8 when neither says),
    // so that a file saved as UTF-16 is read. The document type declaration is parsed only to
    // be refused: pugixml does not expand the entities it declares, which would otherwise reach
    // a station's name as written ("&nome;").
    pugi::xml_document documento;
    const pugi::xml_parse_result esito = documento.load_buffer(
        byte.data(), byte.size(), pugi::parse_default | pugi::parse_doctype, pugi::encoding_auto);
    if (!esito)
        return mappa_fallita(
            "byte " + std::to_string(byte_del_file(byte, esito.encoding,
                                                   static_cast<std::size_t>(esito.offset))),
            std::string("XML non valido: ") + esito.description());
    for (pugi::xml_node n : documento.children())
        if (n.type() == pugi::node_doctype)
            return mappa_fallita(
                "byte " + std::to_string(byte_del_file(byte, esito.encoding,
                                                       static_cast<std::size_t>(n.offset_debug()))),
                "dichiarazione DOCTYPE non ammessa: un file GPX non ha DTD, e le entita' che "
                "dichiara non vengono espanse");
    pugi::xml_node radice = documento.document_element();
    if (!nome_locale(radice, "gpx"))
        return mappa_fallita("byte 0", "non e' un file GPX (manca l'elemento gpx)");

    mappa_importata mappa;
    std::size_t indice_waypoint = 0;
    for (pugi::xml_node n : radice.children()) {
        if (!nome_locale(n, "wpt"))
            continue;
        const std::string elemento = "waypoint " + std::to_string(indice_waypoint++);
        const punto_letto p = leggi_punto(n);
        if (!p.punto)
            return mappa_fallita(elemento, p.errore);
        const std::string_view nome = figlio(n, "name").child_value();
        if (const auto motivo = nome_troppo_lungo(nome))
            return mappa_fallita(elemento, *motivo);
        if (nome.empty()) {
            mappa.note.push_back({elemento, "waypoint senza nome: non e' una stazione, ignorato"});
            continue;
        }
        mappa.stazioni.push_back(
            {std::string(nome), p.punto->longitudine, p.punto->latitudine, std::nullopt, elemento});
    }

    // The first track with points; its segments in order make one path. Without a track, the
    // first route.
    auto aggiungi = [&](const pugi::xml_node& n) -> std::optional<errore_mappa> {
        const std::string elemento = "punto " + std::to_string(mappa.percorso.size());
        const punto_letto p = leggi_punto(n);
        if (!p.punto)
            return errore_mappa{elemento, p.errore};
        mappa.percorso.push_back(*p.punto);
        mappa.tempi_punti.push_back(istante_iso(figlio(n, "time").child_value()));
        mappa.elementi_punti.push_back(elemento);
        return std::nullopt;
    };
    for (pugi::xml_node trk : radice.children()) {
        if (!nome_locale(trk, "trk") || !mappa.percorso.empty())
            continue;
        for (pugi::xml_node seg : trk.children())
            if (nome_locale(seg, "trkseg"))
                for (pugi::xml_node pt : seg.children())
                    if (nome_locale(pt, "trkpt"))
                        if (auto errore = aggiungi(pt))
                            return {std::nullopt, errore};
    }
    if (mappa.percorso.empty())
        for (pugi::xml_node rte : radice.children()) {
            if (!nome_locale(rte, "rte") || !mappa.percorso.empty())
                continue;
            for (pugi::xml_node pt : rte.children())
                if (nome_locale(pt, "rtept"))
                    if (auto errore = aggiungi(pt))
                        return {std::nullopt, errore};
        }
    if (mappa.percorso.size() < 2)
        return mappa_fallita("file", "nessuna traccia o rotta con almeno due punti");
    return {std::move(mappa), std::nullopt};
}

} // namespace corvenna
