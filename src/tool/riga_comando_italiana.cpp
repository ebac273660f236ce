#include "tool/riga_comando_italiana.hpp"

#include <memory>
#include <regex>
#include <string_view>

namespace corvenna {

namespace {

// The type names the library shows for a value, in Italian, where they start the option's
// description ("TEXT:{json,csv}" gives "TESTO:{json,csv}").
class formato_italiano : public CLI::Formatter {
  public:
    std::string make_option_opts(const CLI::Option* opzione) const override {
        std::string testo = CLI::Formatter::make_option_opts(opzione);
        static constexpr std::pair<std::string_view, std::string_view> tipi[] = {
            {" TEXT", " TESTO"}, {" PATH", " PERCORSO"}, {" UINT", " NATURALE"},
            {" INT", " INTERO"}, {" FLOAT", " NUMERO"},  {" BOOLEAN", " BOOLEANO"}};
        for (const auto& [inglese, italiano] : tipi)
            if (testo.starts_with(inglese)) {
                testo.replace(0, inglese.size(), italiano);
                break;
            }
        return testo;
    }
};

// The text of `e` matched against one of the library's forms; the captured parts, or nothing.
std::smatch parti(const std::string& testo, const char* forma) {
    std::smatch m;
    std::regex_match(testo, m, std::regex(forma));
    return m;
}

std::string elenco_valori(std::string valori) {
    for (std::size_t p = 0; (p = valori.find(',', p)) != std::string::npos; p += 2)
        valori.replace(p, 1, ", ");
    return valori;
}

} // namespace

void aiuto_in_italiano(CLI::App& app) {
    auto formato = std::make_shared<formato_italiano>();
    formato->label("Usage", "Uso");
    formato->label("OPTIONS", "OPZIONI");
    formato->label("SUBCOMMAND", "COMANDO");
    formato->label("SUBCOMMANDS", "COMANDI");
    formato->label("Positionals", "Argomenti");
    formato->label("REQUIRED", "OBBLIGATORIO");
    formato->label("Env", "Variabile");
    formato->label("Needs", "Richiede");
    formato->label("Excludes", "Esclude");
    app.formatter(formato);
    app.option_defaults()->group("Opzioni");
    app.group("Comandi");
    app.set_help_flag("-h,--help", "mostra questo aiuto ed esce");
}

void aiuto_dei_comandi_in_italiano(CLI::App& app) {
    for (CLI::App* comando : app.get_subcommands({}))
        if (CLI::Option* aiuto = comando->get_help_ptr())
            aiuto->group("Opzioni");
}

std::string messaggio_in_italiano(const CLI::ParseError& e,
                                  const std::vector<std::string>& rimasti) {
    const std::string testo = e.what();
    std::smatch m;
    if (dynamic_cast<const CLI::RequiredError*>(&e)) {
        if (testo == "A subcommand is required" && !rimasti.empty())
            return "comando sconosciuto: " + rimasti.front();
        if (testo == "A subcommand is required")
            return "manca il comando (compila, controlla, esporta, ispeziona, disegna)";
        if (!(m = parti(testo, "(.+) is required")).empty())
            return "manca l'argomento " + m.str(1);
    } else if (dynamic_cast<const CLI::ExtrasError*>(&e)) {
        if (!(m = parti(testo, "The following argument was not expected: (.*)")).empty())
            return "argomento inatteso: " + m.str(1);
        if (!(m = parti(testo, "The following arguments were not expected: (.*)")).empty())
            return "argomenti inattesi: " + m.str(1);
    } else if (dynamic_cast<const CLI::ArgumentMismatch*>(&e)) {
        if (!(m = parti(testo, "Expected exactly 1 arguments to (.+), got 0")).empty())
            return "manca il valore di " + m.str(1);
        if (!(m = parti(testo, "Expected exactly ([0-9]+) arguments to (.+), got ([0-9]+)"))
                 .empty())
            return m.str(2) + " vuole " + m.str(1) + " valori, ne ha " + m.str(3);
        if (!(m = parti(testo, "Expected at least ([0-9]+) arguments to (.+), got ([0-9]+)"))
                 .empty())
            return m.str(2) + " vuole almeno " + m.str(1) + " valori, ne ha " + m.str(3);
        if (!(m = parti(testo, "(.+): [0-9]+ required .* missing")).empty())
            return "manca il valore di " + m.str(1);
        if (!(m = parti(testo, "(.+) was given a disallowed flag override")).empty())
            return m.str(1) + " non prende un valore";
    } else if (dynamic_cast<const CLI::ValidationError*>(&e)) {
        if (!(m = parti(testo, "(.+): (.*) not in \\{(.*)\\}")).empty())
            return m.str(1) + ": '" + m.str(2) + "' non e' tra i valori ammessi (" +
                   elenco_valori(m.str(3)) + ")";
        if (!(m = parti(testo, "(.+): (.*)")).empty())
            return m.str(1) + ": valore non valido (" + m.str(2) + ")";
    } else if (dynamic_cast<const CLI::ConversionError*>(&e)) {
        if (!(m = parti(testo, "(.+): too many inputs for a flag")).empty())
            return m.str(1) + " non prende un valore";
        if (!(m = parti(testo, "Could not convert: (.+) = (.*)")).empty())
            return m.str(1) + ": valore non valido: " + m.str(2);
        if (!(m = parti(testo, "The value (.*) is not an allowed value for (.+)")).empty())
            return m.str(2) + ": '" + m.str(1) + "' non e' un valore ammesso";
    } else if (dynamic_cast<const CLI::RequiresError*>(&e)) {
        if (!(m = parti(testo, "(.+) requires (.+)")).empty())
            return m.str(1) + " richiede " + m.str(2);
    } else if (dynamic_cast<const CLI::ExcludesError*>(&e)) {
        if (!(m = parti(testo, "(.+) excludes (.+)")).empty())
            return m.str(1) + " esclude " + m.str(2);
    }
    return "riga di comando non valida: " + testo;
}

} // namespace corvenna
