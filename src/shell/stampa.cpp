#include "shell/stampa.h"

#include <QAbstractItemModel>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>
#include <optional>

#include "base/file.h"

namespace pliventa {

namespace {

// The rows measured for the widths of the columns: the first ones and the last.
constexpr std::uint64_t kRigheMisurate = 500;

QString sottotitolo(const QString& archivio) {
    return QStringLiteral("File di lavoro: %1 · stampato il %2")
        .arg(QFileInfo(archivio).fileName(),
             QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
}

class TabellaCopiata : public TabellaStampa {
public:
    int colonne() const override { return static_cast<int>(intestazioni.size()); }
    QString intestazione(int colonna) const override { return intestazioni.value(colonna); }
    bool aDestra(int colonna) const override { return destra[static_cast<std::size_t>(colonna)]; }
    std::uint64_t righe() const override { return celle.size(); }
    QStringList riga(std::uint64_t riga, int& livello) const override {
        livello = livelli[static_cast<std::size_t>(riga)];
        return celle[static_cast<std::size_t>(riga)];
    }

    void copia(const QAbstractItemModel& m, const QModelIndex& genitore, int livello) {
        for (int r = 0; r < m.rowCount(genitore); ++r) {
            QStringList testi;
            for (int c = 0; c < m.columnCount(genitore) && c < colonne(); ++c) {
                const QModelIndex i = m.index(r, c, genitore);
                testi.append(m.data(i).toString());
                if ((m.data(i, Qt::TextAlignmentRole).toInt() & Qt::AlignRight) != 0) {
                    destra[static_cast<std::size_t>(c)] = true;
                }
            }
            celle.push_back(testi);
            livelli.push_back(livello);
            copia(m, m.index(r, 0, genitore), livello + 1);
        }
    }

    QStringList intestazioni;
    std::vector<bool> destra;
    std::vector<QStringList> celle;
    std::vector<int> livelli;
};

/// Where a printout goes while it is painted: a PDF file is written as a new file
/// that replaces the one chosen only once complete, as every file the program
/// writes; a printer takes the pages as they come.
class Destinazione {
public:
    explicit Destinazione(QPrinter& stampante)
        : stampante_(stampante), finale_(stampante.outputFileName()) {}
    ~Destinazione() { stampante_.setOutputFileName(finale_); }
    Destinazione(const Destinazione&) = delete;
    Destinazione& operator=(const Destinazione&) = delete;

    /// Points the printer at the new file. Errors: those of Sostituzione::prepara().
    EsitoVuoto prepara() {
        if (stampante_.outputFormat() != QPrinter::PdfFormat || finale_.isEmpty()) {
            return Nulla{};
        }
        Esito<Sostituzione> nuovo = Sostituzione::prepara(QFile::encodeName(finale_).toStdString());
        if (!nuovo) {
            return nuovo.errore();
        }
        sostituzione_.emplace(std::move(*nuovo));
        stampante_.setOutputFileName(QFile::decodeName(sostituzione_->nome().c_str()));
        return Nulla{};
    }
    /// The error of a printout the printer or the file did not take.
    Errore errore() const {
        return Errore{CodiceErrore::InputOutput, QFile::encodeName(finale_).toStdString(),
                      "impossibile stampare: la stampante o il file non si possono scrivere"};
    }
    EsitoVuoto completa() { return sostituzione_ ? sostituzione_->completa() : Nulla{}; }

private:
    QPrinter& stampante_;
    QString finale_;
    std::optional<Sostituzione> sostituzione_;  ///< a PDF file's, removed unless completed
};

/// The geometry of the pages of a table.
struct Impaginazione {
    QFont titolo, normale, grassetto;
    qreal larghezza = 0;  ///< of the page's printable area
    qreal altezza = 0;
    qreal riga = 0;     ///< height of a row
    qreal testa = 0;    ///< the heading and the column headers
    qreal margine = 0;  ///< inside a cell, on either side
    std::uint64_t perPagina = 1;
    std::vector<qreal> colonne;  ///< widths
};

/// The widest word of `testo`: a header may wrap between its words.
qreal parolaPiuLarga(const QFontMetricsF& f, const QString& testo) {
    qreal w = 0;
    for (const QString& parola : testo.split(u' ', Qt::SkipEmptyParts)) {
        w = std::max(w, f.horizontalAdvance(parola));
    }
    return w;
}

Impaginazione impagina(QPrinter& stampante, const TabellaStampa& t, qreal punti) {
    Impaginazione i;
    i.normale.setPointSizeF(punti);
    i.grassetto = i.normale;
    i.grassetto.setBold(true);
    i.titolo = i.grassetto;
    i.titolo.setPointSizeF(11);
    const QFontMetricsF fn(i.normale, &stampante);
    const QFontMetricsF fg(i.grassetto, &stampante);
    const QFontMetricsF ft(i.titolo, &stampante);
    const QRectF area = stampante.pageLayout().paintRectPixels(stampante.resolution());
    i.larghezza = area.width();
    i.altezza = area.height();
    i.riga = fn.height() * 1.3;
    i.margine = fn.averageCharWidth();
    // The title, the file's line and the column headers on two lines.
    i.testa = ft.height() * 1.4 + i.riga * 3;
    const qreal corpo = i.altezza - i.testa - i.riga * 1.5;  // the page number below
    i.perPagina = std::max<std::uint64_t>(1, static_cast<std::uint64_t>(corpo / i.riga));

    i.colonne.assign(static_cast<std::size_t>(t.colonne()), 0);
    const auto misura = [&](const QStringList& celle, int livello) {
        for (int c = 0; c < t.colonne() && c < celle.size(); ++c) {
            const qreal rientro = c == 0 ? livello * 2 * i.margine : 0;
            i.colonne[static_cast<std::size_t>(c)] = std::max(
                i.colonne[static_cast<std::size_t>(c)], fn.horizontalAdvance(celle[c]) + rientro);
        }
    };
    for (int c = 0; c < t.colonne(); ++c) {
        i.colonne[static_cast<std::size_t>(c)] = parolaPiuLarga(fg, t.intestazione(c));
    }
    int livello = 0;
    for (std::uint64_t r = 0; r < std::min(t.righe(), kRigheMisurate); ++r) {
        misura(t.riga(r, livello), livello);
    }
    if (t.righe() > kRigheMisurate) {
        misura(t.riga(t.righe() - 1, livello), livello);
    }
    for (qreal& w : i.colonne) {
        w += 2 * i.margine;
    }
    return i;
}

qreal larghezzaTotale(const Impaginazione& i) {
    qreal somma = 0;
    for (const qreal w : i.colonne) {
        somma += w;
    }
    return somma;
}

/// The pages of `t` in seven-point print, or smaller down to five points when the
/// columns would not fit across the page; narrower columns, texts cut short, only
/// past that.
Impaginazione impagina(QPrinter& stampante, const TabellaStampa& t) {
    constexpr qreal kPunti = 7;
    constexpr qreal kMinimo = 5;
    Impaginazione i = impagina(stampante, t, kPunti);
    const qreal somma = larghezzaTotale(i);
    if (somma > i.larghezza) {
        i = impagina(stampante, t, std::max(kMinimo, kPunti * i.larghezza / somma * 0.98));
    }
    const qreal resto = larghezzaTotale(i);
    if (resto > i.larghezza) {
        for (qreal& w : i.colonne) {
            w *= i.larghezza / resto;
        }
    }
    return i;
}

void cella(QPainter& p, const Impaginazione& i, qreal x, qreal y, qreal w, const QString& testo,
           bool destra) {
    const QRectF r(x + i.margine, y, std::max<qreal>(w - 2 * i.margine, 0), i.riga);
    const QString visibile =
        QFontMetricsF(p.font(), p.device()).elidedText(testo, Qt::ElideRight, r.width());
    p.drawText(r, visibile,
               QTextOption(Qt::AlignVCenter | (destra ? Qt::AlignRight : Qt::AlignLeft)));
}

void pagina(QPainter& p, const Impaginazione& i, const TabellaStampa& t, const QString& titolo,
            const QString& archivio, std::uint64_t numero, std::uint64_t pagine) {
    p.setFont(i.titolo);
    const qreal alto = QFontMetricsF(i.titolo, p.device()).height() * 1.4;
    p.drawText(QRectF(0, 0, i.larghezza, alto), Qt::AlignLeft | Qt::AlignVCenter, titolo);
    p.setFont(i.normale);
    p.drawText(QRectF(0, alto, i.larghezza, i.riga), Qt::AlignLeft | Qt::AlignVCenter,
               sottotitolo(archivio));
    p.setFont(i.grassetto);
    qreal x = 0;
    const qreal y = alto + i.riga;
    for (int c = 0; c < t.colonne(); ++c) {
        const qreal w = i.colonne[static_cast<std::size_t>(c)];
        const QRectF r(x + i.margine, y, std::max<qreal>(w - 2 * i.margine, 0), 2 * i.riga);
        QTextOption disposizione(Qt::AlignBottom | (t.aDestra(c) ? Qt::AlignRight : Qt::AlignLeft));
        disposizione.setWrapMode(QTextOption::WordWrap);
        p.drawText(r, t.intestazione(c), disposizione);
        x += w;
    }
    p.drawLine(QPointF(0, y + 2 * i.riga), QPointF(x, y + 2 * i.riga));
    p.setFont(i.normale);
    p.drawText(QRectF(0, i.altezza - i.riga, i.larghezza, i.riga), Qt::AlignCenter,
               QStringLiteral("Pagina %1 di %2").arg(numero).arg(pagine));
}

}  // namespace

std::unique_ptr<TabellaStampa> copiaTabella(const QAbstractItemModel& modello) {
    auto t = std::make_unique<TabellaCopiata>();
    for (int c = 0; c < modello.columnCount(); ++c) {
        t->intestazioni.append(modello.headerData(c, Qt::Horizontal).toString());
    }
    t->destra.assign(static_cast<std::size_t>(t->colonne()), false);
    t->copia(modello, QModelIndex(), 0);
    return t;
}

std::uint64_t pagineStampa(std::uint64_t righe) {
    // An A4 page across holds some forty-five rows of a table in seven-point print.
    return righe / 45 + 1;
}

EsitoVuoto stampaTabella(QPrinter& stampante, const TabellaStampa& tabella, const QString& titolo,
                         const QString& archivio, const Controllo& controllo) {
    Destinazione destinazione(stampante);
    if (EsitoVuoto pronta = destinazione.prepara(); !pronta) {
        return pronta;
    }
    QPainter p;
    if (!p.begin(&stampante)) {
        return destinazione.errore();
    }
    const Impaginazione i = impagina(stampante, tabella);
    const std::uint64_t righe = tabella.righe();
    const std::uint64_t pagine =
        std::max<std::uint64_t>(1, (righe + i.perPagina - 1) / i.perPagina);
    controllo.avanza(0, righe);
    for (std::uint64_t n = 0; n < pagine; ++n) {
        if (controllo.annullato()) {
            stampante.abort();
            p.end();
            return Errore{CodiceErrore::Annullato, {}, "stampa annullata"};
        }
        if (n > 0) {
            stampante.newPage();
        }
        pagina(p, i, tabella, titolo, archivio, n + 1, pagine);
        qreal y = i.testa;
        const std::uint64_t fine = std::min(righe, (n + 1) * i.perPagina);
        for (std::uint64_t r = n * i.perPagina; r < fine; ++r, y += i.riga) {
            int livello = 0;
            const QStringList celle = tabella.riga(r, livello);
            qreal x = 0;
            for (int c = 0; c < tabella.colonne() && c < celle.size(); ++c) {
                const qreal w = i.colonne[static_cast<std::size_t>(c)];
                const qreal rientro = c == 0 ? livello * 2 * i.margine : 0;
                cella(p, i, x + rientro, y, w - rientro, celle[c], tabella.aDestra(c));
                x += w;
            }
        }
        controllo.avanza(fine, righe);
    }
    if (!p.end()) {
        return destinazione.errore();
    }
    return destinazione.completa();
}

EsitoVuoto stampaDocumento(QPrinter& stampante, QTextDocument& documento) {
    Destinazione destinazione(stampante);
    if (EsitoVuoto pronta = destinazione.prepara(); !pronta) {
        return pronta;
    }
    documento.print(&stampante);
    return destinazione.completa();
}

std::unique_ptr<QTextDocument> documentoCampi(const QString& titolo, const QString& archivio,
                                              const QList<QPair<QString, QString>>& campi) {
    QString html = QStringLiteral("<h3>%1</h3><p>%2</p><table cellpadding=\"2\">")
                       .arg(titolo.toHtmlEscaped(), sottotitolo(archivio).toHtmlEscaped());
    for (const auto& [didascalia, valore] : campi) {
        html += QStringLiteral("<tr><td>%1</td><td><b>%2</b></td></tr>")
                    .arg(didascalia.toHtmlEscaped(), valore.toHtmlEscaped());
    }
    html += QStringLiteral("</table>");
    auto d = std::make_unique<QTextDocument>();
    d->setMetaInformation(QTextDocument::DocumentTitle, titolo);
    d->setHtml(html);
    return d;
}

}  // namespace pliventa
