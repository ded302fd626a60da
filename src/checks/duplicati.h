// The payment made twice: the same taxpayer, day, tax year, kind and total as an
// earlier payment of the work file. The office refunds the later one, so the later
// one is reported, with the number of the first. Several files imported into one
// work file are the usual way to meet one: each agent's file is clean on its own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "base/errore.h"
#include "records/archivio.h"
#include "records/scansione.h"
#include "records/versamento.h"

namespace pliventa {

/// A payment that repeats an earlier one.
struct Duplicato {
    std::uint32_t numero = 0;     ///< the later payment, 1-based
    std::uint32_t originale = 0;  ///< the first payment it repeats
    bool operator==(const Duplicato&) const = default;
};

/// What makes two payments the same, spelled one way whatever the layout wrote:
/// the codice fiscale without its blanks, the payment date (fields 2 to 4) and the
/// tax year (field 6) as stored, the kind (ordinary or violation) and the total by
/// its exact value ("00000012345", "      12345" and "12345.0" are one total).
struct ChiaveDuplicato {
    std::array<std::uint64_t, 6> parole{};
    bool operator==(const ChiaveDuplicato&) const = default;
};

ChiaveDuplicato chiaveDuplicato(const Versamento& v);
/// The same from the 202 bytes of a record, as a pass hands them.
ChiaveDuplicato chiaveDuplicato(std::string_view record);

/// A 64-bit fingerprint of the key: equal keys give equal fingerprints.
using Impronta = std::uint64_t (*)(const ChiaveDuplicato&);
std::uint64_t improntaDuplicato(const ChiaveDuplicato& k);

/// Finds the duplicates of a work file on the parallel pass (parallelo), with at
/// most 16 bytes a payment: a table of the first payment of each key, its
/// fingerprint and record number, open-addressed and at most three quarters full.
/// Two payments with the same fingerprint are compared again from the file, so a
/// fingerprint shared by different payments never makes a duplicate.
///
/// The parts note the fingerprints of their blocks (annota); after each round,
/// fineGiro() looks them up on as many threads as there are parts, each taking
/// the fingerprints of its share of the table in record order. Equal
/// fingerprints fall to one thread, so what it finds is what one thread reading
/// the whole file finds.
class CercaDuplicati {
public:
    /// Room for `versamenti` payments of `archivio` on a pass of `parti` parts.
    /// InputOutput (ENOMEM) naming the file when the table does not fit in memory;
    /// Uso when a record number would not fit in 32 bits.
    static Esito<CercaDuplicati> per(const ArchivioLavoro& archivio, std::uint64_t versamenti,
                                     std::size_t parti, Impronta impronta = improntaDuplicato);

    /// Notes the payments of `blocco`, part `parte`'s next block of this round.
    /// Called from the part's thread; never twice at once for one part.
    void annota(std::size_t parte, const Blocco& blocco);

    /// Called with each payment of the round that repeats an earlier one, and the
    /// payment itself as read again; its error stops the round.
    using Trovato = std::function<EsitoVuoto(const Duplicato&, const Versamento& copia)>;

    /// Ends a round: looks up the payments noted, in record order, and hands each
    /// duplicate to `trovato`. Errors: a read of the file (InputOutput,
    /// RecordInesistente when it has shrunk), or `trovato`'s.
    EsitoVuoto fineGiro(const Trovato& trovato);

private:
    CercaDuplicati(const ArchivioLavoro& archivio, std::size_t parti, Impronta impronta)
        : archivio_(&archivio), impronta_(impronta), giro_(parti) {}
    /// The earlier payment with the key of payment `numero`, whose fingerprint's
    /// first slot is `primo`, or 0 after taking a free slot for it; `copia` holds
    /// the payment once read.
    Esito<std::uint32_t> cerca(std::uint32_t numero, std::uint64_t impronta, std::size_t primo,
                               std::optional<Versamento>& copia);
    /// What one thread of fineGiro() found: the duplicates among the fingerprints
    /// of share `quota` of `quote`, and the error that stopped it, with the record.
    struct Trovati {
        std::vector<std::pair<Duplicato, Versamento>> duplicati;
        std::optional<std::pair<std::uint32_t, Errore>> errore;
    };
    Trovati cercaQuota(std::size_t quota, std::size_t quote);

    struct Parte {
        std::uint64_t primo = 0;              ///< record of the first fingerprint
        std::vector<std::uint64_t> impronte;  ///< this round's, in record order
    };
    const ArchivioLavoro* archivio_;
    Impronta impronta_;
    std::vector<Parte> giro_;
    /// A slot in 12 bytes, its fingerprint in two halves, so that one fetch from
    /// memory brings the whole slot. The threads of fineGiro() share the table: a
    /// free slot is taken by setting its number first, atomically.
    struct Posto {
        std::uint32_t basso = 0;
        std::uint32_t alto = 0;
        std::uint32_t numero = 0;  ///< 0: the slot is free
        std::uint64_t impronta() const { return (std::uint64_t{alto} << 32) | basso; }
    };
    static_assert(sizeof(Posto) == 12);
    std::vector<Posto> posti_;
};

}  // namespace pliventa
