#include "browse/ordine_cf.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <string_view>
#include <vector>

#include "records/scansione.h"
#include "records/versamento.h"

namespace pliventa {

namespace {

// A code is sixteen bytes: as two big-endian 64-bit words they compare as the
// bytes do, and complemented they compare the other way round. Rows are spread
// over 65,536 buckets by two bytes of the code at a time: by the first two, and
// a bucket that does not fit in the room by the next two among its rows, and so
// on down to the last two, where a bucket's codes are all the same code.
struct Chiave {
    std::uint64_t alta = 0;
    std::uint64_t bassa = 0;
};

constexpr unsigned kLivelli = 8;
constexpr std::size_t kSecchi = 1U << 16;

std::uint64_t grandeFine(const char* p) {
    std::uint64_t w = 0;
    std::memcpy(&w, p, sizeof w);
    if constexpr (std::endian::native == std::endian::little) {
        w = __builtin_bswap64(w);
    }
    return w;
}

Chiave chiaveDi(std::string_view record, std::size_t inizio, bool discendente) {
    Chiave c{grandeFine(record.data() + inizio), grandeFine(record.data() + inizio + 8)};
    if (discendente) {
        c = {~c.alta, ~c.bassa};
    }
    return c;
}

/// The two bytes of level `l` (0 the first two).
std::size_t secchio(const Chiave& c, unsigned l) {
    const std::uint64_t w = l < 4 ? c.alta : c.bassa;
    return static_cast<std::size_t>((w >> (48 - 16 * (l % 4))) & 0xFFFF);
}

/// Whether `c` begins with the 2 * `l` bytes of `p` (`l` below kLivelli).
bool stessoInizio(const Chiave& c, const Chiave& p, unsigned l) {
    if (l == 0) {
        return true;
    }
    if (l <= 4) {
        return ((c.alta ^ p.alta) >> (64 - 16 * l)) == 0;
    }
    return c.alta == p.alta && ((c.bassa ^ p.bassa) >> (128 - 16 * l)) == 0;
}

/// `p`, which fixes the bytes before level `l`, with bucket `s` of that level.
Chiave conSecchio(Chiave p, unsigned l, std::size_t s) {
    std::uint64_t& w = l < 4 ? p.alta : p.bassa;
    w |= static_cast<std::uint64_t>(s) << (48 - 16 * (l % 4));
    return p;
}

/// A row while its batch is sorted: its code's words, then its number.
struct Voce {
    std::array<std::uint32_t, 5> w;
    bool operator<(const Voce& o) const { return w < o.w; }
};
static_assert(sizeof(Voce) == 20 && alignof(Voce) == alignof(std::uint32_t));

Voce voce(const Chiave& c, std::uint64_t numero) {
    return {{static_cast<std::uint32_t>(c.alta >> 32), static_cast<std::uint32_t>(c.alta),
             static_cast<std::uint32_t>(c.bassa >> 32), static_cast<std::uint32_t>(c.bassa),
             static_cast<std::uint32_t>(numero)}};
}

/// The progress of several passes as one: pass k of about `passi`.
class Tappe {
public:
    Tappe(const Controllo& fuori, std::uint64_t passi) : fuori_(fuori), passi_(passi) {
        dentro_.annulla = fuori.annulla;
    }
    const Controllo& prossima() {
        dentro_.progresso = [this, k = fatte_++](std::uint64_t f, std::uint64_t t) {
            fuori_.avanza(k * t + f, std::max(passi_, k + 1) * t);
        };
        return dentro_;
    }

private:
    const Controllo& fuori_;
    Controllo dentro_;
    std::uint64_t passi_;
    std::uint64_t fatte_ = 0;
};

class OrdineCodici {
public:
    OrdineCodici(const ArchivioLavoro& archivio, const InsiemeRighe& righe, SpazioRighe& spazio,
                 bool discendente, const Controllo& controllo, std::size_t parti)
        : archivio_(archivio),
          righe_(righe),
          spazio_(spazio),
          byte_(static_cast<unsigned char*>(spazio.dati())),
          discendente_(discendente),
          parti_(parti),
          inizioCf_(posizione(Campo::codicefiscale).inizio),
          tappe_(controllo, passiStimati()) {}

    EsitoVuoto ordina() { return gruppo(Chiave{}, 0, righe_.size()); }

private:
    /// Rows that fit in the room left after the `scritte_` already in order.
    std::uint64_t capienza() const { return (spazio_.byte() - 4 * scritte_) / sizeof(Voce); }

    /// Passes over the file when no bucket is too large: one to count, and one
    /// for each batch the room takes.
    std::uint64_t passiStimati() const {
        std::uint64_t passi = 1;
        for (std::uint64_t fatte = 0; fatte < righe_.size(); ++passi) {
            fatte += std::max<std::uint64_t>(1, (spazio_.byte() - 4 * fatte) / sizeof(Voce));
        }
        return passi;
    }

    /// Calls f(part, number, key) for each row of the file whose code begins
    /// with the first 2 * `l` bytes of `p`, in one pass.
    template <typename F>
    EsitoVuoto perOgniRiga(const Chiave& p, unsigned l, F&& f) {
        const Esito<Lettura> letti = parallelo(
            archivio_, tappe_.prossima(), parti_, [&](std::size_t k, const Blocco& blocco) {
                for (std::size_t i = 0; i < blocco.size(); ++i) {
                    const std::uint64_t n = blocco.numero(i);
                    if (!righe_.contiene(n)) {
                        continue;
                    }
                    const Chiave c = chiaveDi(blocco.record(i), inizioCf_, discendente_);
                    if (stessoInizio(c, p, l) && !f(k, n, c)) {
                        return EsitoVuoto(cambiato(archivio_));
                    }
                }
                return EsitoVuoto(Nulla{});
            });
        if (!letti) {
            return letti.errore();
        }
        return Nulla{};
    }

    /// Orders the `quante` rows whose codes begin with the bytes of `p` before
    /// level `l`, after those already in order.
    EsitoVuoto gruppo(const Chiave& p, unsigned l, std::uint64_t quante) {
        // How many rows of each part fall in each bucket.
        std::vector<std::uint32_t> conti(parti_ * kSecchi, 0);
        if (EsitoVuoto e = perOgniRiga(p, l,
                                       [&](std::size_t k, std::uint64_t, const Chiave& c) {
                                           ++conti[k * kSecchi + secchio(c, l)];
                                           return true;
                                       });
            !e) {
            return e;
        }
        std::vector<std::uint64_t> totali(kSecchi, 0);
        for (std::size_t k = 0; k < parti_; ++k) {
            for (std::size_t s = 0; s < kSecchi; ++s) {
                totali[s] += conti[k * kSecchi + s];
            }
        }
        if (std::accumulate(totali.begin(), totali.end(), std::uint64_t{0}) != quante) {
            return cambiato(archivio_);
        }
        for (std::size_t s = 0; s < kSecchi;) {
            if (totali[s] == 0) {
                ++s;
                continue;
            }
            const std::uint64_t capienza = this->capienza();
            EsitoVuoto esito = Nulla{};
            if (totali[s] > capienza) {
                esito = l + 1 == kLivelli ? uguali(p, conti, s)
                                          : gruppo(conSecchio(p, l, s), l + 1, totali[s]);
                ++s;
            } else {
                std::size_t fine = s;
                std::uint64_t somma = 0;
                while (fine < kSecchi && somma + totali[fine] <= capienza) {
                    somma += totali[fine++];
                }
                esito = lotto(p, l, s, fine, conti);
                s = fine;
            }
            if (!esito) {
                return esito;
            }
        }
        return Nulla{};
    }

    /// Hands each row of buckets [da, a) of level `l`, among those that begin
    /// with `p`, to metti(i, number, key), where `i` is its place among them: the
    /// rows of each bucket after those of the buckets before it, and in each
    /// bucket each part's rows in a stretch of their own. Returns where each
    /// bucket's rows begin, and their count last.
    template <typename F>
    Esito<std::vector<std::uint64_t>> leggiSecchi(const Chiave& p, unsigned l, std::size_t da,
                                                  std::size_t a,
                                                  const std::vector<std::uint32_t>& conti,
                                                  F&& metti) {
        const std::size_t larghi = a - da;
        std::vector<std::uint64_t> posto(parti_ * larghi), fine(parti_ * larghi);
        std::vector<std::uint64_t> inizio(larghi + 1, 0);
        std::uint64_t n = 0;
        for (std::size_t s = da; s < a; ++s) {
            inizio[s - da] = n;
            for (std::size_t k = 0; k < parti_; ++k) {
                posto[k * larghi + s - da] = n;
                n += conti[k * kSecchi + s];
                fine[k * larghi + s - da] = n;
            }
        }
        inizio[larghi] = n;
        // A part that finds more rows of a bucket than it counted, or fewer, reads
        // codes that changed since: it never writes past its own stretch.
        if (EsitoVuoto e = perOgniRiga(p, l,
                                       [&](std::size_t k, std::uint64_t numero, const Chiave& c) {
                                           const std::size_t s = secchio(c, l);
                                           if (s < da || s >= a) {
                                               return true;
                                           }
                                           std::uint64_t& i = posto[k * larghi + s - da];
                                           if (i == fine[k * larghi + s - da]) {
                                               return false;
                                           }
                                           metti(i++, numero, c);
                                           return true;
                                       });
            !e) {
            return e.errore();
        }
        if (posto != fine) {
            return cambiato(archivio_);
        }
        return inizio;
    }

    /// Orders the rows of buckets [da, a) of level `l` among those that begin
    /// with `p`: their codes are read into the room, each bucket sorted, and
    /// their numbers put after those already in order.
    EsitoVuoto lotto(const Chiave& p, unsigned l, std::size_t da, std::size_t a,
                     const std::vector<std::uint32_t>& conti) {
        auto* voci = reinterpret_cast<Voce*>(byte_ + 4 * scritte_);
        const Esito<std::vector<std::uint64_t>> inizio = leggiSecchi(
            p, l, da, a, conti, [voci](std::uint64_t i, std::uint64_t numero, const Chiave& c) {
                voci[i] = voce(c, numero);
            });
        if (!inizio) {
            return inizio.errore();
        }
        for (std::size_t s = 0; s + 1 < inizio->size(); ++s) {
            std::sort(voci + (*inizio)[s], voci + (*inizio)[s + 1]);
        }
        // Number i goes below row i's place in the room, which it no longer needs,
        // and below the rows still to be read.
        const std::uint64_t n = inizio->back();
        for (std::uint64_t i = 0; i < n; ++i) {
            const std::uint32_t numero = voci[i].w[4];
            std::memcpy(byte_ + 4 * (scritte_ + i), &numero, sizeof numero);
        }
        scritte_ += n;
        return Nulla{};
    }

    /// Puts after those already in order the rows of bucket `s` of the last
    /// level among those that begin with `p`: their codes are all one code, so
    /// their numbers are all it takes, in ascending order.
    EsitoVuoto uguali(const Chiave& p, const std::vector<std::uint32_t>& conti, std::size_t s) {
        std::uint32_t* numeri = spazio_.numeri() + scritte_;
        const Esito<std::vector<std::uint64_t>> inizio =
            leggiSecchi(p, kLivelli - 1, s, s + 1, conti,
                        [numeri](std::uint64_t i, std::uint64_t numero, const Chiave&) {
                            numeri[i] = static_cast<std::uint32_t>(numero);
                        });
        if (!inizio) {
            return inizio.errore();
        }
        std::sort(numeri, numeri + inizio->back());
        scritte_ += inizio->back();
        return Nulla{};
    }

    const ArchivioLavoro& archivio_;
    const InsiemeRighe& righe_;
    SpazioRighe& spazio_;
    unsigned char* byte_;
    bool discendente_;
    std::size_t parti_;
    std::size_t inizioCf_;
    Tappe tappe_;
    std::uint64_t scritte_ = 0;  ///< rows in order at the start of the room
};

}  // namespace

EsitoVuoto ordinaCodici(const ArchivioLavoro& archivio, const InsiemeRighe& righe,
                        SpazioRighe& spazio, bool discendente, const Controllo& controllo,
                        std::size_t parti) {
    OrdineCodici ordine(archivio, righe, spazio, discendente, controllo,
                        std::max<std::size_t>(parti, 1));
    return ordine.ordina();
}

}  // namespace pliventa
