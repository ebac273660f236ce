#pragma once

// A stream buffer that keeps nothing and counts the bytes written to it: a writer's output
// size without a file, for the benchmarks and the fuzz targets.

#include <cstddef>
#include <streambuf>

namespace corvenna::prova {

class flusso_contato : public std::streambuf {
  public:
    std::size_t scritti = 0;

  protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            ++scritti;
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char*, std::streamsize n) override {
        scritti += static_cast<std::size_t>(n);
        return n;
    }
};

} // namespace corvenna::prova
