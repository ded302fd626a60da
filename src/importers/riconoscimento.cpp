#include "importers/riconoscimento.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "base/file.h"
#include "records/giorno.h"
#include "records/versamento.h"

namespace pliventa {

namespace {

/// The lines of `inizio` (CR LF, LF or CR end one), the empty ones left out; the
/// last one too when the file goes on past `inizio`.
std::vector<std::string_view> righe(std::string_view inizio, bool intero) {
    std::vector<std::string_view> out;
    std::size_t da = 0;
    while (da < inizio.size()) {
        const std::size_t fine = inizio.find_first_of("\r\n", da);
        if (fine == std::string_view::npos) {
            if (intero) {
                out.push_back(inizio.substr(da));
            }
            break;
        }
        if (fine > da) {
            out.push_back(inizio.substr(da, fine - da));
        }
        da = fine + 1;
    }
    return out;
}

bool binario(std::string_view inizio) {
    return std::ranges::any_of(inizio, [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 && b != '\t' && b != '\r' && b != '\n' && b != 0x1a;
    });
}

/// Columns `da`-`a` (1-based, inclusive) of `s`, which is long enough.
std::string_view col(std::string_view s, std::size_t da, std::size_t a) {
    return s.substr(da - 1, a - da + 1);
}

/// A date yyyymmdd of the 1900s or 2000s at column `da`.
bool dataQuattroCifre(std::string_view s, std::size_t da) {
    const std::string_view anno = col(s, da, da + 3);
    return (anno.starts_with("19") || anno.starts_with("20")) &&
           giornoValido(anno, col(s, da + 4, da + 5), col(s, da + 6, da + 7)).has_value();
}

/// A date yymmdd at column `da`, its century by the rule of the 1997 import,
/// followed by the codice fiscale of a person (a letter). Eight digits there are
/// no evidence: they may as well be a four-digit date that is no calendar day.
bool dataDueCifre(std::string_view s, std::size_t da) {
    if (valoreCifre(col(s, da, da + 7))) {
        return false;
    }
    const std::string_view aa = col(s, da, da + 1);
    const std::optional<std::int64_t> cifre = valoreCifre(aa);
    if (!cifre) {
        return false;
    }
    std::string anno = secolo(static_cast<double>(*cifre)) == 2000 ? "20" : "19";
    anno += aa;
    return giornoValido(anno, col(s, da + 2, da + 3), col(s, da + 4, da + 5)).has_value();
}

/// A notice date ddmmyyyy at column `da`.
bool dataAtto(std::string_view s, std::size_t da) {
    return giornoValido(col(s, da + 4, da + 7), col(s, da + 2, da + 3), col(s, da, da + 1))
        .has_value();
}

/// What the payment lines of a fixed-width file say.
struct Voti {
    int anniQuattro = 0, anniDue = 0;   ///< lines whose payment date has a year of 4 / 2 digits
    int attiBrevi = 0, attiLunghi = 0;  ///< violation lines whose notice is short / long
};

void vota(std::string_view s, Voti& v) {
    if (s.size() < 34 || (s[25] != '3' && s[25] != '6')) {
        return;
    }
    if (dataQuattroCifre(s, 27)) {
        ++v.anniQuattro;
    } else if (dataDueCifre(s, 27)) {
        ++v.anniDue;
        return;
    } else {
        return;
    }
    if (s[25] != '6' || s.size() < 191) {
        return;
    }
    const bool breve = dataAtto(s, 181);
    const bool lunga = dataAtto(s, 184);
    v.attiBrevi += breve && !lunga ? 1 : 0;
    v.attiLunghi += lunga && !breve ? 1 : 0;
}

Riconoscimento nonRiconosciuto(std::string motivo) {
    return {std::nullopt, std::move(motivo)};
}

Riconoscimento perLargheFisse(std::span<const std::string_view> linee) {
    Voti v;
    for (const std::string_view s : linee) {
        vota(s, v);
    }
    if (v.anniDue > 0 && v.anniQuattro > 0) {
        return nonRiconosciuto(
            "righe con l'anno del versamento di due cifre (tracciato 1997) e di quattro");
    }
    if (v.anniDue > 0) {
        return {Formato::cnc1997, {}};
    }
    if (v.anniQuattro == 0) {
        return nonRiconosciuto("nessuna riga di versamento riconoscibile nelle prime righe");
    }
    if (v.attiBrevi > 0 && v.attiLunghi > 0) {
        return nonRiconosciuto(
            "estremi dell'atto di violazione sia nella disposizione breve (1997) sia in quella "
            "lunga");
    }
    return {v.attiBrevi > 0 ? Formato::viol1997 : Formato::cnc2000, {}};
}

}  // namespace

Riconoscimento riconosci(std::string_view inizio, bool intero) {
    if (binario(inizio)) {
        return nonRiconosciuto("non è un file di testo");
    }
    if (inizio.find_first_not_of(" \t\r\n\x1a") == std::string_view::npos) {
        return nonRiconosciuto("il file è vuoto");
    }
    const std::vector<std::string_view> linee = righe(inizio, intero);
    const auto conPuntoEVirgola = [](std::string_view s) {
        return s.find(';') != std::string_view::npos;
    };
    if (!linee.empty() && std::ranges::all_of(linee, conPuntoEVirgola)) {
        return {Formato::risconet, {}};
    }
    if (std::ranges::any_of(
            linee, [](std::string_view s) { return s.size() >= 260 && s.starts_with("G1"); })) {
        return {Formato::f24, {}};
    }
    return perLargheFisse(linee);
}

Esito<Riconoscimento> riconosciFile(const std::string& percorso) {
    // Looked at before it is opened: opening a FIFO would wait for its writer.
    StatoFile st;
    if (statoPercorso(percorso, st) && st.tipo == TipoFile::Altro) {
        return nonRiconosciuto("non è un file normale: il tracciato si riconosce solo da un file");
    }
    const Esito<int> aperto = apriInLettura(percorso);
    if (!aperto) {
        return aperto.errore();
    }
    const int fd = *aperto;
    if (!statoDescrittore(fd, st)) {
        const int e = errno;
        (void)chiudiDescrittore(fd);
        return erroreDiSistema(percorso, e);
    }
    std::string inizio(kInizioLetto, '\0');
    std::size_t letti = 0;
    while (letti < inizio.size()) {
        const long long n = leggiDescrittore(fd, inizio.data() + letti, inizio.size() - letti);
        if (n < 0) {
            const int e = errno;
            (void)chiudiDescrittore(fd);
            return erroreDiSistema(percorso, e);
        }
        if (n == 0) {
            break;
        }
        letti += static_cast<std::size_t>(n);
    }
    (void)chiudiDescrittore(fd);
    inizio.resize(letti);
    // The file is whole when it ended before the limit, or has nothing past it.
    const bool intero = letti < kInizioLetto || st.identita.lunghezza <= letti;
    return riconosci(inizio, intero);
}

std::string_view nomeFormato(Formato formato) {
    switch (formato) {
        case Formato::cnc2000:
            return "cnc2000";
        case Formato::cnc1997:
            return "cnc1997";
        case Formato::viol1997:
            return "viol1997";
        case Formato::f24:
            return "f24";
        case Formato::risconet:
            return "risconet";
    }
    return "cnc2000";
}

Formato formatoDi(Tracciato tracciato) {
    switch (tracciato) {
        case Tracciato::cnc1997:
            return Formato::cnc1997;
        case Tracciato::viol1997:
            return Formato::viol1997;
        case Tracciato::f24:
            return Formato::f24;
        case Tracciato::cnc2000:
            break;
    }
    return Formato::cnc2000;
}

Tracciato tracciatoDi(Formato formato) {
    switch (formato) {
        case Formato::cnc1997:
            return Tracciato::cnc1997;
        case Formato::viol1997:
            return Tracciato::viol1997;
        case Formato::f24:
            return Tracciato::f24;
        case Formato::cnc2000:
        case Formato::risconet:
            break;
    }
    return Tracciato::cnc2000;
}

}  // namespace pliventa
