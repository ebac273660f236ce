#pragma once

// The one check of the identity a scenario's files are named by, whoever takes it: a command
// from its options or the names of its descriptions, the language server from the names of the
// files the editor opens.

#include "model/identita_scenario.hpp"

#include <optional>
#include <string>

namespace corvenna {

// Why `identita` cannot name a scenario's files and items, as a sentence that names the
// option's value and what is wrong with it, or std::nullopt when it can. Made on every identity a
// command takes, before any file is read or written, and on the pair the language server
// finds, before it compiles. The train number is four digits. The name becomes part
// of file names on either system and the item file's Windows-1252 text: printable ASCII, not
// empty, without the characters that separate or wildcard a path (/ \ : * ? " < > |), without
// "..", not ending in a dot or a space, not a name Windows keeps for a device (CON, NUL, COM1
// and the like, also before a dot), and short enough that the longest name derived from it
// fits 255 bytes.
std::optional<std::string> identita_non_valida(const identita_scenario& identita);

} // namespace corvenna
