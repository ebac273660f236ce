#pragma once

// The texts of the page: HTML escaping, SVG coordinates, and the numbers a reader sees, written
// the Italian way (decimal comma, kilometres as 40+800, times as 06:41:00).

#include <cstdint>
#include <string>
#include <string_view>

namespace corvenna {

// `testo` (UTF-8) with & < > " ' written as entities, safe in element content and in quoted
// attribute values. Tab, line feed and form feed become numeric references (&#9; &#10; &#12;);
// the control characters HTML allows neither as bytes nor as references (NUL, CR, the other C0
// controls, DEL, and the C1 controls U+0080 to U+009F, whose references stand for other
// letters) are written as visible text, each byte as "\x1b", as the tool shows them elsewhere.
// A byte that Windows-1252 leaves without a character reaches here as U+FFFD, which stays.
void aggiungi_html(std::string& uscita, std::string_view testo);
std::string html(std::string_view testo);

// A coordinate with at most one decimal and a full stop, without a trailing ".0"; a value that
// is not a finite number is written as 0.
void aggiungi_coordinata(std::string& uscita, double valore);

// A number with `decimali` decimals and a full stop, for data attributes.
std::string numero_dati(double valore, int decimali);

// A number with `decimali` decimals and a decimal comma, for the reader.
std::string numero_testo(double valore, int decimali);

// A route position in kilometres with three decimals: "42,300".
std::string km_testo(double metri);

// Seconds since midnight as "06:41:00"; a value beyond a day keeps counting the hours.
std::string ora_testo(std::int64_t secondi);

// ` NAME="VALUE"`, the value written as a coordinate.
void attributo(std::string& u, const char* nome, double valore);

// The <title> element of `testo`, escaped.
void titolo(std::string& u, const std::string& testo);

} // namespace corvenna
