#include "shell/percorso.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

#include "base/errore.h"

namespace pliventa {

namespace {

// The memo's first line holds the last answer; a fresh memo holds 50 blanks so
// that the prompt has a line to read and proposes nothing.
const QByteArray kRigaVuota = QByteArray(50, ' ') + "\r\n";
constexpr qint64 kMaxRiga = qint64{64} * 1024;  // a memo holds one path; never read more

// What Qt reports without an error number, in Italian: Qt's own texts are English.
QString motivoQt(QFileDevice::FileError errore) {
    switch (errore) {
        case QFileDevice::ReadError:
            return QStringLiteral("errore di lettura");
        case QFileDevice::WriteError:
            return QStringLiteral("errore di scrittura");
        case QFileDevice::ResourceError:
            return QStringLiteral("risorse di sistema esaurite");
        case QFileDevice::OpenError:
            return QStringLiteral("impossibile aprire il file");
        case QFileDevice::AbortError:
            return QStringLiteral("operazione interrotta");
        case QFileDevice::TimeOutError:
            return QStringLiteral("tempo di attesa scaduto");
        case QFileDevice::RemoveError:
            return QStringLiteral("impossibile eliminare il file");
        case QFileDevice::RenameError:
            return QStringLiteral("impossibile sostituire il file");
        case QFileDevice::PositionError:
        case QFileDevice::ResizeError:
        case QFileDevice::PermissionsError:
        case QFileDevice::CopyError:
        case QFileDevice::FatalError:
        case QFileDevice::UnspecifiedError:
        case QFileDevice::NoError:
            break;
    }
    return QStringLiteral("errore non specificato");
}

// Why a write failed, in Italian: the reason of the system call that failed. Qt
// refuses a folder in the file's place, and a file it finds not writable, before
// calling the system, so those cases have no error number.
QString motivoScrittura(const QSaveFile& file, int numeroErrore) {
    if (numeroErrore != 0) {
        return QString::fromStdString(motivoDiSistema(numeroErrore));
    }
    const QFileInfo info(file.fileName());
    if (info.isDir()) {
        return QString::fromStdString(motivoDiSistema(EISDIR));
    }
    if (info.exists() && !info.isWritable()) {
        return QString::fromStdString(motivoDiSistema(EACCES));
    }
    return motivoQt(file.error());
}

// Blanks are trimmed, not tabs: the memo pads with blanks.
QString senzaSpazi(const QString& testo) {
    qsizetype inizio = 0;
    qsizetype fine = testo.size();
    while (inizio < fine && testo[inizio] == u' ') {
        ++inizio;
    }
    while (fine > inizio && testo[fine - 1] == u' ') {
        --fine;
    }
    return testo.mid(inizio, fine - inizio);
}

QString primaRiga(const QString& percorso) {
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray riga = file.readLine(kMaxRiga);
    while (riga.endsWith('\n') || riga.endsWith('\r')) {
        riga.chop(1);
    }
    return QString::fromUtf8(riga);
}

}  // namespace

QString scriviAtomico(const QString& percorso, const QByteArray& contenuto) {
    QSaveFile file(percorso);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        return percorso + QStringLiteral(": ") + motivoScrittura(file, errno);
    }
    errno = 0;
    file.write(contenuto);
    if (!file.commit()) {
        return percorso + QStringLiteral(": ") + motivoScrittura(file, errno);
    }
    return {};
}

QString avvisoMemo(const RispostaPercorso& risposta) {
    return risposta.avviso.isEmpty()
               ? QString()
               : QStringLiteral(" · percorso non ricordato: ") + risposta.avviso;
}

QString percorsoMemo(const TipoPercorso& tipo, const QString& cartellaCorrente) {
    QString nome = tipo.memo;
    if (nome.startsWith(u'\\')) {
        nome.remove(0, 1);
    }
    return cartellaCorrente + u'/' + nome;
}

QString cartellaDi(const QString& percorso) {
    const qsizetype ultimo = percorso.lastIndexOf(u'/');
    return ultimo < 0 ? QString() : percorso.left(ultimo + 1);
}

std::optional<RispostaPercorso> chiedipercorso(const TipoPercorso& tipo, Dialoghi& dialoghi,
                                               const QString& cartellaCorrente) {
    const QString memo = percorsoMemo(tipo, cartellaCorrente);
    QString avviso;
    if (!QFileInfo::exists(memo)) {
        avviso = scriviAtomico(memo, kRigaVuota);
    }
    const QString proposta = senzaSpazi(primaRiga(memo));
    const QString risposta =
        dialoghi.input(QStringLiteral("Inserisci percorso"), tipo.titolo, proposta);
    const QString errore = scriviAtomico(memo, risposta.toUtf8() + "\r\n");
    if (!errore.isEmpty()) {
        avviso = errore;
    }
    if (risposta.isEmpty()) {
        return std::nullopt;
    }
    return RispostaPercorso{risposta, cartellaDi(risposta), avviso};
}

}  // namespace pliventa
