// Reaches the error box through the real platform layer, as a failed header check does: the
// wait window is up, then errore("1250") shows the box and ends the program once it is
// dismissed.

#include "platform/piattaforma.hpp"

int main() {
    corvenna::piattaforma::mostra_attesa();
    corvenna::piattaforma::errore("1250");
}
