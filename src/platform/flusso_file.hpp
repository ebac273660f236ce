#pragma once

// A stream buffer that hands its bytes to a file of the system in large blocks, through a
// function the platform code gives, and keeps the system's code of the first write that failed:
// the writers emit many small fields, and a failure must be reported with its reason.

#include <cstddef>
#include <functional>
#include <streambuf>
#include <vector>

namespace corvenna {

// Writes all `quanti` bytes at `dati`; returns 0, or the system's code of the failure.
using scrivi_blocco = std::function<int(const char* dati, std::size_t quanti)>;

class flusso_file final : public std::streambuf {
  public:
    explicit flusso_file(scrivi_blocco scrivi);

    // The code of the first failed write, 0 while none failed. After a failure nothing more is
    // written and the stream goes bad.
    int errore() const { return errore_; }

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* dati, std::streamsize quanti) override;
    int sync() override;

  private:
    // Hands the buffered bytes on; false once a write has failed.
    bool svuota();
    int scrivi(const char* dati, std::size_t quanti);

    scrivi_blocco scrivi_;
    std::vector<char> buffer_;
    int errore_ = 0;
};

} // namespace corvenna
