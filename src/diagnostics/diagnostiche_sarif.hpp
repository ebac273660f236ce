#pragma once

// The diagnostics of a build as one SARIF 2.1.0 log, the form code-scanning services and
// editors read: one run whose tool lists a rule for every kind of diagnostic (the rule's id is
// the kind's stable name, its texts the table's), and one result per diagnostic shown:
//
//   {"ruleId": "fuori-tracciato", "ruleIndex": 31, "level": "error",
//    "message": {"text": "posizione 99500 oltre il percorso (88000 m)"},
//    "locations": [{"physicalLocation": {"artifactLocation": {"uri": "Rivalta_linea.txt",
//        "uriBaseId": "%SRCROOT%"}, "region": {"startLine": 90, "startColumn": 23,
//        "endColumn": 28}}}]}
//
// with relatedLocations for the places that explain it and fixes for its certain fixes. A
// warning made an error keeps its rule and has level "error". Columns count characters, which
// for Windows-1252 text are the UTF-16 code units SARIF counts by default. The kinds a bound
// left out are told as notifications of the run's one invocation, so a junk file gives a short
// log. Texts are UTF-8; a byte that is not valid UTF-8 (in a file name) becomes U+FFFD.

#include "diagnostics/diagnostica.hpp"
#include "diagnostics/limite_diagnostiche.hpp"

#include <iosfwd>
#include <string>
#include <string_view>

namespace corvenna {

// Where the two descriptions are, as SARIF names them: URI references relative to `uri_base`
// (percent-encoded, '/' between folders), and `uri_base` the absolute "file:" URI of the folder
// they are relative to, ending in '/' (empty when unknown: the references are then left
// relative to nothing).
struct luoghi_sarif {
    std::string uri_linea;
    std::string uri_treno;
    std::string uri_base;
};

// The log, as text indented by `rientro` blanks a level (on one line when below 0).
std::string diagnostiche_sarif(const elenco_diagnostiche& elenco, const luoghi_sarif& luoghi,
                               limite_diagnostiche& limite, int rientro = -1);

} // namespace corvenna
