#pragma once

// Text quoted from a description, made safe to show on a terminal: a control byte (C0 but tab,
// and DEL) is written as "\x1b" (a backslash, x and two lower-case hex digits), so that no byte
// of an author's file reaches the terminal as a command. In Windows-1252 the five bytes the code
// page leaves without a character (0x81 0x8D 0x8F 0x90 0x9D) are written the same way; in UTF-8
// a C1 control (U+0080 to U+009F) is written as its two bytes ("\xc2\x9b"). Every other
// character, a backslash included, stays as it is.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace corvenna {

// Appends the character of `testo` starting at byte `i` as it is shown, and returns the byte
// after it. With `utf8` a character is a lead byte with its continuation bytes; otherwise it is
// one Windows-1252 byte. The columns it takes are the return of colonne_mostrate.
std::size_t aggiungi_carattere_mostrabile(std::string& uscita, std::string_view testo,
                                          std::size_t i, bool utf8);

// How many columns the character at byte `i` takes once shown: 1, 4 for "\x1b", 8 for the two
// escaped bytes of a C1 control; a tab counts as 1 (it is kept as a tab).
std::size_t colonne_mostrate(std::string_view testo, std::size_t i, bool utf8);

// The byte after the character that starts at byte `i`.
std::size_t fine_carattere(std::string_view testo, std::size_t i, bool utf8);

// The whole of `testo`, as aggiungi_carattere_mostrabile shows it.
std::string testo_mostrabile(std::string_view testo, bool utf8);

// A path or a name the system gave or the command line carried, in UTF-8, as testo_mostrabile
// shows it: what every message shows of a file's name.
std::string percorso_mostrabile(const std::filesystem::path& percorso);

// The UTF-8 text of Windows-1252 bytes, with control bytes and bytes without a character
// written as "\x1b" and "\x81".
std::string da_1252_mostrabile(std::string_view byte_1252);

} // namespace corvenna
