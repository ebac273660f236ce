#pragma once

// Paths as URIs and back, one rule for every place that names a file by URI: the SARIF log of
// `controlla`, and the language server's documents. Every byte of a path but the unreserved ones
// and '/' is percent-encoded, so a name with blanks, '#' or '%' stays one reference.

#include <optional>
#include <string>
#include <string_view>

namespace corvenna {

// A path as a relative URI reference: "Linea 1.txt" gives "Linea%201.txt".
std::string uri_di_percorso(std::string_view percorso);

// An absolute path as a "file:" URI: "/home/a/b" gives "file:///home/a/b", "C:\a\b" (or
// "C:/a/b") gives "file:///C:/a/b", the drive's colon kept as editors write it.
std::string uri_file(std::string_view percorso);

// The local path a "file:" URI names (escapes decoded; the host dropped; "file:///C:/x" gives
// "C:/x"), or std::nullopt for a URI of another scheme ("untitled:", "http:") or without a
// path.
std::optional<std::string> percorso_da_uri(std::string_view uri);

} // namespace corvenna
