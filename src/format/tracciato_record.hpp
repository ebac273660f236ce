#pragma once

// The layout of the binary files' records, stated once: the fields of an item and of a cell in
// the order the files hold them, with their names, and the tags of the plan view's values. The
// writers, the readers and the reports all walk a record through these functions, so they can
// never disagree on an order, a width or a name.
//
// A field's C++ type gives its encoding: std::uint8_t a Byte (1 byte), std::int16_t an Integer
// (2 bytes), std::int32_t a Long (4 bytes), std::string a text (2-byte length, then its bytes).

#include "model/asse_planimetria.hpp"
#include "model/costruzione.hpp"

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

namespace corvenna {

// One field of a record: its name and the member that holds it.
template <typename Record, typename T>
struct campo_record {
    using tipo = T;
    std::string_view nome;
    T Record::*membro;
};
template <typename Record, typename T>
campo_record(std::string_view, T Record::*) -> campo_record<Record, T>;

// The fields of each record, in file order.
template <typename Record>
struct tracciato;

template <>
struct tracciato<voce> {
    static constexpr std::tuple campi{
        campo_record{"tipo", &voce::tipo}, campo_record{"inizio", &voce::inizio},
        campo_record{"fine", &voce::fine}, campo_record{"posizione", &voce::posizione},
        campo_record{"b1", &voce::b1},     campo_record{"nome", &voce::nome},
        campo_record{"i1", &voce::i1},     campo_record{"i2", &voce::i2},
        campo_record{"i3", &voce::i3},     campo_record{"i4", &voce::i4},
        campo_record{"i5", &voce::i5},     campo_record{"b4", &voce::b4},
        campo_record{"b5", &voce::b5},     campo_record{"b3", &voce::b3},
        campo_record{"b2", &voce::b2},     campo_record{"orario", &voce::orario},
    };
};

template <>
struct tracciato<cella> {
    static constexpr std::tuple campi{
        campo_record{"tipo", &cella::tipo},         campo_record{"dato1", &cella::dato1},
        campo_record{"dato2", &cella::dato2},       campo_record{"dato3", &cella::dato3},
        campo_record{"dato4", &cella::dato4},       campo_record{"tempo", &cella::tempo},
        campo_record{"avviso", &cella::avviso},     campo_record{"montagna", &cella::montagna},
        campo_record{"velocita", &cella::velocita}, campo_record{"pendenza", &cella::pendenza},
        campo_record{"aderenza", &cella::aderenza},
    };
};

// Calls `visita(nome, campo)` for each field of `record` (a voce or a cella, const or not), in
// file order.
template <typename Record, typename Visita>
constexpr void per_campi(Record& record, Visita&& visita) {
    std::apply([&](const auto&... c) { (visita(c.nome, record.*(c.membro)), ...); },
               tracciato<std::remove_const_t<Record>>::campi);
}

// The bytes a field of type T takes in a file, apart from a text's characters: a text's fixed
// part is its 2-byte length.
template <typename T>
constexpr std::size_t byte_fissi_del_tipo() {
    if constexpr (std::is_same_v<T, std::string>)
        return 2;
    else {
        static_assert(std::is_same_v<T, std::uint8_t> || std::is_same_v<T, std::int16_t> ||
                          std::is_same_v<T, std::int32_t>,
                      "a record field is a Byte, an Integer, a Long or a text");
        return sizeof(T);
    }
}

// The bytes a field takes in a file.
template <typename T>
constexpr std::size_t byte_del_campo(const T& campo) {
    if constexpr (std::is_same_v<T, std::string>)
        return byte_fissi_del_tipo<T>() + campo.size();
    else
        return byte_fissi_del_tipo<T>();
}

// The bytes of a record whose texts are all empty.
template <typename Record>
constexpr std::size_t byte_fissi_del_record() {
    return std::apply(
        [](const auto&... c) {
            return (byte_fissi_del_tipo<typename std::remove_cvref_t<decltype(c)>::tipo>() + ...);
        },
        tracciato<Record>::campi);
}

// An item with an empty name takes 34 bytes; a cell always 15.
inline constexpr std::size_t byte_voce_senza_nome = byte_fissi_del_record<voce>();
inline constexpr std::size_t byte_per_cella = byte_fissi_del_record<cella>();
static_assert(byte_voce_senza_nome == 34 && byte_per_cella == 15);

// Where the field `nome_campo` starts inside the record of `record`, in bytes from the record's
// start; std::nullopt for a name the record does not have.
template <typename Record>
std::optional<std::size_t> scostamento_campo(const Record& record, std::string_view nome_campo) {
    std::size_t n = 0;
    std::optional<std::size_t> trovato;
    per_campi(record, [&](std::string_view nome, const auto& campo) {
        if (nome == nome_campo && !trovato)
            trovato = n;
        n += byte_del_campo(campo);
    });
    return trovato;
}

// A plan-view value is a 2-byte tag, then the payload its kind calls for: nothing for an empty
// element, an Integer for an integer, a Double for a double.
inline constexpr std::int16_t etichetta_vuoto = 0;
inline constexpr std::int16_t etichetta_intero = 2;
inline constexpr std::int16_t etichetta_doppio = 5;

constexpr std::int16_t etichetta_di(tipo_valore tipo) {
    switch (tipo) {
    case tipo_valore::intero:
        return etichetta_intero;
    case tipo_valore::doppio:
        return etichetta_doppio;
    case tipo_valore::vuoto:
        break;
    }
    return etichetta_vuoto;
}

// The kind a tag stands for; std::nullopt for a tag the files never hold.
constexpr std::optional<tipo_valore> tipo_di_etichetta(std::int16_t etichetta) {
    for (const tipo_valore tipo : {tipo_valore::vuoto, tipo_valore::intero, tipo_valore::doppio})
        if (etichetta_di(tipo) == etichetta)
            return tipo;
    return std::nullopt;
}

// The bytes of a value of kind `tipo`, tag included.
constexpr std::size_t byte_del_valore(tipo_valore tipo) {
    switch (tipo) {
    case tipo_valore::intero:
        return 2 + 2;
    case tipo_valore::doppio:
        return 2 + 8;
    case tipo_valore::vuoto:
        break;
    }
    return 2;
}

} // namespace corvenna
