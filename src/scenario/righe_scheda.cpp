#include "scenario/righe_scheda.hpp"

#include "format/righe_documento.hpp"

namespace corvenna {

// Lines 17 to 37 are the timetable rows in running order: the 16 stations of the train
// description and five other points. A station's first time is the minute of its time in the
// train description; a stop shows its departure one minute later. Speeds stand only in the rows
// where they change.
// clang-format off
const std::array<std::string_view, numero_righe_scheda + 1> righe_scheda = {
    "",
    "",
    "  ___________________                                               ______________",
    " |                   |                    SCHEDA                   |              |",
    " |   TRENO n.7381    |                da: Corvenna                 |    V100 A    |",
    " |___________________|                 a: Valterma                 |    90 %      |",
    "                                                                   |______________|",
    "  ___________________                ___________________",
    " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
    " |       DIR         |              |      500T         |",
    " |___________________|              |___________________|",
    "",
    "  ________________________________________________________________________________",
    " | Vel.| Vel.| Progr Km |  No |   Località  di  Servizio   |     Orario     | Rec |",
    " | Lim.|Marc.|          |  Rs |                            |                |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    " |  75 |  75 |    90.000|     | CORVENNA                   |       6.41     |     |",
    " | 125 | 100 |     0.000|     | cippo km 0.000             |                |     |",
    " |     |     |     3.700|     | S. LUCERIO                 |   6.45 - 6.46  | 0.5 |",
    " |     |     |    10.300|     | FOSSAMERLA                 |       6.50     |     |",
    " |     |     |    15.900|     | CASTELMIRANO               |   6.54 - 6.55  | 0.5 |",
    " |     |     |    22.150|     | VILLA OSTRAGO              |   7.00 - 7.01  | 0.5 |",
    " |     |     |    28.400|     | BRENZOLE                   |   7.06 - 7.07  | 0.5 |",
    " |     |     |    34.200|     | PORTOVALDA                 |       7.11     |     |",
    " |  60 |  60 |    39.800|     | Prot. Meridola             |                |     |",
    " |     |     |    40.800|     | MERIDOLA                   |   7.16 - 7.17  |  1  |",
    " | 130 |  95 |     0.700|     | Deviatoio uscita Meridola  |                |     |",
    " |     |     |     5.300|     | CAMPORSANO                 |   7.21 - 7.22  | 0.5 |",
    " |     |     |     9.600|     | TAVERGNA                   |       7.25     |     |",
    " |     | 100 |    12.100|     | CERVANDOLO                 |   7.27 - 7.28  | 0.5 |",
    " | 100 |  90 |    26.500|     | Ponte canale Martesio      |                |     |",
    " | 130 | 100 |    23.000|     | PIAN DI LORSA              |   7.37 - 7.38  | 1.5 |",
    " |     |     |    18.100|     | SASSOGRIGIO                |   7.42 - 7.43  | 0.5 |",
    " |  90 |  85 |    14.000|     | ORMELLETO                  |       7.46     |     |",
    " |     |     |    10.300|     | BAGNOVERDE                 |   7.48 - 7.49  | 0.5 |",
    " |  30 |  30 |     6.600|     | Prot. Valterma             |                |     |",
    " |     |     |     5.200|     | VALTERMA                   |       7.54     |  1  |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |     |     |          |     |                            |                |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    "",
    "",
    "",
    " ",
    fine_tabella,
};
// clang-format on

} // namespace corvenna
