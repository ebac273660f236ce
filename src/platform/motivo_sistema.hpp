#pragma once

// The reason a system call failed, as the programs tell the user: in Italian for the failures a
// user meets and can act on (no space, no permission, nothing there, a name too long, a name
// taken, a read-only file system, a failing device, a directory in place of a file, no memory),
// and the system's own text for any other.

#include <string>
#include <system_error>

namespace corvenna {

// The reason for a code of the C library (errno), the same on every system.
std::string motivo_di_errno(int codice);

// The reason for a code of this system's file calls: errno on POSIX systems, the error code
// (GetLastError) on Windows. The codes primitive_file and file_regolare return.
std::string motivo_di_sistema(int codice);

// The reason for an error code of the standard library (std::filesystem): its generic codes
// are errno values, its system codes the system's.
std::string motivo_di_errore(const std::error_code& errore);

} // namespace corvenna
