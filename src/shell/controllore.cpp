#include "shell/controllore.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "base/testo.h"
#include "importers/importatori.h"
#include "importers/lettore.h"
#include "risconet/formati.h"
#include "risconet/risconet.h"
#include "shell/lavoro.h"
#include "shell/stampa.h"

namespace pliventa {

namespace {

// The settings keep the last work file made, as an absolute path, and the notice
// reading it was written with: a 1997 violation file reads its notices short.
const QString kChiavePercorso = QStringLiteral("UltimoArchivio/percorso");
const QString kChiaveLettura = QStringLiteral("UltimoArchivio/lettura");

QString nomeLettura(LetturaAtto lettura) {
    return lettura == LetturaAtto::breve ? QStringLiteral("breve") : QStringLiteral("lunga");
}

/// The Belfiore code as the output file's single-byte text holds it: a character
/// the code page lacks becomes "?", so the answer is used as typed where it can be.
std::string codiceBelfiore(const QString& risposta) {
    std::string out;
    for (const QChar c : risposta) {
        const std::optional<std::string> b = aCp1252(QString(c).toStdString());
        out += b ? *b : std::string("?");
    }
    return out;
}

}  // namespace

template <typename T>
Esito<T> Controllore::esegui(const std::function<Esito<T>(Lavoro&)>& compito, const QString& titolo,
                             const QStringList& fasi) {
    std::optional<Esito<T>> esito;
    Lavoro lavoro([&](Lavoro& l) { esito = compito(l); });
    esegui_(lavoro, titolo, fasi);
    return esitoDi(lavoro, std::move(esito));
}

EsitoVuoto Controllore::apriArchivio(const QString& percorso, LetturaAtto lettura) {
    Esito<ArchivioLavoro> archivio =
        ArchivioLavoro::apriarchivio(QFile::encodeName(percorso).toStdString());
    if (!archivio) {
        return archivio.errore();
    }
    sessione_.apri(std::move(*archivio), lettura);
    return Nulla{};
}

void Controllore::ricordaArchivio(const QString& percorso, LetturaAtto lettura) {
    QSettings impostazioni;
    impostazioni.setValue(kChiavePercorso, QFileInfo(percorso).absoluteFilePath());
    impostazioni.setValue(kChiaveLettura, nomeLettura(lettura));
}

std::optional<std::pair<QString, LetturaAtto>> Controllore::ultimoArchivio() const {
    const QSettings impostazioni;
    const QString percorso = impostazioni.value(kChiavePercorso).toString();
    if (percorso.isEmpty() || !QFileInfo(percorso).isFile()) {
        return std::nullopt;
    }
    const LetturaAtto lettura =
        impostazioni.value(kChiaveLettura).toString() == nomeLettura(LetturaAtto::breve)
            ? LetturaAtto::breve
            : LetturaAtto::lunga;
    return std::pair(percorso, lettura);
}

QString Controllore::archivioImportazione(Tracciato tracciato, const QString& cartella) {
    return archivioImportazione(std::span(&tracciato, 1), cartella);
}

QString Controllore::archivioImportazione(std::span<const Tracciato> tracciati,
                                          const QString& cartella) {
    const std::string_view nome = nomeArchivio(tracciati);
    return cartella + u'/' + QString::fromLatin1(nome.data(), static_cast<qsizetype>(nome.size()));
}

Esito<std::vector<Conteggi>> Controllore::importaTutti(
    const std::vector<std::pair<QString, Formato>>& input, const QString& belfiore,
    const QString& archivio, const QString& titolo) {
    std::vector<Ingresso> ingressi;
    ingressi.reserve(input.size());
    for (const auto& [percorso, formato] : input) {
        ingressi.push_back({QFile::encodeName(percorso).toStdString(),
                            nuovaImportazione(formato, codiceBelfiore(belfiore))});
    }
    const std::string daScrivere = QFile::encodeName(archivio).toStdString();
    return esegui<std::vector<Conteggi>>(
        [&](Lavoro& l) { return pliventa::importaTutti(ingressi, daScrivere, l.controllo()); },
        titolo, {QStringLiteral("Importazione dei versamenti…")});
}

Esito<Conteggi> Controllore::importa(const QString& input, Tracciato tracciato,
                                     const QString& archivio, const QString& titolo) {
    const std::unique_ptr<Trasformazione> t = nuovaTrasformazione(tracciato);
    const std::string daLeggere = QFile::encodeName(input).toStdString();
    const std::string daScrivere = QFile::encodeName(archivio).toStdString();
    return esegui<Conteggi>(
        [&](Lavoro& l) { return pliventa::importa(daLeggere, daScrivere, *t, l.controllo()); },
        titolo, {QStringLiteral("Importazione dei versamenti…")});
}

Esito<Conteggi> Controllore::converti(LettoreRighe& input, const std::string& output,
                                      const QString& belfiore, const QString& titolo) {
    const std::unique_ptr<Trasformazione> t = nuovaConversioneRisconet(codiceBelfiore(belfiore));
    return esegui<Conteggi>(
        [&](Lavoro& l) { return pliventa::importa(input, output, *t, l.controllo()); }, titolo,
        {QStringLiteral("Conversione dei versamenti…")});
}

Esito<RiepilogoEsportazione> Controllore::esporta(const QString& destinazione,
                                                  const std::string& foglio, const QString& valuta,
                                                  const QString& titolo) {
    OpzioniEsportazione opzioni;
    opzioni.nomeFoglio = foglio;
    opzioni.valuta = valuta.toStdString();
    opzioni.lettura = sessione_.lettura();
    opzioni.righeFoglio = righeFoglio_;
    const std::string libro = QFile::encodeName(destinazione).toStdString();
    // The export reads the open work file by record number from its own thread;
    // it never moves recordcorrente, so browsing goes on from the payment shown.
    const ArchivioLavoro& archivio = *sessione_.archivio();
    return esegui<RiepilogoEsportazione>(
        [&](Lavoro& l) { return pliventa::stampaexcel(archivio, libro, opzioni, l.controllo()); },
        titolo,
        {QStringLiteral("Calcolo dei totali…"), QStringLiteral("Scrittura dei versamenti…"),
         QStringLiteral("Compressione della cartella di lavoro…")});
}

Esito<Riepilogo> Controllore::riepiloga(const ArchivioLavoro& archivio, const QString& titolo,
                                        const AmbitoRiepilogo& ambito) {
    return esegui<Riepilogo>(
        [&](Lavoro& l) { return pliventa::riepiloga(archivio, l.controllo(), 0, ambito); }, titolo,
        {QStringLiteral("Calcolo dei totali…")});
}

Esito<AnomalieTrovate> Controllore::controlla(const ArchivioLavoro& archivio,
                                              const QString& titolo) {
    return esegui<AnomalieTrovate>(
        [&](Lavoro& l) { return cercaAnomalie(archivio, l.controllo()); }, titolo,
        {QStringLiteral("Controllo dei versamenti…")});
}

EsitoVuoto Controllore::stampa(QPrinter& stampante, const TabellaStampa& tabella,
                               const QString& intestazione, const QString& archivio,
                               const QString& titolo) {
    return esegui<Nulla>(
        [&](Lavoro& l) {
            return stampaTabella(stampante, tabella, intestazione, archivio, l.controllo());
        },
        titolo, {QStringLiteral("Stampa delle pagine…")});
}

}  // namespace pliventa
