// Scripted dialogs: the test lists the dialogs it expects, in order, with their
// answers; each dialog the window shows is checked against the next one listed.
#pragma once

#include <QRect>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "shell/dialoghi.h"

/// Lets GoogleTest print QStrings in its failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << s.toStdString();
}

namespace pliventa::test {

class DialoghiFinti : public Dialoghi {
public:
    /// What to do while a dialog is up (the window shows what it shows meanwhile).
    using Durante = std::function<void()>;

    /// Expects a message box with exactly `testo`; answers `risposta`.
    DialoghiFinti& attendi(const QString& testo, const QString& titolo,
                           Pulsanti pulsanti = Pulsanti::ok, Icona icona = Icona::nessuna,
                           Risposta risposta = Risposta::ok, Durante durante = {});
    /// Expects a message box whose text is checked by the test afterwards (testi()).
    DialoghiFinti& attendiQualsiasi(const QString& titolo, Pulsanti pulsanti, Icona icona);
    /// Expects an input box; answers `risposta` (empty = cancelled).
    DialoghiFinti& attendiInput(const QString& prompt, const QString& titolo,
                                const QString& predefinito, const QString& risposta);
    /// Expects a save-as dialog; answers `risposta` (empty = cancelled) of the type
    /// `tipo` of `filtro`. The path it proposed is kept in proposte().
    DialoghiFinti& attendiSalva(const QString& titolo, const QString& filtro,
                                const QString& risposta, int tipo = 0);
    /// Expects the dialog choosing several files, titled `titolo`; answers `file`
    /// (none = cancelled).
    DialoghiFinti& attendiScelta(const QString& titolo, const QStringList& file);
    /// Expects the dialog of the layouts titled `titolo`, showing the layouts
    /// `trovati` (nullopt: one that could not be told); answers `scelti` (nullopt =
    /// cancelled). The files shown are kept in fileMostrati().
    DialoghiFinti& attendiTracciati(const QString& titolo,
                                    const std::vector<std::optional<Formato>>& trovati,
                                    const std::optional<std::vector<Formato>>& scelti);
    /// Expects the opening of a document; answers whether an application opened it.
    /// The path is kept in documenti().
    DialoghiFinti& attendiApertura(bool aperto);
    /// Expects long work titled `titolo`, run to its end; when `annulla`, the user
    /// cancels it before it starts.
    DialoghiFinti& attendiLavoro(const QString& titolo, bool annulla = false);
    /// Expects long work titled `titolo`; runs `durante` while it is in hand, before
    /// it starts, then runs it to its end.
    DialoghiFinti& attendiLavoroDurante(const QString& titolo, Durante durante);
    /// Expects long work titled `titolo`; the user cancels it once it reports
    /// stage `fase`.
    DialoghiFinti& attendiLavoroAnnullatoAllaFase(const QString& titolo, int fase);

    /// Fails the test for every expected dialog that never came, and forgets them.
    void verificaFine();

    /// Expects the print dialog titled `titolo`; prints into the PDF file `pdf`
    /// (empty = cancelled).
    DialoghiFinti& attendiStampa(const QString& titolo, const QString& pdf);
    /// The texts of every message box shown so far.
    const std::vector<QString>& testi() const { return testi_; }
    /// The paths proposed by the save-as dialogs so far.
    const std::vector<QString>& proposte() const { return proposte_; }
    /// The files the last dialog of the layouts showed.
    const std::vector<FileDaImportare>& fileMostrati() const { return fileMostrati_; }
    /// The paths handed to the desktop so far.
    const std::vector<QString>& documenti() const { return documenti_; }
    /// The parent of every dialog shown so far, in order: the window passed to
    /// figli(), null for these dialogs themselves (the main window's).
    const std::vector<const QWidget*>& genitori() const { return genitori_; }

    using Dialoghi::messaggio;
    Risposta messaggio(const QString& testo, const QString& titolo, Pulsanti pulsanti, Icona icona,
                       const QRect& lasciaVisibile) override;
    QString input(const QString& prompt, const QString& titolo,
                  const QString& predefinito) override;
    FileScelto salvaCome(const QString& titolo, const QString& proposta,
                         const QString& filtro) override;
    QStringList scegliFile(const QString& titolo, const QString& cartella) override;
    std::optional<std::vector<Formato>> scegliTracciati(
        const QString& titolo, const std::vector<FileDaImportare>& file) override;
    bool apriDocumento(const QString& percorso) override;
    void attendi(Lavoro& lavoro, const QString& titolo, const QStringList& fasi) override;
    bool scegliStampante(const QString& titolo, QPrinter& stampante) override;
    /// The same script, each dialog recorded with `finestra` as its parent.
    std::unique_ptr<Dialoghi> figli(QWidget* finestra) override;

private:
    friend class DialoghiFigli;
    enum class Tipo { messaggio, input, salva, apertura, lavoro, stampa, scelta, tracciati };
    struct Atteso {
        Tipo tipo = Tipo::messaggio;
        std::optional<QString> testo{};  ///< message text, prompt or filter; nullopt: any
        QString titolo{};
        Pulsanti pulsanti = Pulsanti::ok;
        Icona icona = Icona::nessuna;
        Risposta risposta = Risposta::ok;
        QString predefinito{};
        QString rispostaTesto{};
        Durante durante{};
        bool si = false;       ///< apertura: opened; lavoro: cancelled
        int tipoFile = 0;      ///< salva: the type chosen
        int faseAnnullo = -1;  ///< lavoro: the stage at which it is cancelled
        QStringList file{};    ///< scelta: the files chosen
        std::vector<std::optional<Formato>> trovati{};  ///< tracciati: those shown
        std::optional<std::vector<Formato>> scelti{};   ///< tracciati: the answer
    };
    std::optional<Atteso> prossimo(Tipo tipo, const QString& testo, const QString& titolo);

    std::deque<Atteso> attesi_;
    std::vector<QString> testi_;
    std::vector<QString> proposte_;
    std::vector<QString> documenti_;
    std::vector<FileDaImportare> fileMostrati_;
    std::vector<const QWidget*> genitori_;
    const QWidget* genitore_ = nullptr;  ///< the parent of the dialog being shown
};

}  // namespace pliventa::test
