#include "shell/finestra_guida.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The guide's resources live in the window's static library, which nothing else
// references: they are registered by name, from the global namespace the
// registration function lives in.
static void registraGuida() {
    Q_INIT_RESOURCE(guida);
}

namespace pliventa {

FinestraGuida::FinestraGuida(QWidget* genitore) : QWidget(genitore) {
    registraGuida();
    setObjectName(QStringLiteral("FinestraGuida"));
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Guida di Pliventa"));
    auto* colonna = new QVBoxLayout(this);
    testo_ = new QTextBrowser(this);
    testo_->setObjectName(QStringLiteral("testoGuida"));
    // Links inside the guide move within it; the few outside it (none today) would
    // go to the desktop's browser rather than be shown as HTML source.
    testo_->setOpenExternalLinks(true);
    testo_->setSource(QUrl(QStringLiteral("qrc:/guida/guida.html")));
    colonna->addWidget(testo_, 1);
    auto* barra = new QHBoxLayout;
    barra->addStretch(1);
    auto* chiudi = new QPushButton(QStringLiteral("&Chiudi"), this);
    chiudi->setObjectName(QStringLiteral("cmdChiudi"));
    connect(chiudi, &QPushButton::clicked, this, &QWidget::close);
    barra->addWidget(chiudi);
    colonna->addLayout(barra);
    resize(760, 640);
}

QString FinestraGuida::testo() const {
    return testo_->toPlainText();
}

}  // namespace pliventa
