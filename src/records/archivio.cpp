#include "records/archivio.h"

#include <cerrno>
#include <cmath>
#include <utility>

#include "base/file.h"

namespace pliventa {

Esito<ArchivioLavoro> ArchivioLavoro::apriarchivio(const std::string& percorso) {
    const Esito<int> fd = apriInLettura(percorso);
    if (!fd) {
        return fd.errore();
    }
    StatoFile st;
    if (!statoDescrittore(*fd, st)) {
        const int e = errno;
        (void)chiudiDescrittore(*fd);
        return erroreDiSistema(percorso, e);
    }
    if (st.tipo != TipoFile::Regolare) {
        (void)chiudiDescrittore(*fd);
        return Errore{CodiceErrore::InputOutput, percorso,
                      "non è un file regolare: un file di lavoro si legge per numero di record"};
    }
    return ArchivioLavoro(*fd, percorso, st.identita);
}

Esito<IdentitaFile> ArchivioLavoro::identitaSulDisco() const {
    StatoFile st;
    if (!statoPercorso(percorso_, st)) {
        return erroreDiSistema(percorso_, errno);
    }
    return st.identita;
}

ArchivioLavoro::ArchivioLavoro(ArchivioLavoro&& altro) noexcept
    : fd_(std::exchange(altro.fd_, -1)),
      percorso_(std::move(altro.percorso_)),
      identita_(altro.identita_) {}

ArchivioLavoro& ArchivioLavoro::operator=(ArchivioLavoro&& altro) noexcept {
    if (this != &altro) {
        if (fd_ >= 0) {
            (void)chiudiDescrittore(fd_);
        }
        fd_ = std::exchange(altro.fd_, -1);
        percorso_ = std::move(altro.percorso_);
        identita_ = altro.identita_;
    }
    return *this;
}

ArchivioLavoro::~ArchivioLavoro() {
    if (fd_ >= 0) {
        (void)chiudiDescrittore(fd_);
    }
}

Esito<std::uint64_t> ArchivioLavoro::lunghezza() const {
    StatoFile st;
    if (!statoDescrittore(fd_, st)) {
        return erroreDiSistema(percorso_, errno);
    }
    return st.identita.lunghezza;
}

Esito<double> ArchivioLavoro::numerorecord() const {
    const Esito<std::uint64_t> byte = lunghezza();
    if (!byte) {
        return byte.errore();
    }
    return static_cast<double>(*byte) / static_cast<double>(Versamento::kLunghezzaRecord);
}

Esito<Versamento> ArchivioLavoro::leggirecord(double n) const {
    // The default floating-point rounding mode rounds halves to the even neighbour.
    const double numero = std::nearbyint(n);
    if (!(numero >= 1) || numero > 9.0e15) {
        return Errore{CodiceErrore::RecordInesistente, percorso_, "record inesistente"};
    }
    const auto indice = static_cast<std::uint64_t>(numero) - 1;
    char buffer[Versamento::kLunghezzaRecord];
    const long long letti =
        leggiDallaPosizione(fd_, buffer, sizeof buffer, indice * Versamento::kLunghezzaRecord);
    if (letti < 0) {
        return erroreDiSistema(percorso_, errno);
    }
    if (letti == 0) {
        return Errore{CodiceErrore::RecordInesistente, percorso_, "record inesistente"};
    }
    return Versamento::daByte(std::string_view(buffer, static_cast<std::size_t>(letti)));
}

Esito<std::size_t> ArchivioLavoro::leggiblocco(std::uint64_t primo, std::size_t quanti,
                                               std::string& buffer) const {
    if (primo < 1) {
        return Errore{CodiceErrore::RecordInesistente, percorso_, "record inesistente"};
    }
    buffer.resize(quanti * Versamento::kLunghezzaRecord);
    const long long letti = leggiDallaPosizione(fd_, buffer.data(), buffer.size(),
                                                (primo - 1) * Versamento::kLunghezzaRecord);
    if (letti < 0) {
        return erroreDiSistema(percorso_, errno);
    }
    const std::size_t interi = static_cast<std::size_t>(letti) / Versamento::kLunghezzaRecord;
    buffer.resize(interi * Versamento::kLunghezzaRecord);
    return interi;
}

}  // namespace pliventa
