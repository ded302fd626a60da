#include "shell/stampa.h"

#include <QAbstractItemModel>
#include <QDate>
#include <QFileInfo>
#include <QFont>
#include <QTextDocument>

namespace pliventa {

namespace {

QString intestazione(const QString& titolo, const QString& archivio) {
    return QStringLiteral("<h3>%1</h3><p>File di lavoro: %2 &middot; stampato il %3</p>")
        .arg(titolo.toHtmlEscaped(), QFileInfo(archivio).fileName().toHtmlEscaped(),
             QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
}

std::unique_ptr<QTextDocument> documento(const QString& titolo, const QString& html) {
    auto d = std::make_unique<QTextDocument>();
    d->setMetaInformation(QTextDocument::DocumentTitle, titolo);
    d->setHtml(html);
    return d;
}

void righe(const QAbstractItemModel& m, const QModelIndex& genitore, int livello, QString& html) {
    for (int r = 0; r < m.rowCount(genitore); ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < m.columnCount(genitore); ++c) {
            const QModelIndex i = m.index(r, c, genitore);
            const bool destra = (m.data(i, Qt::TextAlignmentRole).toInt() & Qt::AlignRight) != 0;
            html += destra ? QStringLiteral("<td align=\"right\">") : QStringLiteral("<td>");
            if (c == 0 && livello > 0) {
                html += QString(static_cast<qsizetype>(livello) * 4, QChar(0x00A0));
            }
            html += m.data(i).toString().toHtmlEscaped() + QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>");
        righe(m, m.index(r, 0, genitore), livello + 1, html);
    }
}

}  // namespace

int righeDaStampare(const QAbstractItemModel& modello) {
    int n = 0;
    for (int r = 0; r < modello.rowCount(); ++r) {
        n += 1 + modello.rowCount(modello.index(r, 0));
    }
    return n;
}

std::unique_ptr<QTextDocument> documentoTabella(const QString& titolo, const QString& archivio,
                                                const QAbstractItemModel& modello) {
    QString html = intestazione(titolo, archivio);
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\"><tr>");
    for (int c = 0; c < modello.columnCount(); ++c) {
        html += QStringLiteral("<th>") +
                modello.headerData(c, Qt::Horizontal).toString().toHtmlEscaped() +
                QStringLiteral("</th>");
    }
    html += QStringLiteral("</tr>");
    righe(modello, QModelIndex(), 0, html);
    html += QStringLiteral("</table>");
    auto d = documento(titolo, html);
    // Tables of many columns: small print, across the page.
    QFont carattere = d->defaultFont();
    carattere.setPointSize(7);
    d->setDefaultFont(carattere);
    d->setProperty(kOrizzontale, true);
    return d;
}

std::unique_ptr<QTextDocument> documentoCampi(const QString& titolo, const QString& archivio,
                                              const QList<QPair<QString, QString>>& campi) {
    QString html = intestazione(titolo, archivio) + QStringLiteral("<table cellpadding=\"2\">");
    for (const auto& [didascalia, valore] : campi) {
        html += QStringLiteral("<tr><td>%1</td><td><b>%2</b></td></tr>")
                    .arg(didascalia.toHtmlEscaped(), valore.toHtmlEscaped());
    }
    html += QStringLiteral("</table>");
    return documento(titolo, html);
}

}  // namespace pliventa
