#include "importers/lettore.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

#include "base/file.h"

namespace pliventa {

namespace {

constexpr std::size_t kIgnota = std::numeric_limits<std::size_t>::max();

// How long a wait for the input lasts before the cancel is looked at again.
constexpr int kAttesaMs = 100;

}  // namespace

Esito<LettoreRighe> LettoreRighe::apri(const std::string& percorso, std::size_t blocco) {
    // A directory is refused here, before the caller touches its output.
    const Esito<int> aperto = apriInLettura(percorso);
    if (!aperto) {
        return aperto.errore();
    }
    const int fd = *aperto;
    letturaSequenziale(fd);
    StatoFile st;
    const bool regolare = statoDescrittore(fd, st) && st.tipo == TipoFile::Regolare;
    return LettoreRighe(fd, percorso, std::max<std::size_t>(blocco, 1), !regolare);
}

LettoreRighe::LettoreRighe(int fd, std::string percorso, std::size_t blocco, bool attende)
    : fd_(fd),
      percorso_(std::move(percorso)),
      blocco_(blocco),
      attende_(attende),
      buffer_(new char[blocco]),
      prossimoLF_(kIgnota),
      prossimoCR_(kIgnota) {
    parziale_.reserve(Riga::kMaxRiga);
}

LettoreRighe::LettoreRighe(LettoreRighe&& altro) noexcept
    : fd_(std::exchange(altro.fd_, -1)),
      percorso_(std::move(altro.percorso_)),
      blocco_(altro.blocco_),
      massimo_(altro.massimo_),
      attende_(altro.attende_),
      annulla_(altro.annulla_),
      buffer_(std::move(altro.buffer_)),
      pos_(altro.pos_),
      fine_(altro.fine_),
      prossimoLF_(altro.prossimoLF_),
      prossimoCR_(altro.prossimoCR_),
      eof_(altro.eof_),
      saltaLF_(altro.saltaLF_),
      parziale_(std::move(altro.parziale_)),
      lunghezzaParziale_(altro.lunghezzaParziale_),
      inParziale_(altro.inParziale_) {}

LettoreRighe& LettoreRighe::operator=(LettoreRighe&& altro) noexcept {
    if (this != &altro) {
        if (fd_ >= 0) {
            (void)chiudiDescrittore(fd_);
        }
        fd_ = std::exchange(altro.fd_, -1);
        percorso_ = std::move(altro.percorso_);
        blocco_ = altro.blocco_;
        massimo_ = altro.massimo_;
        attende_ = altro.attende_;
        annulla_ = altro.annulla_;
        buffer_ = std::move(altro.buffer_);
        pos_ = altro.pos_;
        fine_ = altro.fine_;
        prossimoLF_ = altro.prossimoLF_;
        prossimoCR_ = altro.prossimoCR_;
        eof_ = altro.eof_;
        saltaLF_ = altro.saltaLF_;
        parziale_ = std::move(altro.parziale_);
        lunghezzaParziale_ = altro.lunghezzaParziale_;
        inParziale_ = altro.inParziale_;
    }
    return *this;
}

LettoreRighe::~LettoreRighe() {
    if (fd_ >= 0) {
        (void)chiudiDescrittore(fd_);
    }
}

Esito<bool> LettoreRighe::attendi() {
    for (;;) {
        const int pronti = attendiDati(fd_, kAttesaMs);
        if (annulla_ != nullptr && annulla_->load()) {
            return Errore{CodiceErrore::Annullato, percorso_, "lettura annullata"};
        }
        if (pronti > 0) {
            return true;  // data, or the writer gone: the read tells which
        }
        if (pronti < 0) {
            return erroreDiSistema(percorso_, errno);
        }
    }
}

Esito<bool> LettoreRighe::riempi() {
    for (;;) {
        // A FIFO is read only once poll() says so: before its first writer comes,
        // a read would find the end of the input at once.
        if (attende_) {
            const Esito<bool> pronto = attendi();
            if (!pronto) {
                return pronto.errore();
            }
        }
        const long long n = leggiDescrittore(fd_, buffer_.get(), blocco_);
        if (n < 0 && errno == EAGAIN) {
            continue;
        }
        if (n < 0) {
            return erroreDiSistema(percorso_, errno);
        }
        pos_ = 0;
        fine_ = static_cast<std::size_t>(n);
        prossimoLF_ = kIgnota;
        prossimoCR_ = kIgnota;
        return n > 0;
    }
}

void LettoreRighe::accumula(const char* p, std::size_t n) {
    if (!inParziale_) {
        parziale_.clear();
        lunghezzaParziale_ = 0;
        inParziale_ = true;
    }
    const std::size_t posto = massimo_ > parziale_.size() ? massimo_ - parziale_.size() : 0;
    parziale_.append(p, std::min(n, posto));
    lunghezzaParziale_ += n;
}

std::size_t LettoreRighe::cercaFineRiga() {
    // The next LF and CR are remembered, so that a file whose lines end with one
    // of them only is not searched to the end of the block for the other at every
    // line.
    const char* inizio = buffer_.get() + pos_;
    const std::size_t resto = fine_ - pos_;
    const auto cerca = [&](std::size_t& prossimo, char c) {
        if (prossimo == kIgnota || prossimo < pos_) {
            const void* p = std::memchr(inizio, c, resto);
            prossimo =
                p ? static_cast<std::size_t>(static_cast<const char*>(p) - buffer_.get()) : fine_;
        }
    };
    cerca(prossimoLF_, '\n');
    cerca(prossimoCR_, '\r');
    return std::min(prossimoLF_, prossimoCR_);
}

bool LettoreRighe::consegnaParziale(Riga& riga) {
    if (!inParziale_) {
        return false;
    }
    inParziale_ = false;
    riga.testo = parziale_;
    riga.lunghezza = lunghezzaParziale_;
    return true;
}

Esito<bool> LettoreRighe::prossima(Riga& riga) {
    for (;;) {
        if (pos_ == fine_) {
            if (eof_) {
                // The last line of the file may have no line end.
                return consegnaParziale(riga);
            }
            auto letto = riempi();
            if (!letto.ok()) {
                return letto.errore();
            }
            eof_ = !*letto;
            continue;
        }
        if (saltaLF_) {
            saltaLF_ = false;
            if (buffer_[pos_] == '\n') {
                ++pos_;
                continue;
            }
        }
        const char* inizio = buffer_.get() + pos_;
        const std::size_t fineRiga = cercaFineRiga();
        const std::size_t n = fineRiga - pos_;
        if (fineRiga == fine_) {
            accumula(inizio, n);  // the line goes on in the next block
            pos_ = fine_;
            continue;
        }
        if (inParziale_) {
            accumula(inizio, n);
            consegnaParziale(riga);
        } else {
            riga.testo = std::string_view(inizio, std::min(n, massimo_));
            riga.lunghezza = n;
        }
        saltaLF_ = buffer_[fineRiga] == '\r';
        pos_ = fineRiga + 1;
        return true;
    }
}

}  // namespace pliventa
