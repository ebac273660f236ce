// The reasons of the system's calls on POSIX systems: their codes are errno values.

#include "platform/motivo_sistema.hpp"

namespace corvenna {

std::string motivo_di_sistema(int codice) {
    return motivo_di_errno(codice);
}

} // namespace corvenna
