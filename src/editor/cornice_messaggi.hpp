#pragma once

// The base protocol's framing of messages on a byte stream: a header of "Name: value" lines
// ended by CR LF, an empty line, then exactly Content-Length bytes of JSON. Pure functions over
// strings: the program reads and writes the bytes.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace corvenna {

// A body larger than this is refused rather than held: no description comes near it.
inline constexpr std::size_t massimo_corpo = 64u << 20;

// What the stream held next: a message's body, or why a header could not be read (the bytes of
// that header, and of its body, are then dropped up to the next "Content-Length", so one bad
// message does not end the session).
struct cornice {
    std::string corpo;
    std::string errore;
};

class lettore_cornici {
  public:
    void aggiungi(std::string_view byte) { buffer_.append(byte); }
    // The next complete message or error, or std::nullopt until more bytes come.
    std::optional<cornice> prossima();
    // Bytes held that do not make a complete message yet.
    std::size_t in_attesa() const { return buffer_.size() - letti_; }

  private:
    // Drops what has been read, and everything before the next header that may start a message.
    void risincronizza(std::size_t da);

    std::string buffer_;
    std::size_t letti_ = 0;
};

// One message framed: its header and `corpo`.
std::string incornicia(std::string_view corpo);

} // namespace corvenna
