#include "importers/scrittore.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "base/sistema.h"
#include "records/versamento.h"

namespace pliventa {

namespace {

constexpr std::size_t kLarghezza = Versamento::kLarghezzaDati;
constexpr std::size_t kRecord = Versamento::kLunghezzaRecord;

/// Writes all of `n` bytes, going on after short writes and interruptions.
/// Returns 0, or the errno of the failure.
int scriviTutto(int fd, const char* p, std::size_t n) {
    return scriviDescrittore(fd, p, n) ? 0 : errno;
}

}  // namespace

/// The writing thread of the output, started at the first full buffer
/// (an import that fits one buffer never starts it). One buffer at a time is
/// handed over; the first failure is kept and later buffers are dropped.
struct ScrittoreArchivio::Scrittura {
    int fd = -1;  ///< owned by the Sostituzione
    std::atomic<int> errore{0};
    std::mutex m;
    std::condition_variable cv;
    const char* dati = nullptr;
    std::size_t n = 0;
    bool occupato = false;  ///< a buffer is handed over and not yet written
    bool fine = false;
    bool senzaFilo = false;
    std::thread filo;

    void esegui() {
        std::unique_lock<std::mutex> lk(m);
        for (;;) {
            cv.wait(lk, [&] { return occupato || fine; });
            if (!occupato) {
                return;
            }
            const char* p = dati;
            const std::size_t k = n;
            lk.unlock();
            const int e = errore.load() == 0 ? scriviTutto(fd, p, k) : 0;
            lk.lock();
            if (e != 0) {
                errore.store(e);
            }
            occupato = false;
            cv.notify_all();
        }
    }

    /// Waits until the buffer handed over last is written.
    void aspetta() {
        std::unique_lock<std::mutex> lk(m);
        cv.wait(lk, [&] { return !occupato; });
    }

    /// Hands `k` bytes at `p` over to the thread; they must stay put until aspetta().
    void consegna(const char* p, std::size_t k) {
        if (!filo.joinable() && !senzaFilo) {
            try {
                filo = std::thread([this] { esegui(); });
            } catch (const std::system_error&) {
                senzaFilo = true;  // no thread to be had: write here and now
            }
        }
        if (senzaFilo) {
            if (errore.load() == 0) {
                errore.store(scriviTutto(fd, p, k));
            }
            return;
        }
        aspetta();
        std::lock_guard<std::mutex> lk(m);
        dati = p;
        n = k;
        occupato = true;
        cv.notify_all();
    }

    /// Waits for the writes handed over and ends the thread.
    void ferma() {
        if (filo.joinable()) {
            aspetta();
            {
                std::lock_guard<std::mutex> lk(m);
                fine = true;
                cv.notify_all();
            }
            filo.join();
        }
    }

    ~Scrittura() { ferma(); }
};

Esito<ScrittoreArchivio> ScrittoreArchivio::apri(const std::string& percorso) {
    Esito<Sostituzione> sostituzione = Sostituzione::prepara(percorso);
    if (!sostituzione) {
        return sostituzione.errore();
    }
    return ScrittoreArchivio(std::move(*sostituzione));
}

ScrittoreArchivio::ScrittoreArchivio(Sostituzione sostituzione)
    : sostituzione_(std::move(sostituzione)),
      scrittura_(std::make_unique<Scrittura>()),
      buffer_{std::make_unique_for_overwrite<char[]>(kBuffer),
              std::make_unique_for_overwrite<char[]>(kBuffer)} {
    scrittura_->fd = sostituzione_.fd();
}

ScrittoreArchivio::ScrittoreArchivio(ScrittoreArchivio&& altro) noexcept
    : sostituzione_(std::move(altro.sostituzione_)),
      scrittura_(std::move(altro.scrittura_)),
      buffer_{std::move(altro.buffer_[0]), std::move(altro.buffer_[1])},
      corrente_(altro.corrente_),
      usato_(altro.usato_),
      righe_(altro.righe_),
      completate_(altro.completate_),
      troncate_(altro.troncate_) {}

ScrittoreArchivio::~ScrittoreArchivio() {
    scarta();
}

bool ScrittoreArchivio::fallito() const {
    return scrittura_->errore.load() != 0;
}

void ScrittoreArchivio::scarta() {
    scrittura_.reset();  // waits for the thread
    sostituzione_.scarta();
}

void ScrittoreArchivio::svuota() {
    if (usato_ > 0) {
        scrittura_->consegna(buffer_[corrente_].get(), usato_);
        corrente_ = 1 - corrente_;
        usato_ = 0;
    }
}

void ScrittoreArchivio::scrivi(std::string_view riga) {
    if (usato_ + kRecord > kBuffer) {
        svuota();
    }
    char* p = buffer_[corrente_].get() + usato_;
    const std::size_t n = std::min(riga.size(), kLarghezza);
    if (n > 0) {
        std::memcpy(p, riga.data(), n);
    }
    if (n < kLarghezza) {
        std::memset(p + n, ' ', kLarghezza - n);
        ++completate_;
    } else if (riga.size() > kLarghezza) {
        ++troncate_;
    }
    p[kLarghezza] = '\r';
    p[kLarghezza + 1] = '\n';
    usato_ += kRecord;
    ++righe_;
}

EsitoVuoto ScrittoreArchivio::chiudi() {
    if (!scrittura_ || sostituzione_.fd() < 0) {
        return erroreDiSistema(sostituzione_.percorso(), EBADF);  // closed already
    }
    Scrittura& s = *scrittura_;
    s.ferma();
    int errore = s.errore.load();
    if (errore == 0 && usato_ > 0) {
        errore = scriviTutto(s.fd, buffer_[corrente_].get(), usato_);
        usato_ = 0;
    }
    if (errore != 0) {
        scarta();
        return erroreDiSistema(sostituzione_.percorso(), errore);
    }
    EsitoVuoto fatto = sostituzione_.completa();
    if (!fatto) {
        scarta();
    }
    return fatto;
}

}  // namespace pliventa
