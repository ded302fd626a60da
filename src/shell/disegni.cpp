#include "shell/disegni.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace pliventa {

namespace {

const QColor kBlu(0x2f, 0x5d, 0x7c);
const QColor kCarta(0xf7, 0xf9, 0xfb);
const QColor kRighe(0xb8, 0xc7, 0xd3);

}  // namespace

QPixmap logo(qreal rapportoPixel) {
    // Drawn on a 96 x 112 grid, shown at three quarters of it.
    constexpr int kLarghezza = 96;
    constexpr int kAltezza = 112;
    constexpr qreal kScala = 0.75;
    QPixmap p(static_cast<int>(kLarghezza * kScala * rapportoPixel),
              static_cast<int>(kAltezza * kScala * rapportoPixel));
    p.setDevicePixelRatio(rapportoPixel);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.scale(kScala, kScala);

    // A sheet with its top right corner folded.
    const qreal piega = 16;
    const QRectF foglio(12, 4, 72, 92);
    QPainterPath contorno;
    contorno.moveTo(foglio.topLeft());
    contorno.lineTo(foglio.right() - piega, foglio.top());
    contorno.lineTo(foglio.right(), foglio.top() + piega);
    contorno.lineTo(foglio.bottomRight());
    contorno.lineTo(foglio.bottomLeft());
    contorno.closeSubpath();
    g.setPen(QPen(kBlu, 1.5));
    g.setBrush(kCarta);
    g.drawPath(contorno);
    QPainterPath angolo;
    angolo.moveTo(foglio.right() - piega, foglio.top());
    angolo.lineTo(foglio.right() - piega, foglio.top() + piega);
    angolo.lineTo(foglio.right(), foglio.top() + piega);
    g.setBrush(kRighe);
    g.drawPath(angolo);

    // "ICI" in a band, then the lines of a slip.
    g.setPen(Qt::NoPen);
    g.setBrush(kBlu);
    g.drawRoundedRect(QRectF(20, 24, 48, 24), 3, 3);
    QFont carattere(QStringLiteral("Sans Serif"));
    carattere.setBold(true);
    carattere.setPixelSize(17);
    g.setFont(carattere);
    g.setPen(Qt::white);
    g.drawText(QRectF(20, 24, 48, 24), Qt::AlignCenter, QStringLiteral("ICI"));
    g.setPen(QPen(kRighe, 2));
    for (int i = 0; i < 3; ++i) {
        const qreal y = 58 + i * 8;
        g.drawLine(QPointF(22, y), QPointF(i == 2 ? 54 : 74, y));
    }

    // The name under the sheet.
    carattere.setPixelSize(13);
    g.setFont(carattere);
    g.setPen(kBlu);
    g.drawText(QRectF(0, 97, kLarghezza, 14), Qt::AlignCenter, QStringLiteral("Pliventa"));
    return p;
}

QIcon iconaNavigazione(Freccia freccia) {
    QIcon icona;
    for (const int lato : {16, 24, 32, 48}) {
        QPixmap p(lato, lato);
        p.fill(Qt::transparent);
        QPainter g(&p);
        g.setRenderHint(QPainter::Antialiasing);
        g.setPen(Qt::NoPen);
        g.setBrush(kBlu);
        const qreal u = lato / 16.0;
        const bool sinistra = freccia == Freccia::inizio || freccia == Freccia::indietro;
        const bool barra = freccia == Freccia::inizio || freccia == Freccia::fine;
        // Drawn pointing right, mirrored for the backward moves.
        g.translate(sinistra ? lato : 0, 0);
        g.scale(sinistra ? -1 : 1, 1);
        const qreal x0 = barra ? 3.5 * u : 5 * u;
        g.drawPolygon(
            QPolygonF({QPointF(x0, 3 * u), QPointF(x0 + 7.5 * u, 8 * u), QPointF(x0, 13 * u)}));
        if (barra) {
            g.drawRect(QRectF(11.5 * u, 3 * u, 2 * u, 10 * u));
        }
        g.end();
        icona.addPixmap(p);
    }
    return icona;
}

}  // namespace pliventa
