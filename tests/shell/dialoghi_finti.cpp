#include "dialoghi_finti.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <thread>
#include <utility>

#include "shell/dialoghi_qt.h"
#include "shell/lavoro.h"

namespace pliventa::test {

void DialoghiFinti::verificaFine() {
    for (const Atteso& a : c_->attesi) {
        ADD_FAILURE() << "expected " << a.tipo
                      << " never shown: " << a.testo.value_or(QStringLiteral("(any text)")) << " / "
                      << a.titolo;
    }
    c_->attesi.clear();
}

std::optional<DialoghiFinti::Atteso> DialoghiFinti::prossimo(std::string_view tipo,
                                                             const QString& testo,
                                                             const QString& titolo) {
    c_->genitori.push_back(genitore_);
    if (c_->attesi.empty()) {
        ADD_FAILURE() << "unexpected " << tipo << ": " << testo << " / " << titolo;
        return std::nullopt;
    }
    Atteso a = std::move(c_->attesi.front());
    c_->attesi.pop_front();
    if (a.tipo != tipo) {
        ADD_FAILURE() << "a " << tipo << " came where a " << a.tipo << " was expected: " << testo;
        return std::nullopt;
    }
    if (a.testo) {
        EXPECT_EQ(testo, *a.testo);
    }
    EXPECT_EQ(titolo, a.titolo) << testo;
    return a;
}

Risposta DialoghiFinti::messaggio(const QString& testo, const QString& titolo, Pulsanti pulsanti,
                                  Icona icona, const QRect& /*lasciaVisibile*/) {
    c_->testi.push_back(testo);
    const std::optional<Atteso> a = prossimo("message box", testo, titolo);
    if (!a) {
        return pulsanti == Pulsanti::siNo ? Risposta::no : Risposta::ok;
    }
    EXPECT_EQ(pulsanti, a->pulsanti) << testo;
    EXPECT_EQ(icona, a->icona) << testo;
    if (a->durante) {
        a->durante();
    }
    return a->risposta;
}

QString DialoghiFinti::input(const QString& prompt, const QString& titolo,
                             const QString& predefinito) {
    const std::optional<Atteso> a = prossimo("input box", prompt, titolo);
    if (a) {
        EXPECT_EQ(predefinito, a->predefinito);
    }
    return a ? a->rispostaTesto : QString();
}

FileScelto DialoghiFinti::salvaCome(const QString& titolo, const QString& proposta,
                                    const QString& filtro) {
    c_->proposte.push_back(proposta);
    const std::optional<Atteso> a = prossimo("save-as dialog", filtro, titolo);
    return a ? FileScelto{a->rispostaTesto, a->tipoFile} : FileScelto{};
}

bool DialoghiFinti::scegliStampante(const QString& titolo, QPrinter& stampante) {
    const std::optional<Atteso> a = prossimo("print dialog", titolo, titolo);
    if (!a || a->rispostaTesto.isEmpty()) {
        return false;
    }
    stampante.setOutputFormat(QPrinter::PdfFormat);
    stampante.setOutputFileName(a->rispostaTesto);
    return true;
}

QStringList DialoghiFinti::scegliFile(const QString& titolo, const QString& cartella) {
    const std::optional<Atteso> a = prossimo("choice of files", cartella, titolo);
    return a ? a->file : QStringList();
}

std::optional<std::vector<Formato>> DialoghiFinti::scegliTracciati(
    const QString& titolo, const std::vector<FileDaImportare>& file) {
    c_->fileMostrati = file;
    const std::optional<Atteso> a = prossimo("dialog of the layouts", {}, titolo);
    if (!a) {
        return std::nullopt;
    }
    std::vector<std::optional<Formato>> trovati;
    for (const FileDaImportare& f : file) {
        trovati.push_back(f.formato);
    }
    EXPECT_EQ(trovati, a->trovati);
    return a->scelti;
}

bool DialoghiFinti::apriDocumento(const QString& percorso) {
    c_->documenti.push_back(percorso);
    const std::optional<Atteso> a = prossimo("document opening", percorso, {});
    return a && a->si;
}

void DialoghiFinti::attesaVera(QWidget* finestra) {
    veri_ = std::make_shared<DialoghiQt>(finestra);
}

void DialoghiFinti::attendi(Lavoro& lavoro, const QString& titolo, const QStringList& fasi) {
    if (veri_) {
        veri_->attendi(lavoro, titolo, fasi);
        return;
    }
    EXPECT_FALSE(fasi.isEmpty()) << "long work without texts for its progress";
    const std::optional<Atteso> a = prossimo("long work", titolo, titolo);
    if (a && a->si) {
        lavoro.annulla();
    }
    if (a && a->durante) {
        a->durante();
    }
    lavoro.avvia();
    while (a && a->faseAnnullo >= 0 && !lavoro.finito()) {
        if (lavoro.stato().fase >= a->faseAnnullo) {
            lavoro.annulla();
            break;
        }
        std::this_thread::yield();
    }
    lavoro.aspetta();
}

std::unique_ptr<Dialoghi> DialoghiFinti::figli(QWidget* finestra) {
    return std::unique_ptr<Dialoghi>(new DialoghiFinti(c_, finestra, veri_));
}

}  // namespace pliventa::test
