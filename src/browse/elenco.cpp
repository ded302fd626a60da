#include "browse/elenco.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/testo.h"

namespace pliventa {

namespace {

/// Whether the list shows field `v` as a number it formats.
bool numerica(Voce v) {
    const Genere g = descrizione(v).genere;
    return g == Genere::conteggio || g == Genere::importo;
}

// Records of a filtered list that lie at most this far apart are read in one go,
// gap included: a few kilobytes more cost less than another system call.
constexpr std::uint64_t kSaltoUnito = 16;

}  // namespace

Esito<ElencoVersamenti> ElencoVersamenti::crea(const ArchivioLavoro& archivio,
                                               FormatoElenco formato) {
    const Esito<double> conteggio = archivio.numerorecord();
    if (!conteggio) {
        return conteggio.errore();
    }
    const double interi = std::floor(*conteggio);
    if (interi > static_cast<double>(kMassimoVersamentiElenco)) {
        return Errore{CodiceErrore::Uso, archivio.percorso(),
                      "il file di lavoro ha troppi versamenti per l'elenco"};
    }
    return ElencoVersamenti(archivio, std::move(formato), static_cast<std::uint64_t>(interi),
                            interi != *conteggio);
}

ElencoVersamenti::ElencoVersamenti(const ArchivioLavoro& archivio, FormatoElenco formato,
                                   std::uint64_t versamenti, bool ultimoIncompleto)
    : archivio_(&archivio),
      formato_(std::move(formato)),
      versamenti_(versamenti),
      ultimoIncompleto_(ultimoIncompleto) {}

std::uint64_t ElencoVersamenti::righe() const {
    return elencate_ ? numeri_.size() : versamenti_;
}

std::uint64_t ElencoVersamenti::numeroRecord(std::uint64_t riga) const {
    if (riga >= righe()) {
        return 0;
    }
    return elencate_ ? numeri_[static_cast<std::size_t>(riga)] : riga + 1;
}

std::string ElencoVersamenti::testo(std::uint64_t riga, std::size_t colonna) const {
    if (riga >= righe() || colonna >= kColonneElenco) {
        return {};
    }
    if (rigaFormattata_ != riga) {
        formatta(riga);
    }
    return celle_[colonna];
}

std::string ElencoVersamenti::copiaTabulata(const std::vector<std::uint64_t>& righe) const {
    std::string out;
    for (const std::uint64_t riga : righe) {
        for (std::size_t c = 0; c < kColonneElenco; ++c) {
            std::string cella = testo(riga, c);
            // A field as stored may begin like a formula, which the spreadsheet it is
            // pasted in would run; the numbers are ours, and stay numbers.
            if (kVoceElenco[c] && !numerica(*kVoceElenco[c])) {
                cella = testoNonFormula(cella);
            }
            // A tab or a line end inside a cell would shift the pasted columns.
            std::replace_if(
                cella.begin(), cella.end(),
                [](char ch) { return ch == '\t' || ch == '\r' || ch == '\n'; }, ' ');
            out += cella;
            out += c + 1 < kColonneElenco ? '\t' : '\n';
        }
    }
    return out;
}

void ElencoVersamenti::impostaFormato(FormatoElenco formato) {
    formato_ = std::move(formato);
    rigaFormattata_.reset();
}

void ElencoVersamenti::applicaRighe(std::vector<std::uint32_t> numeri, bool filtrato) {
    numeri_ = std::move(numeri);
    filtrato_ = filtrato;
    elencate_ = true;
    svuota();
}

void ElencoVersamenti::togliFiltro() {
    numeri_ = {};
    filtrato_ = false;
    elencate_ = false;
    svuota();
}

void ElencoVersamenti::svuota() {
    blocco_.inizio.clear();
    blocco_.dati.clear();
    rigaFormattata_.reset();
}

std::optional<std::string_view> ElencoVersamenti::record(std::uint64_t riga) const {
    if (riga < blocco_.primaRiga || riga - blocco_.primaRiga >= blocco_.inizio.size()) {
        caricaBlocco(riga);
    }
    const std::size_t inizio = blocco_.inizio[static_cast<std::size_t>(riga - blocco_.primaRiga)];
    if (inizio == kAssente) {
        return std::nullopt;
    }
    return std::string_view(blocco_.dati).substr(inizio, Versamento::kLunghezzaRecord);
}

void ElencoVersamenti::caricaBlocco(std::uint64_t riga) const {
    const std::size_t perBlocco = elencate_ ? kRighePerBloccoFiltrato : kRighePerBlocco;
    const std::uint64_t prima = riga / perBlocco * perBlocco;
    const auto quante =
        static_cast<std::size_t>(std::min<std::uint64_t>(perBlocco, righe() - prima));
    blocco_.primaRiga = prima;
    blocco_.inizio.assign(quante, kAssente);
    blocco_.dati.clear();
    errore_.reset();
    // Rows whose records follow one another (all of them, unfiltered) are read
    // with one call.
    for (std::size_t i = 0; i < quante;) {
        const std::uint64_t da = numeroRecord(prima + i);
        std::uint64_t a = da;
        std::size_t j = i + 1;
        for (; j < quante; ++j) {
            const std::uint64_t n = numeroRecord(prima + j);
            if (n <= a || n - a > kSaltoUnito) {
                break;
            }
            a = n;
        }
        const Esito<std::size_t> letti =
            archivio_->leggiblocco(da, static_cast<std::size_t>(a - da + 1), blocco_.lettura);
        if (!letti) {
            errore_ = letti.errore();
        } else {
            // A record past the end of a file cut short since the count stays absent.
            const std::size_t base = blocco_.dati.size();
            blocco_.dati += blocco_.lettura;
            for (std::size_t k = i; k < j; ++k) {
                const std::uint64_t scarto = numeroRecord(prima + k) - da;
                if (scarto < *letti) {
                    blocco_.inizio[k] =
                        base + static_cast<std::size_t>(scarto) * Versamento::kLunghezzaRecord;
                }
            }
        }
        i = j;
    }
}

void ElencoVersamenti::formatta(std::uint64_t riga) const {
    rigaFormattata_ = riga;
    const std::optional<std::string_view> letto = record(riga);
    if (!letto) {
        celle_.fill(std::string());
        return;
    }
    const Versamento v = Versamento::daByte(*letto);
    const std::uint64_t numero = numeroRecord(riga);
    TestiVoci testi = testiVoci(v, formato_.valuta, formato_.lettura, formato_.separatori);
    for (std::size_t c = 0; c < kColonneElenco; ++c) {
        if (kVoceElenco[c]) {
            celle_[c] = std::move(testi[indice(*kVoceElenco[c])]);
        }
    }
    celle_[indice(ColonnaElenco::numero)] =
        formattaNumero(static_cast<double>(numero), formato_.separatori);
    celle_[indice(ColonnaElenco::tipo)].assign(1, v.violazione() ? 'V' : 'O');
}

}  // namespace pliventa
