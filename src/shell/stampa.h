// What File › Stampa… prints: a document with the Italian heading of every
// printout (what it is, the work file's name, the day), made from what the clerk
// is looking at; Qt numbers its pages as it prints it.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <memory>

class QAbstractItemModel;
class QTextDocument;

namespace pliventa {

/// The property of a printout that asks for landscape pages (a bool).
inline constexpr const char* kOrizzontale = "orizzontale";

/// Rows a printout of a table holds before the clerk is asked whether to go on:
/// about a thousand pages.
inline constexpr int kRigheSenzaDomanda = 40'000;

/// A printout titled `titolo` of the work file `archivio` (a path; its name is
/// shown) holding the table of `modello`: its headers, then its rows in order,
/// each row's children (a tree) indented under it. Cannot fail.
std::unique_ptr<QTextDocument> documentoTabella(const QString& titolo, const QString& archivio,
                                                const QAbstractItemModel& modello);

/// A printout titled `titolo` of the work file `archivio` holding `campi`, a
/// caption and its value a line. Cannot fail.
std::unique_ptr<QTextDocument> documentoCampi(const QString& titolo, const QString& archivio,
                                              const QList<QPair<QString, QString>>& campi);

/// The rows of `modello` a printout holds, its children included.
int righeDaStampare(const QAbstractItemModel& modello);

}  // namespace pliventa
