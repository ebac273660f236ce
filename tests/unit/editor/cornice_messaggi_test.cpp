#include "editor/cornice_messaggi.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvenna {
namespace {

// Everything a stream of bytes gives, fed in pieces of `passo` bytes: bodies as they are,
// errors as "!" and the reason.
std::vector<std::string> cornici_di(const std::string& flusso, std::size_t passo) {
    lettore_cornici l;
    std::vector<std::string> r;
    for (std::size_t p = 0; p < flusso.size(); p += passo) {
        l.aggiungi(std::string_view(flusso).substr(p, passo));
        while (auto c = l.prossima())
            r.push_back(c->errore.empty() ? c->corpo : "!" + c->errore);
    }
    return r;
}

TEST(CorniceMessaggi, MessagesSplitAnywhereOrJoinedComeOutWhole) {
    const std::string flusso = incornicia(R"({"a":1})") + incornicia(R"({"b":"è"})") +
                               "content-length: 2\r\nContent-Type: x\r\n\r\n{}";
    for (const std::size_t passo : {std::size_t{1}, std::size_t{3}, std::size_t{7}, flusso.size()})
        EXPECT_EQ(cornici_di(flusso, passo),
                  (std::vector<std::string>{R"({"a":1})", R"({"b":"è"})", "{}"}))
            << "pieces of " << passo;
}

TEST(CorniceMessaggi, BadHeaderIsReportedAndTheNextMessageStillRead) {
    struct caso {
        const char* nome;
        std::string davanti;
        std::string errore;
    };
    const caso casi[] = {
        {"no length", "Content-Type: x\r\n\r\n{}", "!intestazione senza Content-Length"},
        {"not a number", "Content-Length: 1e3\r\n\r\n{}", "!Content-Length non e' un numero: 1e3"},
        {"huge", "Content-Length: 99999999999\r\n\r\n{\"x\":1}",
         "!Content-Length 99999999999 oltre il massimo di 67108864 byte"},
        {"thirteen digits", "Content-Length: 1000000000000\r\n\r\n",
         "!Content-Length 1000000000000 oltre il massimo di 67108864 byte"},
        {"fifty digits", "Content-Length: " + std::string(50, '9') + "\r\n\r\n",
         "!Content-Length " + std::string(40, '9') + "... oltre il massimo di 67108864 byte"},
        {"line without colon", "garbage\r\n\r\n", "!riga dell'intestazione senza ':'"},
    };
    for (const caso& c : casi) {
        const auto r = cornici_di(c.davanti + incornicia(R"({"ok":true})"), 5);
        ASSERT_GE(r.size(), 2u) << c.nome;
        EXPECT_EQ(r.front(), c.errore) << c.nome;
        EXPECT_EQ(r.back(), R"({"ok":true})") << c.nome;
    }
}

TEST(CorniceMessaggi, BodyShorterThanDeclaredLeavesTheRestToTheNextHeader) {
    // The first body says 4 bytes and holds 8: the tail is junk before the next header.
    const auto r = cornici_di("Content-Length: 4\r\n\r\n{}{}junk" + incornicia("{\"n\":2}"), 64);
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0], "{}{}");
    EXPECT_EQ(r[1].substr(0, 1), "!");
    EXPECT_EQ(r[2], "{\"n\":2}");
}

TEST(CorniceMessaggi, EndlessJunkIsDroppedNotHeld) {
    lettore_cornici l;
    int errori = 0;
    for (int k = 0; k < 1000; ++k) {
        l.aggiungi(std::string(1000, 'x'));
        while (auto c = l.prossima())
            errori += !c->errore.empty();
    }
    EXPECT_GT(errori, 0);
    EXPECT_LT(l.in_attesa(), 10000u);
}

} // namespace
} // namespace corvenna
