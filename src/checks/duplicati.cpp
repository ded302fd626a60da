#include "checks/duplicati.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>

#include "checks/controlli.h"

namespace pliventa {

namespace {

// SplitMix64's finaliser: every bit of the input reaches every bit of the output.
std::uint64_t mescola(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// How many lookups ahead fineGiro() fetches the slots of.
constexpr std::size_t kAvanti = 8;

std::uint64_t parola(std::string_view byte) {
    std::uint64_t w = 0;
    std::memcpy(&w, byte.data(), std::min(byte.size(), sizeof w));
    return w;
}

}  // namespace

ChiaveDuplicato chiaveDuplicato(const Versamento& v) {
    ChiaveDuplicato k;
    // The codice fiscale left-aligned in 16 blanks: a code the agent wrote with a
    // blank in front is the same taxpayer.
    std::array<char, 16> codice;
    codice.fill(' ');
    const std::string_view cf = senzaSpazi(v.campo(Campo::codicefiscale));
    std::memcpy(codice.data(), cf.data(), cf.size());
    const std::string_view c(codice.data(), codice.size());
    k.parole[0] = parola(c.substr(0, 8));
    k.parole[1] = parola(c.substr(8, 8));
    // Year, month and day of payment lie side by side, eight characters.
    static_assert(posizione(Campo::annoversamento).inizio + 8 ==
                  posizione(Campo::codicefiscale).inizio);
    k.parole[2] = parola(v.byte().substr(posizione(Campo::annoversamento).inizio, 8));
    k.parole[3] = parola(v.campo(Campo::annoimposta)) | (v.violazione() ? 1ULL << 32 : 0);
    const SommaEsatta totale = importo(v.campo(Campo::totale));
    k.parole[4] = static_cast<std::uint64_t>(totale.interi());
    k.parole[5] = static_cast<std::uint64_t>(totale.frazione());
    return k;
}

std::uint64_t improntaDuplicato(const ChiaveDuplicato& k) {
    std::uint64_t h = 0x9E3779B97F4A7C15ULL;
    for (const std::uint64_t w : k.parole) {
        h = mescola(h ^ w) + 0x9E3779B97F4A7C15ULL;
    }
    return h;
}

Esito<CercaDuplicati> CercaDuplicati::per(const ArchivioLavoro& archivio, std::uint64_t versamenti,
                                          std::size_t parti, Impronta impronta) {
    if (versamenti > std::numeric_limits<std::uint32_t>::max()) {
        return Errore{CodiceErrore::Uso, archivio.percorso(), "troppi versamenti da controllare"};
    }
    CercaDuplicati c(archivio, std::max<std::size_t>(parti, 1), impronta);
    // Twelve bytes a slot, a third more slots than payments: 16 bytes a payment,
    // and a lookup rarely walks past the first slots it tries.
    const std::uint64_t posti = versamenti + versamenti / 3 + 1;
    try {
        c.impronte_.assign(posti, 0);
        c.numeri_.assign(posti, 0);
    } catch (const std::bad_alloc&) {
        return erroreDiSistema(archivio.percorso(), ENOMEM);
    }
    return c;
}

void CercaDuplicati::annota(std::size_t parte, const Blocco& blocco) {
    Parte& p = giro_[parte];
    if (p.impronte.empty()) {
        p.primo = blocco.primo();
    }
    for (std::size_t i = 0; i < blocco.size(); ++i) {
        p.impronte.push_back(impronta_(chiaveDuplicato(blocco.versamento(i))));
    }
}

Esito<std::uint32_t> CercaDuplicati::cerca(std::uint32_t numero, std::uint64_t impronta,
                                           std::optional<Versamento>& copia) {
    const std::size_t posti = numeri_.size();
    std::size_t i = impronta % posti;
    for (; numeri_[i] != 0; i = i + 1 == posti ? 0 : i + 1) {
        if (impronte_[i] != impronta) {
            continue;
        }
        // The same fingerprint: the same payment, or two that only share it.
        if (!copia) {
            Esito<Versamento> letto = archivio_->leggirecord(numero);
            if (!letto) {
                return letto.errore();
            }
            copia = *letto;
        }
        const Esito<Versamento> prima = archivio_->leggirecord(numeri_[i]);
        if (!prima) {
            return prima.errore();
        }
        if (chiaveDuplicato(*prima) == chiaveDuplicato(*copia)) {
            return numeri_[i];
        }
    }
    impronte_[i] = impronta;
    numeri_[i] = numero;
    return 0u;
}

EsitoVuoto CercaDuplicati::fineGiro(const Trovato& trovato) {
    const std::size_t posti = numeri_.size();
    for (Parte& p : giro_) {
        for (std::size_t i = 0; i < p.impronte.size(); ++i) {
            // The table is far larger than the cache and its slots are met at
            // random: the slots of the lookups a few payments ahead are fetched
            // meanwhile.
            if (i + kAvanti < p.impronte.size()) {
                const std::size_t poi = p.impronte[i + kAvanti] % posti;
                __builtin_prefetch(&impronte_[poi]);
                __builtin_prefetch(&numeri_[poi]);
            }
            const auto numero = static_cast<std::uint32_t>(p.primo + i);
            std::optional<Versamento> copia;
            const Esito<std::uint32_t> originale = cerca(numero, p.impronte[i], copia);
            if (!originale) {
                return originale.errore();
            }
            if (*originale != 0) {
                if (EsitoVuoto e = trovato({numero, *originale}, *copia); !e) {
                    return e;
                }
            }
        }
        p.impronte.clear();
    }
    return Nulla{};
}

}  // namespace pliventa
