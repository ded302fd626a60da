#include "shell/percorso.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace pliventa {

namespace {

// The memo's first line holds the last answer; a fresh memo holds 50 blanks so
// that the prompt has a line to read and proposes nothing.
const QByteArray kRigaVuota = QByteArray(50, ' ') + "\r\n";
constexpr qint64 kMaxRiga = 64 * 1024;  // a memo holds one path; never read more

// Replaces `percorso` with `contenuto` through a temporary file and a rename, so a
// failure leaves the previous memo whole. Returns an empty text or the reason.
QString scriviAtomico(const QString& percorso, const QByteArray& contenuto) {
    QSaveFile file(percorso);
    if (!file.open(QIODevice::WriteOnly)) {
        return percorso + QStringLiteral(": ") + file.errorString();
    }
    file.write(contenuto);
    if (!file.commit()) {
        return percorso + QStringLiteral(": ") + file.errorString();
    }
    return {};
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
