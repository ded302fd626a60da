// One payment of a work file shown as the main window shows it: the record read
// by number (leggirecord) and turned into the texts of the boxes (mostrarecord),
// at the first, middle and last record and at a few spread between. Usage:
//   record_bench WORKFILE
// For each position prints "n cold_ms warm_ms" on stdout: cold with the file's
// pages out of the page cache (all caches dropped when run as root, else the
// file's pages let go with posix_fadvise), warm the median of repeated displays.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "records/archivio.h"
#include "records/visualizzazione.h"

namespace {

using namespace pliventa;
using Orologio = std::chrono::steady_clock;

constexpr int kRipetizioni = 2001;

/// Puts the file's pages out of the page cache: for root all clean caches go
/// (what a reboot leaves), otherwise the kernel lets go of this file's pages.
void svuotaCache(const std::string& percorso) {
    ::sync();
    if (::geteuid() == 0) {
        if (FILE* f = std::fopen("/proc/sys/vm/drop_caches", "w")) {
            std::fputs("3\n", f);
            std::fclose(f);
            return;
        }
    }
    const int fd = ::open(percorso.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

/// Milliseconds of one display of record `n`; a negative value when it failed.
double mostra(const ArchivioLavoro& archivio, double n, std::size_t& caratteri) {
    const auto inizio = Orologio::now();
    const Esito<Versamento> v = archivio.leggirecord(n);
    if (!v) {
        return -1;
    }
    const Schermata s =
        mostrarecord(*v, n, "E", LetturaAtto::lunga, FormaNumero::conPrefisso, Separatori{});
    const auto fine = Orologio::now();
    caratteri += s.numero.size() + s.testo(Voce::codiceFiscale).size();
    return std::chrono::duration<double, std::milli>(fine - inizio).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("uso: record_bench WORKFILE\n", stderr);
        return 2;
    }
    const std::string percorso = argv[1];
    Esito<ArchivioLavoro> archivio = ArchivioLavoro::apriarchivio(percorso);
    if (!archivio) {
        std::fprintf(stderr, "%s\n", archivio.errore().descrizione().c_str());
        return 1;
    }
    const Esito<double> quanti = archivio->numerorecord();
    if (!quanti || *quanti < 1) {
        std::fputs("file di lavoro vuoto o illeggibile\n", stderr);
        return 1;
    }
    const double ultimo = *quanti;
    const std::vector<double> posizioni = {
        1, std::max(1.0, std::floor(ultimo * 0.1)), std::max(1.0, std::floor(ultimo / 2)),
        std::max(1.0, std::floor(ultimo * 0.9)), std::floor(ultimo)};
    std::size_t caratteri = 0;
    for (const double n : posizioni) {
        svuotaCache(percorso);
        const double freddo = mostra(*archivio, n, caratteri);
        std::vector<double> caldi;
        caldi.reserve(kRipetizioni);
        for (int i = 0; i < kRipetizioni; ++i) {
            caldi.push_back(mostra(*archivio, n, caratteri));
        }
        std::nth_element(caldi.begin(), caldi.begin() + kRipetizioni / 2, caldi.end());
        const double caldo = caldi[kRipetizioni / 2];
        if (freddo < 0 || caldo < 0) {
            std::fprintf(stderr, "record %.0f illeggibile\n", n);
            return 1;
        }
        std::printf("%.0f %.4f %.4f\n", n, freddo, caldo);
    }
    std::fprintf(stderr, "%zu caratteri mostrati\n", caratteri);
    return 0;
}
