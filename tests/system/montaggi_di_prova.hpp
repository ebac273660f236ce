#pragma once

// Mounts for the whole-program tests, made in a mount namespace of the test process with no
// propagation to the rest of the system.

#include <filesystem>

namespace corvenna::prova {

// Moves the test process into a private mount namespace, once. False where the system does not
// allow it.
bool montaggi_privati();

// A mount on `punto`, detached when the object goes.
class montaggio {
  public:
    explicit montaggio(std::filesystem::path punto) : punto_(std::move(punto)) {}
    ~montaggio();
    montaggio(const montaggio&) = delete;
    montaggio& operator=(const montaggio&) = delete;

  private:
    std::filesystem::path punto_;
};

} // namespace corvenna::prova
