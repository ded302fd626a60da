// Scripted dialogs: the test lists the dialogs it expects, in order, with their
// answers; each dialog the window shows is checked against the next one listed.
#pragma once

#include <gtest/gtest.h>

#include <QPrinter>
#include <QRect>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

#include "shell/dialoghi.h"
#include "shell/dialoghi_qt.h"
#include "shell/lavoro.h"

/// Lets GoogleTest print QStrings in its failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << s.toStdString();
}

namespace pliventa::test {

using namespace Qt::StringLiterals;

class DialoghiFinti : public Dialoghi {
public:
    /// What to do while a dialog is up (the window shows what it shows meanwhile).
    using Durante = std::function<void()>;

    DialoghiFinti() = default;

    /// A message box with exactly `testo` (nullopt: any); answers `risposta`.
    DialoghiFinti& attendi(
        std::optional<QString> testo, const QString& titolo, Pulsanti pulsanti = Pulsanti::ok,
        Icona icona = Icona::nessuna, Risposta risposta = Risposta::ok, Durante durante = [] {}) {
        return metti({.testo = std::move(testo),
                      .titolo = titolo,
                      .pulsanti = pulsanti,
                      .icona = icona,
                      .risposta = risposta,
                      .durante = std::move(durante)});
    }
    /// An input box proposing `predefinito`; answers `risposta` (empty = cancelled).
    DialoghiFinti& attendiInput(const QString& prompt, const QString& titolo,
                                const QString& predefinito, const QString& risposta) {
        return metti({.tipo = "input box",
                      .testo = prompt,
                      .titolo = titolo,
                      .proposto = predefinito,
                      .dato = risposta});
    }
    /// A save-as dialog; answers `risposta` (empty = cancelled) of type `tipo` of `filtro`.
    DialoghiFinti& attendiSalva(const QString& titolo, const QString& filtro,
                                const QString& risposta, int tipo = 0) {
        return metti({.tipo = "save as",
                      .testo = filtro,
                      .titolo = titolo,
                      .dato = risposta,
                      .tipoFile = tipo});
    }
    /// The choice of several files; answers `file` (none = cancelled).
    DialoghiFinti& attendiScelta(const QString& titolo, const QStringList& file) {
        return metti({.tipo = "choice", .titolo = titolo, .file = file});
    }
    /// The dialog of the layouts showing `trovati` (nullopt: one that could not be
    /// told); answers `scelti` (nullopt = cancelled). Its files are in fileMostrati().
    DialoghiFinti& attendiTracciati(const QString& titolo,
                                    const std::vector<std::optional<Formato>>& trovati,
                                    const std::optional<std::vector<Formato>>& scelti) {
        return metti({.tipo = "layouts", .titolo = titolo, .trovati = trovati, .scelti = scelti});
    }
    /// The opening of a document; answers whether an application opened it.
    DialoghiFinti& attendiApertura(bool aperto) { return metti({.tipo = "opening", .si = aperto}); }
    /// Long work, run to its end; when `annulla`, cancelled before it starts.
    /// `durante` runs while the work is in hand, before it starts.
    DialoghiFinti& attendiLavoro(
        const QString& titolo, bool annulla = false, Durante durante = [] {}) {
        return metti(
            {.tipo = "work", .titolo = titolo, .durante = std::move(durante), .si = annulla});
    }
    /// The print dialog; prints into the PDF file `pdf` (empty = cancelled).
    DialoghiFinti& attendiStampa(const QString& titolo, const QString& pdf) {
        return metti({.tipo = "print", .titolo = titolo, .dato = pdf});
    }

    /// From now on long work waits in the real progress dialog over `finestra`,
    /// which the test answers itself.
    void attesaVera(QWidget* finestra) { c_->veri = std::make_shared<DialoghiQt>(finestra); }

    /// Fails the test for every expected dialog that never came, and forgets them.
    void verificaFine() {
        for (const Atteso& a : c_->attesi) {
            ADD_FAILURE() << "expected " << a.tipo
                          << " never shown: " << a.testo.value_or(u"(any text)"_s) << " / "
                          << a.titolo;
        }
        c_->attesi.clear();
    }

    /// What the dialogs were given: the paths proposed for saving, the files listed
    /// with their layouts, the documents to open.
    const std::vector<QString>& proposte() const { return c_->proposte; }
    const std::vector<FileDaImportare>& fileMostrati() const { return c_->fileMostrati; }
    const std::vector<QString>& documenti() const { return c_->documenti; }
    /// The parent of every dialog shown so far, in order: the window passed to
    /// figli(), null for the main window's.
    const std::vector<const QWidget*>& genitori() const { return c_->genitori; }

    using Dialoghi::messaggio;
    Risposta messaggio(const QString& testo, const QString& titolo, Pulsanti pulsanti, Icona icona,
                       const QRect& /*lasciaVisibile*/) override {
        const std::optional<Atteso> a = prossimo("message box", testo, titolo);
        if (!a) {
            return pulsanti == Pulsanti::siNo ? Risposta::no : Risposta::ok;
        }
        EXPECT_EQ(pulsanti, a->pulsanti) << testo;
        EXPECT_EQ(icona, a->icona) << testo;
        a->durante();
        return a->risposta;
    }
    QString input(const QString& prompt, const QString& titolo,
                  const QString& predefinito) override {
        const std::optional<Atteso> a = prossimo("input box", prompt, titolo);
        EXPECT_EQ(predefinito, a ? a->proposto : predefinito) << prompt;
        return a ? a->dato : QString();
    }
    FileScelto salvaCome(const QString& titolo, const QString& proposta,
                         const QString& filtro) override {
        c_->proposte.push_back(proposta);
        const std::optional<Atteso> a = prossimo("save as", filtro, titolo);
        return a ? FileScelto{a->dato, a->tipoFile} : FileScelto{};
    }
    QStringList scegliFile(const QString& titolo, const QString& cartella) override {
        const std::optional<Atteso> a = prossimo("choice", cartella, titolo);
        return a ? a->file : QStringList();
    }
    std::optional<std::vector<Formato>> scegliTracciati(
        const QString& titolo, const std::vector<FileDaImportare>& file) override {
        c_->fileMostrati = file;
        const std::optional<Atteso> a = prossimo("layouts", {}, titolo);
        std::vector<std::optional<Formato>> trovati;
        for (const FileDaImportare& f : file) {
            trovati.push_back(f.formato);
        }
        EXPECT_EQ(trovati, a ? a->trovati : trovati);
        return a ? a->scelti : std::nullopt;
    }
    bool apriDocumento(const QString& percorso) override {
        c_->documenti.push_back(percorso);
        const std::optional<Atteso> a = prossimo("opening", percorso, {});
        return a && a->si;
    }
    void attendi(Lavoro& lavoro, const QString& titolo, const QStringList& fasi) override {
        if (c_->veri) {
            return c_->veri->attendi(lavoro, titolo, fasi);
        }
        EXPECT_FALSE(fasi.isEmpty()) << "long work without texts for its progress";
        const std::optional<Atteso> a = prossimo("work", titolo, titolo);
        if (a && a->si) {
            lavoro.annulla();
        }
        if (a) {
            a->durante();
        }
        lavoro.avvia();
        lavoro.aspetta();
    }
    bool scegliStampante(const QString& titolo, QPrinter& stampante) override {
        const std::optional<Atteso> a = prossimo("print", titolo, titolo);
        if (!a || a->dato.isEmpty()) {
            return false;
        }
        stampante.setOutputFormat(QPrinter::PdfFormat);
        stampante.setOutputFileName(a->dato);
        return true;
    }
    /// The same script, each dialog recorded with `finestra` as its parent.
    std::unique_ptr<Dialoghi> figli(QWidget* finestra) override {
        return std::unique_ptr<Dialoghi>(new DialoghiFinti(c_, finestra));
    }

private:
    struct Atteso {
        std::string_view tipo = "message box";  ///< the kind of dialog, for failures
        std::optional<QString> testo{};         ///< message text, prompt or filter; nullopt: any
        QString titolo{};
        Pulsanti pulsanti = Pulsanti::ok;
        Icona icona = Icona::nessuna;
        Risposta risposta = Risposta::ok;
        QString proposto{};  ///< input: the text proposed
        QString dato{};      ///< input: the answer; save as: the path; print: the PDF file
        Durante durante = [] {};
        bool si = false;                                ///< apertura: opened; lavoro: cancelled
        int tipoFile = 0;                               ///< salva: the type chosen
        QStringList file{};                             ///< scelta: the files chosen
        std::vector<std::optional<Formato>> trovati{};  ///< tracciati: those shown
        std::optional<std::vector<Formato>> scelti{};   ///< tracciati: the answer
    };
    /// The script and what was shown, shared by the dialogs of every window.
    struct Copione {
        std::deque<Atteso> attesi;
        std::vector<QString> proposte, documenti;
        std::vector<FileDaImportare> fileMostrati;
        std::vector<const QWidget*> genitori;
        std::shared_ptr<Dialoghi> veri;  ///< the real dialogs of attesaVera()
    };
    DialoghiFinti(std::shared_ptr<Copione> c, const QWidget* genitore)
        : c_(std::move(c)), genitore_(genitore) {}
    DialoghiFinti& metti(Atteso a) {
        c_->attesi.push_back(std::move(a));
        return *this;
    }
    /// The next dialog listed, checked to be of kind `tipo` with `testo` and `titolo`.
    std::optional<Atteso> prossimo(std::string_view tipo, const QString& testo,
                                   const QString& titolo) {
        c_->genitori.push_back(genitore_);
        if (c_->attesi.empty()) {
            ADD_FAILURE() << "unexpected " << tipo << ": " << testo << " / " << titolo;
            return std::nullopt;
        }
        Atteso a = std::move(c_->attesi.front());
        c_->attesi.pop_front();
        if (a.tipo != tipo) {
            ADD_FAILURE() << "a " << tipo << " came where a " << a.tipo
                          << " was expected: " << testo;
            return std::nullopt;
        }
        EXPECT_EQ(testo, a.testo.value_or(testo));
        EXPECT_EQ(titolo, a.titolo) << testo;
        return a;
    }

    std::shared_ptr<Copione> c_ = std::make_shared<Copione>();
    const QWidget* genitore_ = nullptr;
};

}  // namespace pliventa::test
