#include "montaggi_di_prova.hpp"

#include <sched.h>
#include <sys/mount.h>

namespace corvenna::prova {

bool montaggi_privati() {
    static const bool riuscito = [] {
        if (::unshare(CLONE_NEWNS) != 0)
            return false;
        return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }();
    return riuscito;
}

montaggio::~montaggio() {
    ::umount2(punto_.c_str(), MNT_DETACH);
}

} // namespace corvenna::prova
