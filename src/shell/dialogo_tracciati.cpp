// The dialogs of the import of several files: the choice of the files, and the
// table that shows the layout found for each and lets the clerk change it.
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "shell/dialoghi_qt.h"

namespace pliventa {

namespace {

/// The layouts as the clerk knows them, in the order of the list.
constexpr std::array<Formato, 5> kFormati = {Formato::cnc2000, Formato::cnc1997, Formato::viol1997,
                                             Formato::f24, Formato::risconet};

QString didascalia(Formato formato) {
    switch (formato) {
        case Formato::cnc2000:
            return QStringLiteral("ANCI-CNC 2000 (o+v)");
        case Formato::cnc1997:
            return QStringLiteral("CNC tracciato 1997");
        case Formato::viol1997:
            return QStringLiteral("Violazioni 1997");
        case Formato::f24:
            return QStringLiteral("F24");
        case Formato::risconet:
            return QStringLiteral("Risconet (Uniriscossioni/Gestline)");
    }
    return {};
}

/// A list of the layouts showing `formato`, or none chosen yet.
QComboBox* sceltaFormato(const std::optional<Formato>& formato) {
    auto* scelta = new QComboBox;
    for (const Formato f : kFormati) {
        scelta->addItem(didascalia(f), static_cast<int>(f));
    }
    scelta->setPlaceholderText(QStringLiteral("(da scegliere)"));
    scelta->setCurrentIndex(formato ? scelta->findData(static_cast<int>(*formato)) : -1);
    return scelta;
}

}  // namespace

QStringList DialoghiQt::scegliFile(const QString& titolo, const QString& cartella) {
    QFileDialog box(genitore_, titolo, cartella);
    box.setAcceptMode(QFileDialog::AcceptOpen);
    box.setFileMode(QFileDialog::ExistingFiles);
    box.setNameFilter(QStringLiteral("Tutti i file (*)"));
    box.setLabelText(QFileDialog::Accept, QStringLiteral("&Apri"));
    box.setLabelText(QFileDialog::Reject, QStringLiteral("Annulla"));
    box.setLabelText(QFileDialog::FileName, QStringLiteral("Nomi dei file:"));
    box.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo di file:"));
    box.setLabelText(QFileDialog::LookIn, QStringLiteral("Cerca in:"));
    if (box.exec() != QDialog::Accepted) {
        return {};
    }
    return box.selectedFiles();
}

std::optional<std::vector<Formato>> DialoghiQt::scegliTracciati(
    const QString& titolo, const std::vector<FileDaImportare>& file) {
    std::vector<QComboBox*> scelte;  // outlives the dialog, whose lists tell of changes
    QDialog box(genitore_);
    box.setWindowTitle(titolo);
    auto* tabella = new QTableWidget(static_cast<int>(file.size()), 3, &box);
    tabella->setObjectName(QStringLiteral("tabellaTracciati"));
    tabella->setHorizontalHeaderLabels(
        {QStringLiteral("File"), QStringLiteral("Tracciato"), QStringLiteral("Note")});
    tabella->verticalHeader()->hide();
    tabella->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabella->horizontalHeader()->setStretchLastSection(true);
    auto* pulsanti = new QDialogButtonBox(&box);
    QPushButton* importa =
        pulsanti->addButton(QStringLiteral("&Importa"), QDialogButtonBox::AcceptRole);
    pulsanti->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
    QObject::connect(pulsanti, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(pulsanti, &QDialogButtonBox::rejected, &box, &QDialog::reject);

    const auto aggiorna = [&] {
        importa->setEnabled(
            std::ranges::all_of(scelte, [](const QComboBox* c) { return c->currentIndex() >= 0; }));
    };
    for (std::size_t i = 0; i < file.size(); ++i) {
        const int riga = static_cast<int>(i);
        auto* nome = new QTableWidgetItem(QFileInfo(file[i].percorso).fileName());
        nome->setToolTip(file[i].percorso);
        tabella->setItem(riga, 0, nome);
        QComboBox* scelta = sceltaFormato(file[i].formato);
        tabella->setCellWidget(riga, 1, scelta);
        tabella->setItem(riga, 2, new QTableWidgetItem(file[i].motivo));
        QObject::connect(scelta, &QComboBox::currentIndexChanged, &box, aggiorna);
        scelte.push_back(scelta);
    }
    tabella->resizeColumnsToContents();
    aggiorna();

    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(new QLabel(
        QStringLiteral("Il tracciato riconosciuto di ciascun file; si può cambiare:"), &box));
    layout->addWidget(tabella);
    layout->addWidget(pulsanti);
    box.resize(std::max(640, box.sizeHint().width()), box.sizeHint().height());
    if (box.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    std::vector<Formato> formati;
    formati.reserve(scelte.size());
    for (const QComboBox* c : scelte) {
        formati.push_back(static_cast<Formato>(c->currentData().toInt()));
    }
    return formati;
}

}  // namespace pliventa
