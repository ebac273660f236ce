#include "input/velocita_effettiva.hpp"

#include "model/tipi_cella.hpp"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <queue>
#include <utility>

namespace corvenna {

std::vector<rallentamento_celle> rallentamenti_celle(const costruzione& c) {
    std::vector<rallentamento_celle> elenco;
    const std::size_t n = c.celle.size();
    if (n == 0)
        return elenco;
    // The first end cell after each cell, found in one pass from the last cell back: any
    // number of starts costs one look each.
    std::vector<std::size_t> fine_dopo(n);
    std::size_t prossima = n - 1;
    for (std::size_t k = n; k-- > 0;) {
        fine_dopo[k] = prossima;
        if (c.celle[k].tipo == tipo_cella::fine_rallentamento)
            prossima = k;
    }
    for (std::size_t k = 0; k < n; ++k) {
        const cella& x = c.celle[k];
        if (x.tipo != tipo_cella::inizio_rallentamento)
            continue;
        rallentamento_celle r;
        r.cella_inizio = static_cast<std::int32_t>(k);
        r.cella_fine = static_cast<std::int32_t>(fine_dopo[k]);
        r.inizio = metro_elemento(static_cast<std::int64_t>(k));
        r.fine = metro_elemento(static_cast<std::int64_t>(fine_dopo[k]));
        r.velocita = x.dato1;
        constexpr std::size_t ricerca_avviso = 30;
        for (std::size_t d = 1; d <= ricerca_avviso && d <= k; ++d) {
            const cella& a = c.celle[k - d];
            if (a.tipo == tipo_cella::avviso_rallentamento && a.dato1 == x.dato1) {
                r.avviso = metro_elemento(static_cast<std::int64_t>(k - d));
                break;
            }
        }
        elenco.push_back(r);
    }
    return elenco;
}

std::vector<int> velocita_effettiva_celle(const costruzione& c,
                                          const std::vector<rallentamento_celle>& rallentamenti) {
    std::vector<int> treno(c.celle.size());
    for (std::size_t i = 0; i < treno.size(); ++i)
        treno[i] = 5 * c.celle[i].velocita;
    std::vector<std::size_t> ordine(rallentamenti.size());
    for (std::size_t i = 0; i < ordine.size(); ++i)
        ordine[i] = i;
    std::sort(ordine.begin(), ordine.end(), [&rallentamenti](std::size_t a, std::size_t b) {
        return rallentamenti[a].inizio < rallentamenti[b].inizio;
    });
    // Active slowdowns, slowest on top, with the first cell past each one's end. One that has
    // ended may stay in the queue under a slower one: only the top counts, and an ended top is
    // taken out before it is used.
    using attivo = std::pair<int, std::int64_t>;
    std::priority_queue<attivo, std::vector<attivo>, std::greater<>> attivi;
    std::size_t prossimo = 0;
    for (std::size_t i = 0; i < treno.size(); ++i) {
        const auto k = static_cast<std::int64_t>(i);
        while (prossimo < ordine.size()) {
            const rallentamento_celle& r = rallentamenti[ordine[prossimo]];
            if (r.inizio >= 50 * (k + 1))
                break;
            attivi.emplace(r.velocita, (r.fine + 49) / 50);
            ++prossimo;
        }
        while (!attivi.empty() && attivi.top().second <= k)
            attivi.pop();
        if (!attivi.empty())
            treno[i] = std::min(treno[i], attivi.top().first);
    }
    return treno;
}

} // namespace corvenna
