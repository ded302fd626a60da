// The record display: a Schermata computed by the core, applied to the widgets.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

#include "records/archivio.h"
#include "shell/frmview.h"
#include "shell/viste.h"

namespace pliventa {

namespace {

// A caption and the name its box gives screen readers change together.
void intitola(QLabel* didascalia, const QString& testo) {
    didascalia->setText(testo);
    if (didascalia->buddy() != nullptr) {
        didascalia->buddy()->setAccessibleName(testo);
    }
}

}  // namespace

EsitoVuoto frmView::apriArchivio(const QString& percorso, LetturaAtto lettura) {
    EsitoVuoto aperto = controllore_.apriArchivio(percorso, lettura);
    if (aperto) {
        emit archivioCambiato();
    }
    return aperto;
}

EsitoVuoto frmView::mostrarecord(FormaNumero forma) {
    const Esito<Versamento> letto = sessione().leggiCorrente();
    if (!letto) {
        return letto.errore();  // the boxes keep what they showed
    }
    mostra(*letto, forma);
    return Nulla{};
}

void frmView::mostra(const Versamento& v, FormaNumero forma) {
    // The notice is read the way the open work file was written, whoever asks.
    applica(pliventa::mostrarecord(v, sessione().recordcorrente(),
                                   Combo1->currentText().toStdString(), sessione().lettura(), forma,
                                   separatori()));
}

void frmView::applica(const Schermata& s) {
    for (std::size_t i = 0; i < Text3.size(); ++i) {
        Text3[i]->setText(daUtf8(s.testo(kVoceDiText3[i])));
    }
    Text4->setText(daUtf8(s.numero));
    if (s.aspetto == Aspetto::violazioni) {
        violazioni();
    } else {
        normale();
    }
}

void frmView::normale() {
    aspetto(false);
}

void frmView::violazioni() {
    aspetto(true);
}

void frmView::aspetto(bool violazione) {
    if (!violazione) {
        for (std::size_t i = 2; i <= 8; ++i) {
            Text3[i]->setVisible(true);
            label1[i]->setVisible(true);
        }
    }
    // The year and its caption go together, opposite to the notice boxes.
    Text3[10]->setVisible(!violazione);
    label1[10]->setVisible(!violazione);
    for (QWidget* w : {static_cast<QWidget*>(Text3[9]), static_cast<QWidget*>(Text3[11]),
                       static_cast<QWidget*>(label1[11]), static_cast<QWidget*>(label1[12])}) {
        w->setVisible(violazione);
    }
    // The amount boxes keep their place; only four captions change, and an
    // ordinary payment after a violation one gets its own captions back.
    for (std::size_t i = 4; i <= 7; ++i) {
        const DescrizioneVoce& d = descrizione(kVoceDiText3[i]);
        intitola(label1[i], daUtf8(violazione ? d.nomeViolazione : d.nome));
    }
}

void frmView::mostraVuoto() {
    // The design state: every box empty and shown, the design captions.
    for (std::size_t i = 0; i < Text3.size(); ++i) {
        Text3[i]->clear();
        Text3[i]->setVisible(true);
    }
    for (std::size_t i = 0; i < label1.size(); ++i) {
        intitola(label1[i], daUtf8(kDidascalie[i]));
        label1[i]->setVisible(true);
    }
    Text4->setText(QStringLiteral("0"));
}

void frmView::segnaArchivio() {
    // What the boxes show stays for the clerk to read, but no button reaches it any
    // more: the greyed boxes tell that it belongs to no open work file.
    const bool aperto = sessione().aperto();
    for (QWidget* w : Text3) {
        w->setEnabled(aperto);
    }
    for (std::size_t i = 0; i < label1.size(); ++i) {
        // The currency stays to be chosen, its caption with it.
        label1[i]->setEnabled(aperto || i == 9);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{Text4, Label3, Text5}) {
        w->setEnabled(aperto);
    }
    statoArchivio->setVisible(!aperto);
}

QString frmView::valuta() const {
    return Combo1->currentText();
}

Separatori frmView::separatori() const {
    return separatoriDelLocale();
}

FormatoElenco frmView::formatoElenco() const {
    return FormatoElenco{valuta().toStdString(), sessione().lettura(), separatori()};
}

frmView::Istantanea frmView::istantanea() const {
    Istantanea i;
    for (std::size_t k = 0; k < Text3.size(); ++k) {
        i.text3[k] = Text3[k]->text();
        i.text3Visibile[k] = !Text3[k]->isHidden();
    }
    for (std::size_t k = 0; k < label1.size(); ++k) {
        i.label1Visibile[k] = !label1[k]->isHidden();
    }
    for (std::size_t k = 0; k < i.didascalie.size(); ++k) {
        i.didascalie[k] = label1[4 + k]->text();
    }
    i.text4 = Text4->text();
    return i;
}

void frmView::ripristina(const Istantanea& i) {
    for (std::size_t k = 0; k < Text3.size(); ++k) {
        Text3[k]->setText(i.text3[k]);
        Text3[k]->setVisible(i.text3Visibile[k]);
    }
    for (std::size_t k = 0; k < label1.size(); ++k) {
        label1[k]->setVisible(i.label1Visibile[k]);
    }
    for (std::size_t k = 0; k < i.didascalie.size(); ++k) {
        intitola(label1[4 + k], i.didascalie[k]);
    }
    Text4->setText(i.text4);
}

}  // namespace pliventa
