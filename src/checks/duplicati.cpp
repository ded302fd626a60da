#include "checks/duplicati.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <limits>
#include <new>
#include <thread>

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
constexpr std::size_t kAvanti = 16;

// The slot a fingerprint starts from: the high half of `impronta` × `posti`, which
// spreads the fingerprints over the table without a division.
__extension__ typedef unsigned __int128 Doppio;
std::size_t primoPosto(std::uint64_t impronta, std::size_t posti) {
    return static_cast<std::size_t>((static_cast<Doppio>(impronta) * posti) >> 64);
}

std::uint64_t parola(std::string_view byte) {
    std::uint64_t w = 0;
    std::memcpy(&w, byte.data(), std::min(byte.size(), sizeof w));
    return w;
}

}  // namespace

ChiaveDuplicato chiaveDuplicato(const Versamento& v) {
    return chiaveDuplicato(v.byte());
}

ChiaveDuplicato chiaveDuplicato(std::string_view record) {
    const auto campo = [record](Campo c) {
        const Posizione p = posizione(c);
        return record.substr(p.inizio, p.larghezza);
    };
    ChiaveDuplicato k;
    // The codice fiscale left-aligned in 16 blanks: a code the agent wrote with a
    // blank in front is the same taxpayer.
    std::array<char, 16> codice;
    codice.fill(' ');
    const std::string_view cf = senzaSpazi(campo(Campo::codicefiscale));
    // std::copy, not memcpy: a blank field gives an empty view whose data may be null.
    std::copy(cf.begin(), cf.end(), codice.begin());
    const std::string_view c(codice.data(), codice.size());
    k.parole[0] = parola(c.substr(0, 8));
    k.parole[1] = parola(c.substr(8, 8));
    // Year, month and day of payment lie side by side, eight characters.
    static_assert(posizione(Campo::annoversamento).inizio + 8 ==
                  posizione(Campo::codicefiscale).inizio);
    k.parole[2] = parola(record.substr(posizione(Campo::annoversamento).inizio, 8));
    // Column 26 holds "6" for a payment on a violation notice, as
    // Versamento::violazione() reads it.
    k.parole[3] = parola(campo(Campo::annoimposta)) | (record[25] == '6' ? 1ULL << 32 : 0);
    const SommaEsatta totale = importo(campo(Campo::totale));
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
        c.posti_.assign(posti, Posto{});
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
        p.impronte.push_back(impronta_(chiaveDuplicato(blocco.record(i))));
    }
}

Esito<std::uint32_t> CercaDuplicati::cerca(std::uint32_t numero, std::uint64_t impronta,
                                           std::size_t primo, std::optional<Versamento>& copia) {
    const std::size_t posti = posti_.size();
    for (std::size_t i = primo;; i = i + 1 == posti ? 0 : i + 1) {
        Posto& posto = posti_[i];
        std::atomic_ref<std::uint32_t> occupante(posto.numero);
        std::uint32_t altro = occupante.load(std::memory_order_acquire);
        if (altro == 0) {
            if (occupante.compare_exchange_strong(altro, numero, std::memory_order_acq_rel)) {
                std::atomic_ref<std::uint32_t>(posto.basso)
                    .store(static_cast<std::uint32_t>(impronta), std::memory_order_relaxed);
                std::atomic_ref<std::uint32_t>(posto.alto)
                    .store(static_cast<std::uint32_t>(impronta >> 32), std::memory_order_relaxed);
                return 0u;
            }
            // Another thread took the slot first, for a fingerprint of its own share.
        }
        // A slot of another thread may not show its fingerprint yet; then it only
        // looks like another fingerprint, and it is: equal ones are never split.
        const std::uint64_t suo =
            (std::uint64_t{
                 std::atomic_ref<std::uint32_t>(posto.alto).load(std::memory_order_relaxed)}
             << 32) |
            std::atomic_ref<std::uint32_t>(posto.basso).load(std::memory_order_relaxed);
        if (suo != impronta) {
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
        const Esito<Versamento> prima = archivio_->leggirecord(altro);
        if (!prima) {
            return prima.errore();
        }
        if (chiaveDuplicato(*prima) == chiaveDuplicato(*copia)) {
            return altro;
        }
    }
}

CercaDuplicati::Trovati CercaDuplicati::cercaQuota(std::size_t quota, std::size_t quote) {
    const std::size_t posti = posti_.size();
    // This thread's share of the table: a fingerprint is its own when the first
    // slot it tries lies here, so equal fingerprints always fall to one thread.
    const std::size_t inizio = posti * quota / quote;
    const std::size_t fine = posti * (quota + 1) / quote;
    Trovati t;
    // The table is far larger than the cache and its slots are met at random: the
    // slots of the next kAvanti lookups of this share are fetched while the oldest
    // is made, and the lookups are made in the order they were met, record order.
    struct Attesa {
        std::uint32_t numero = 0;
        std::uint64_t impronta = 0;
        std::size_t posto = 0;
    };
    std::array<Attesa, kAvanti> coda;
    std::size_t testa = 0;
    std::size_t inCoda = 0;
    std::optional<Versamento> copia;
    const auto guarda = [&](const Attesa& a) {
        copia.reset();
        const Esito<std::uint32_t> originale = cerca(a.numero, a.impronta, a.posto, copia);
        if (!originale) {
            t.errore.emplace(a.numero, originale.errore());
            return false;
        }
        if (*originale != 0) {
            t.duplicati.emplace_back(Duplicato{a.numero, *originale}, *copia);
        }
        return true;
    };
    for (const Parte& p : giro_) {
        for (std::size_t i = 0; i < p.impronte.size(); ++i) {
            const std::size_t posto = primoPosto(p.impronte[i], posti);
            if (posto < inizio || posto >= fine) {
                continue;
            }
            __builtin_prefetch(&posti_[posto]);
            const Attesa nuova{static_cast<std::uint32_t>(p.primo + i), p.impronte[i], posto};
            if (inCoda < kAvanti) {
                coda[(testa + inCoda++) % kAvanti] = nuova;
                continue;
            }
            if (!guarda(coda[testa])) {
                return t;
            }
            coda[testa] = nuova;
            testa = (testa + 1) % kAvanti;
        }
    }
    for (; inCoda > 0; --inCoda, testa = (testa + 1) % kAvanti) {
        if (!guarda(coda[testa])) {
            return t;
        }
    }
    return t;
}

EsitoVuoto CercaDuplicati::fineGiro(const Trovato& trovato) {
    // A thread a part; each takes the fingerprints whose first slots lie in its
    // share of the table, so the threads meet only where their shares border.
    const std::size_t quote = giro_.size();
    std::vector<Trovati> trovati(quote);
    const auto cercaDi = [this, quote, &trovati](std::size_t q) {
        try {
            trovati[q] = cercaQuota(q, quote);
        } catch (const std::bad_alloc&) {
            // Thrown on a thread of ours it would end the program; before every
            // record, so that nothing of the round is told.
            trovati[q].errore.emplace(0, erroreDiSistema(archivio_->percorso(), ENOMEM));
        }
    };
    try {
        std::vector<std::jthread> fili;
        fili.reserve(quote - 1);
        for (std::size_t q = 1; q < quote; ++q) {
            fili.emplace_back(cercaDi, q);
        }
        cercaDi(0);
    } catch (const std::bad_alloc&) {
        return erroreDiSistema(archivio_->percorso(), ENOMEM);
    }
    // Told in record order, up to the first record whose lookup failed: what one
    // thread looking them all up in turn would tell.
    std::uint32_t fine = std::numeric_limits<std::uint32_t>::max();
    const Errore* errore = nullptr;
    std::vector<std::pair<Duplicato, Versamento>> tutti;
    for (Trovati& t : trovati) {
        if (t.errore && t.errore->first < fine) {
            fine = t.errore->first;
            errore = &t.errore->second;
        }
        std::move(t.duplicati.begin(), t.duplicati.end(), std::back_inserter(tutti));
    }
    std::sort(tutti.begin(), tutti.end(),
              [](const auto& x, const auto& y) { return x.first.numero < y.first.numero; });
    for (const auto& [duplicato, copia] : tutti) {
        if (duplicato.numero >= fine) {
            break;
        }
        if (EsitoVuoto e = trovato(duplicato, copia); !e) {
            return e;
        }
    }
    if (errore != nullptr) {
        return *errore;
    }
    for (Parte& p : giro_) {
        p.impronte.clear();
    }
    return Nulla{};
}

}  // namespace pliventa
