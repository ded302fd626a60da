// The browsing state the main window keeps between operations: the open work
// file, the notice arrangement it was written in, and the current record number.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "base/errore.h"
#include "records/archivio.h"
#include "records/versamento.h"

namespace pliventa {

/// The four navigation moves.
enum class Movimento { inizio, indietro, avanti, fine };

class Sessione {
public:
    /// Makes `archivio` the open work file, read with `lettura`; recordcorrente
    /// is left as it is (the import sets it to 1 when it shows record 1).
    void apri(ArchivioLavoro archivio, LetturaAtto lettura);

    /// Closes the work file, if open.
    void chiudi();

    /// What it takes to open the same work file again as it is now: an operation
    /// that closes it and then fails or is cancelled puts it back with riprendi().
    struct Ripresa {
        std::string percorso;
        LetturaAtto lettura = LetturaAtto::lunga;
        double recordcorrente = 0;
    };
    /// The open work file as a Ripresa; nullopt when none is open.
    std::optional<Ripresa> ripresa() const;
    /// Opens the work file of `r` again, with its notice reading and record number.
    /// Returns the open error, and then no work file is open.
    EsitoVuoto riprendi(const Ripresa& r);

    /// True while a work file is open.
    bool aperto() const { return archivio_ != nullptr; }

    /// The open work file, or nullptr.
    const ArchivioLavoro* archivio() const { return archivio_.get(); }

    /// The open work file for the views that read it beside the window: they all
    /// read this one handle, so they show the same file whatever becomes of the
    /// path, and keep it for as long as they live. Null when none is open.
    std::shared_ptr<const ArchivioLavoro> condiviso() const { return archivio_; }

    /// Whether the file now at the path of the open work file is another one, or
    /// the same one written since it was opened: true when it is, unless the
    /// clerk chose to go on with the open one (ignoraDisco()) and it has not
    /// changed again since; false when it is the file open, or none is open.
    /// The error of a path that leads to no file any more, but once ignored, false.
    Esito<bool> cambiatoSulDisco() const;
    /// Goes on with the open work file: the file now at its path (or its absence)
    /// no longer counts as a change.
    void ignoraDisco();

    /// The notice arrangement of the open work file (long when none is open).
    LetturaAtto lettura() const { return lettura_; }

    /// The current record number; 0 while it has no value.
    double recordcorrente() const { return recordcorrente_; }
    void impostaRecordcorrente(double n) { recordcorrente_ = n; }

    /// Moves recordcorrente as the button `m` does and reads that record. The new
    /// number is stored before the read, so it stays moved when the read fails.
    /// first: 1; previous: minus 1, at least 1; next: plus 1, at most the record
    /// count; last: the record count. Errors: NessunArchivio when no work file is
    /// open (next, previous and first have already moved the number),
    /// RecordInesistente (an empty file), InputOutput.
    Esito<Versamento> vai(Movimento m);

    /// Reads record recordcorrente. Errors as for vai().
    Esito<Versamento> leggiCorrente() const;

private:
    std::shared_ptr<const ArchivioLavoro> archivio_;
    /// The file at the path (all zero: none) that the clerk chose not to open in
    /// place of this one.
    std::optional<IdentitaFile> ignorato_;
    LetturaAtto lettura_ = LetturaAtto::lunga;
    double recordcorrente_ = 0;
};

}  // namespace pliventa
