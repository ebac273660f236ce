#include "tool/riga_comando_italiana.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvenna {
namespace {

// The Italian message of the parse error that `argomenti` give a small command line like the
// tool's, or "analizzata" when they parse.
std::string errore_di(std::vector<std::string> argomenti) {
    CLI::App app{"prova", "scenario"};
    aiuto_in_italiano(app);
    app.require_subcommand(1);
    CLI::App* sub = app.add_subcommand("controlla", "controlla");
    std::string linea, treno, forma, nome, numero;
    bool sovrascrivi = false;
    sub->add_option("LINEA", linea, "linea")->required();
    sub->add_option("TRENO", treno, "treno")->required();
    sub->add_option("--diagnostica", forma, "forma")->check(CLI::IsMember({"testo", "json"}));
    CLI::Option* n = sub->add_option("--nome", nome, "nome");
    sub->add_option("--treno", numero, "numero")->needs(n);
    sub->add_flag("--sovrascrivi", sovrascrivi, "sovrascrive");
    std::vector<char*> argv{const_cast<char*>("scenario")};
    for (std::string& a : argomenti)
        argv.push_back(a.data());
    try {
        app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::ParseError& e) {
        return messaggio_in_italiano(e, app.remaining());
    }
    return "analizzata";
}

TEST(RigaComandoItaliana, ParseErrorsNameTheirOptionInItalian) {
    const std::pair<std::vector<std::string>, std::string> casi[] = {
        {{}, "manca il comando (compila, controlla, esporta, ispeziona, disegna)"},
        {{"controlla", "L.txt"}, "manca l'argomento TRENO"},
        {{"controlla", "L.txt", "T.txt", "X.txt"}, "argomento inatteso: X.txt"},
        {{"pippo"}, "comando sconosciuto: pippo"},
        {{"controlla", "L.txt", "T.txt", "--pippo"}, "argomento inatteso: --pippo"},
        {{"controlla", "L.txt", "T.txt", "--diagnostica"}, "manca il valore di --diagnostica"},
        {{"controlla", "L.txt", "T.txt", "--nome"}, "manca il valore di --nome"},
        {{"controlla", "L.txt", "T.txt", "--diagnostica", "xml"},
         "--diagnostica: 'xml' non e' tra i valori ammessi (testo, json)"},
        {{"controlla", "L.txt", "T.txt", "--treno", "1234"}, "--treno richiede --nome"},
        {{"controlla", "L.txt", "T.txt"}, "analizzata"},
    };
    for (const auto& [argomenti, atteso] : casi) {
        std::string riga;
        for (const std::string& a : argomenti)
            riga += a + " ";
        EXPECT_EQ(errore_di(argomenti), atteso) << riga;
    }
}

TEST(RigaComandoItaliana, HelpIsInItalian) {
    CLI::App app{"prova", "scenario"};
    aiuto_in_italiano(app);
    CLI::App* sub = app.add_subcommand("controlla", "controlla le descrizioni");
    std::string linea, forma;
    sub->add_option("LINEA", linea, "la linea")->required();
    sub->add_option("--diagnostica", forma, "forma")->check(CLI::IsMember({"testo", "json"}));
    aiuto_dei_comandi_in_italiano(app);
    EXPECT_EQ(app.help(), "prova\n"
                          "Uso: scenario [OPZIONI] [COMANDO]\n\n"
                          "Opzioni:\n"
                          "  -h,--help                   mostra questo aiuto ed esce\n\n"
                          "Comandi:\n"
                          "  controlla                   controlla le descrizioni\n\n");
    EXPECT_EQ(sub->help(), "controlla le descrizioni\n"
                           "Uso: controlla [OPZIONI] LINEA\n\n"
                           "Argomenti:\n"
                           "  LINEA TESTO OBBLIGATORIO    la linea\n\n"
                           "Opzioni:\n"
                           "  -h,--help                   mostra questo aiuto ed esce\n"
                           "  --diagnostica TESTO:{testo,json}\n"
                           "                              forma\n\n");
}

} // namespace
} // namespace corvenna
