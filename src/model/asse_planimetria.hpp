#pragma once

// One axis of the plan view: a value for every metre of track, each never assigned, a 16-bit
// integer or a double. The plan view is nearly all of the build object, and filling that
// memory is most of what a run costs, so each value is kept as its number beside a one-byte
// kind: 9 bytes a metre, where a std::variant would take 16.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <variant>
#include <vector>

namespace corvenna {

// A plan-view element as it is read and assigned: never assigned, a 16-bit integer or a
// double. All three states reach the plan-view file with their own tag.
using valore_planimetria = std::variant<std::monostate, std::int16_t, double>;

// The kind of an element, in the order of the alternatives of valore_planimetria.
enum class tipo_valore : std::uint8_t { vuoto, intero, doppio };

class asse_planimetria {
  public:
    // One element open for assignment: `asse[metro] = valore`.
    class elemento {
      public:
        elemento& operator=(const valore_planimetria& valore) {
            asse_.imposta(metro_, valore);
            return *this;
        }
        operator valore_planimetria() const { return asse_.valore(metro_); }

      private:
        friend class asse_planimetria;
        elemento(asse_planimetria& asse, std::size_t metro) : asse_(asse), metro_(metro) {}

        asse_planimetria& asse_;
        std::size_t metro_;
    };

    asse_planimetria() = default;
    asse_planimetria(std::initializer_list<valore_planimetria> valori) {
        resize(valori.size());
        std::size_t metro = 0;
        for (const valore_planimetria& valore : valori)
            imposta(metro++, valore);
    }

    std::size_t size() const { return tipi_.size(); }
    bool empty() const { return tipi_.empty(); }
    void clear() {
        numeri_.clear();
        tipi_.clear();
    }
    // `n` elements, each equal to `valore`.
    void assign(std::size_t n, const valore_planimetria& valore) {
        numeri_.assign(n, 0.0);
        tipi_.assign(n, tipo_valore::vuoto);
        if (valore.index() != 0)
            for (std::size_t metro = 0; metro < n; ++metro)
                imposta(metro, valore);
    }
    // Elements added at the end are empty.
    void resize(std::size_t n) {
        numeri_.resize(n, 0.0);
        tipi_.resize(n, tipo_valore::vuoto);
    }

    valore_planimetria operator[](std::size_t metro) const { return valore(metro); }
    elemento operator[](std::size_t metro) { return {*this, metro}; }

    valore_planimetria valore(std::size_t metro) const {
        switch (tipi_[metro]) {
        case tipo_valore::intero:
            return static_cast<std::int16_t>(numeri_[metro]);
        case tipo_valore::doppio:
            return numeri_[metro];
        case tipo_valore::vuoto:
            break;
        }
        return std::monostate{};
    }
    tipo_valore tipo(std::size_t metro) const { return tipi_[metro]; }
    // The number the element holds, integer or double; 0 for an empty element.
    double numero(std::size_t metro) const { return numeri_[metro]; }

    void imposta(std::size_t metro, const valore_planimetria& valore) {
        tipi_[metro] = static_cast<tipo_valore>(valore.index());
        if (const auto* intero = std::get_if<std::int16_t>(&valore))
            numeri_[metro] = *intero;
        else if (const auto* doppio = std::get_if<double>(&valore))
            numeri_[metro] = *doppio;
        else
            numeri_[metro] = 0.0;
    }
    void imposta_doppio(std::size_t metro, double valore) {
        numeri_[metro] = valore;
        tipi_[metro] = tipo_valore::doppio;
    }

  private:
    std::vector<double> numeri_;
    std::vector<tipo_valore> tipi_;
};

} // namespace corvenna
