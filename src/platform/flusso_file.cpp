#include "platform/flusso_file.hpp"

#include <cstring>

namespace corvenna {

namespace {

// Large enough that a write costs little beside the bytes it carries.
constexpr std::size_t dimensione_buffer = std::size_t{1} << 16;

} // namespace

flusso_file::flusso_file(scrivi_blocco scrivi)
    : scrivi_(std::move(scrivi)), buffer_(dimensione_buffer) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

int flusso_file::scrivi(const char* dati, std::size_t quanti) {
    if (errore_ == 0 && quanti > 0)
        errore_ = scrivi_(dati, quanti);
    return errore_;
}

bool flusso_file::svuota() {
    const auto quanti = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return scrivi(buffer_.data(), quanti) == 0;
}

flusso_file::int_type flusso_file::overflow(int_type c) {
    if (!svuota())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize flusso_file::xsputn(const char* dati, std::streamsize quanti) {
    if (quanti <= 0)
        return 0;
    const auto n = static_cast<std::size_t>(quanti);
    if (n > static_cast<std::size_t>(epptr() - pptr())) {
        if (!svuota())
            return 0;
        // A block at least as large as the buffer goes to the file as it is.
        if (n >= buffer_.size())
            return scrivi(dati, n) == 0 ? quanti : 0;
    }
    std::memcpy(pptr(), dati, n);
    pbump(static_cast<int>(n));
    return quanti;
}

int flusso_file::sync() {
    return svuota() ? 0 : -1;
}

} // namespace corvenna
