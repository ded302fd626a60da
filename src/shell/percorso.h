// The prompt for an input path, with the memo file that remembers the last
// answer given for each kind of input.
#pragma once

#include <QString>
#include <optional>

#include "shell/dialoghi.h"

namespace pliventa {

/// One kind of input: the memo file's name (as the program has always named it,
/// with a leading "\") and the title of its prompt.
struct TipoPercorso {
    QString memo;
    QString titolo;
};

/// ANCI-CNC 2000 and F24 share one memo, so the last path typed for either is
/// proposed to both (and the file chooser writes it too).
inline const TipoPercorso kPercorsoCnc2000{QStringLiteral("\\icimemofilepliventa.txt"),
                                           QStringLiteral("Visualizza Files Versamenti CNC")};
inline const TipoPercorso kPercorsoF24{QStringLiteral("\\icimemofilepliventa.txt"),
                                       QStringLiteral("Visualizza Files Versamenti F24")};
inline const TipoPercorso kPercorso1997{
    QStringLiteral("\\icimemofilepliventa97.txt"),
    QStringLiteral("Visualizza Files Versamenti CNC - Tracciato 1997")};
inline const TipoPercorso kPercorsoViol97{QStringLiteral("\\icimemofilepliventav.txt"),
                                          QStringLiteral("Visualizza Files Versamenti CNC Viol97")};
inline const TipoPercorso kPercorsoRisconet{QStringLiteral("\\icimemofilecaliciv.txt"),
                                            QStringLiteral("Converti RiscoNet")};

/// The answer of a path prompt.
struct RispostaPercorso {
    QString percorso;  ///< the path as typed (also shown in Text1)
    QString cartella;  ///< its directory part, up to and including the last "/"; may be empty
    QString avviso;    ///< non-empty when the memo file could not be written (path and reason)
};

/// For the status line: " · percorso non ricordato: " and the memo's failure, or
/// nothing when the memo was written.
QString avvisoMemo(const RispostaPercorso& risposta);

/// Path of the memo file of `tipo` in `cartellaCorrente`: the folder, "/", and the
/// memo's name without its leading "\".
QString percorsoMemo(const TipoPercorso& tipo, const QString& cartellaCorrente);

/// Asks for an input path: proposes the memo's first line (trimmed), shows the
/// prompt "Inserisci percorso" with the title of `tipo`, and writes the answer
/// back as the memo's only line (replacing the file atomically). Returns the
/// answer; nullopt when it is empty or the box was cancelled, after writing the
/// empty answer to the memo (the caller then ends the program). A memo that
/// cannot be read proposes nothing; one that cannot be written is reported in
/// `avviso` and the prompt goes on.
std::optional<RispostaPercorso> chiedipercorso(const TipoPercorso& tipo, Dialoghi& dialoghi,
                                               const QString& cartellaCorrente);

/// Replaces `percorso` with `contenuto` through a temporary file and a rename, so a
/// failure leaves the previous file whole. Returns an empty text, or the path and
/// the reason in Italian ("path: reason").
QString scriviAtomico(const QString& percorso, const QByteArray& contenuto);

/// Directory part of `percorso`: up to and including its last "/", or empty.
QString cartellaDi(const QString& percorso);

}  // namespace pliventa
