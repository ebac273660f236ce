#pragma once

// The kilometre a driver reads on the boards, beside the route metre every file counts in.
// A line carries up to three kilometric systems (items 81 to 83): from its start on, a system
// reads offset + metre, or offset - metre when it descends. The system in force at a metre is
// the first of the three whose start is not after it, so at the start of a system the new
// reading rules. No system in force: the reading is the metre itself.
//
// The same reading the page shows beside each feature ("progressiva 40+800"); ispeziona and
// confronta use it to answer in the driver's terms and to find the metres of a reading.

#include "model/costruzione.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvenna {

struct sistema_progressiva {
    std::int64_t inizio = 0; // route metre from which it applies
    std::int64_t offset = 0; // the reading at metre 0, as the author wrote it
    bool decrescente = false;
    friend bool operator==(const sistema_progressiva&, const sistema_progressiva&) = default;
};

// The three systems of items 81, 82, 83, in the order they are looked up. A descending system
// is stored with its offset raised by 100 m; the offset here is the author's.
std::vector<sistema_progressiva> sistemi_progressiva(const costruzione& c);

// The driver's reading at a route metre, in metres.
double progressiva_al_metro(const std::vector<sistema_progressiva>& sistemi, double metro);

// The stretches of [0, fine] each ruled by one system (or by none), in route order.
struct tratto_progressiva {
    double inizio = 0;
    double fine = 0;
    std::optional<sistema_progressiva> sistema;
};
std::vector<tratto_progressiva> tratti_progressiva(const std::vector<sistema_progressiva>& sistemi,
                                                   double fine);

// Every route metre in [0, fine] where the boards read `lettura` (metres), in route order. A
// reading may stand at several places (systems restart, or run backwards); at the end of a
// stretch, where the next system takes over, the stretch's own last reading counts too, since
// its last board stands there.
std::vector<double> metri_della_progressiva(const std::vector<sistema_progressiva>& sistemi,
                                            double lettura, double fine);

// "40+800", "-1+500": a reading as the boards write it, rounded to the metre.
std::string testo_progressiva(double metri);

// A kilometre as a user types it: "42.3" or "42,3" (kilometres), "42+300" (kilometres and
// metres), with an optional minus sign; in metres. None for anything else.
std::optional<double> leggi_chilometro(std::string_view testo);

} // namespace corvenna
