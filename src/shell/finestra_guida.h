// The user's guide, in a window of its own beside the main window: HTML kept in
// the program's resources (guida/guida.html), the same file installed with the
// documentation.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace pliventa {

class FinestraGuida : public QWidget {
    Q_OBJECT

public:
    /// The guide as a window of `genitore`, not modal: the clerk reads it while
    /// working in the main window. Deleted when closed.
    explicit FinestraGuida(QWidget* genitore);

    /// The guide's text as a clerk reads it, without the markup.
    QString testo() const;

private:
    QTextBrowser* testo_ = nullptr;
};

}  // namespace pliventa
