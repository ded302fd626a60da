#include "cli/argomenti.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace pliventa::cli {

namespace {

void scrivi(std::FILE* f, std::string_view testo) {
    std::fwrite(testo.data(), 1, testo.size(), f);
}

}  // namespace

std::optional<std::string_view> Argomenti::valore(std::string_view nome) const {
    for (auto it = opzioni.rbegin(); it != opzioni.rend(); ++it) {
        if (it->first == nome) {
            return it->second;
        }
    }
    return std::nullopt;
}

std::variant<Argomenti, std::string> analizza(std::span<const std::string_view> argomenti,
                                              std::span<const std::string_view> ammesse) {
    Argomenti esito;
    bool soloOperandi = false;
    for (std::size_t i = 0; i < argomenti.size(); ++i) {
        const std::string_view a = argomenti[i];
        // A lone "-" and the empty string are operands, as everywhere on the command line.
        if (soloOperandi || a.size() < 2 || a[0] != '-') {
            esito.operandi.push_back(a);
            continue;
        }
        if (a == "--") {
            soloOperandi = true;
            continue;
        }
        if (a == "-h" || a == "--help") {
            esito.aiuto = true;
            continue;
        }
        const auto uguale = a.find('=');
        const std::string_view nome = a.substr(0, uguale);
        if (std::find(ammesse.begin(), ammesse.end(), nome) == ammesse.end()) {
            return "opzione sconosciuta: " + std::string(nome);
        }
        if (uguale != std::string_view::npos) {
            esito.opzioni.emplace_back(nome, a.substr(uguale + 1));
        } else if (i + 1 < argomenti.size()) {
            esito.opzioni.emplace_back(nome, argomenti[++i]);
        } else {
            return "manca il valore dell'opzione " + std::string(nome);
        }
    }
    return esito;
}

int aiuto(const Guida& guida) {
    std::string testo = "Uso: pliventa-cli ";
    testo += guida.uso;
    testo += "\n\n";
    testo += guida.dettagli;
    scrivi(stdout, testo);
    std::fflush(stdout);
    return kRiuscito;
}

int erroreUso(const Guida& guida, std::string_view messaggio) {
    std::string testo = "pliventa-cli";
    if (!guida.comando.empty()) {
        testo += ' ';
        testo += guida.comando;
    }
    testo += ": ";
    testo += messaggio;
    testo += "\nUso: pliventa-cli ";
    testo += guida.uso;
    testo += "\nPer l'aiuto: pliventa-cli ";
    if (!guida.comando.empty()) {
        testo += guida.comando;
        testo += ' ';
    }
    testo += "--help\n";
    scrivi(stderr, testo);
    return kErroreUso;
}

int erroreIO(const Errore& errore) {
    avviso("pliventa-cli: " + errore.descrizione());
    return kErroreIO;
}

int erroreDi(const Guida& guida, const Errore& errore) {
    if (errore.codice == CodiceErrore::Uso) {
        return erroreUso(guida, errore.descrizione());
    }
    return erroreIO(errore);
}

void avviso(std::string_view testo) {
    std::string riga(testo);
    riga += '\n';
    scrivi(stderr, riga);
}

void avvisaParziale(const std::string& percorso) {
    // The window still shows such a half record as the last one; the command line
    // keeps to whole records and says so, without failing.
    avviso("pliventa-cli: " + percorso +
           ": la lunghezza non è multipla di 202 byte, ignorato un record finale incompleto");
}

std::variant<Argomenti, int> preparaComando(std::span<const std::string_view> argomenti,
                                            std::span<const std::string_view> ammesse,
                                            const Guida& guida) {
    auto analisi = analizza(argomenti, ammesse);
    if (const auto* messaggio = std::get_if<std::string>(&analisi)) {
        return erroreUso(guida, *messaggio);
    }
    Argomenti& arg = std::get<Argomenti>(analisi);
    if (arg.aiuto) {
        return aiuto(guida);
    }
    return std::move(arg);
}

std::variant<ComandoArchivio, int> preparaComandoArchivio(
    std::span<const std::string_view> argomenti, std::span<const std::string_view> ammesse,
    const Guida& guida) {
    auto preparato = preparaComando(argomenti, ammesse, guida);
    if (const int* esito = std::get_if<int>(&preparato)) {
        return *esito;
    }
    Argomenti& arg = std::get<Argomenti>(preparato);
    if (const std::optional<int> uso = soloArchivio(arg, guida)) {
        return *uso;
    }
    const auto lettura = opzioniLettura(arg, guida);
    if (const int* esito = std::get_if<int>(&lettura)) {
        return *esito;
    }
    return ComandoArchivio{std::move(arg), std::get<OpzioniLettura>(lettura)};
}

std::optional<int> soloArchivio(const Argomenti& arg, const Guida& guida) {
    if (arg.operandi.empty() || arg.operandi[0].empty()) {
        return erroreUso(guida, "manca il file di lavoro WORKFILE");
    }
    if (arg.operandi.size() > 1) {
        return erroreUso(guida, "argomento in più: " + std::string(arg.operandi[1]));
    }
    return std::nullopt;
}

std::variant<OpzioniLettura, int> opzioniLettura(const Argomenti& arg, const Guida& guida) {
    OpzioniLettura o;
    const std::string_view valuta = arg.valore("--valuta").value_or("E");
    if (valuta != "E" && valuta != "L") {
        return erroreUso(guida,
                         "valuta non valida: \"" + std::string(valuta) + "\" (ammesse E e L)");
    }
    o.euro = valuta == "E";
    const std::string_view notice = arg.valore("--notice").value_or("long");
    if (notice != "long" && notice != "short") {
        return erroreUso(guida, "lettura dell'atto non valida: \"" + std::string(notice) +
                                    "\" (ammesse long e short)");
    }
    o.lettura = notice == "long" ? LetturaAtto::lunga : LetturaAtto::breve;
    return o;
}

}  // namespace pliventa::cli
