// The pictures of the window, drawn here so that they look the same under every style.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace pliventa {

/// The program's logo: a payment slip with "ICI" and the program's name.
QPixmap logo(qreal rapportoPixel = 1.0);

/// The four navigation pictures.
enum class Freccia { inizio, indietro, avanti, fine };

/// The icon of a navigation button: a triangle pointing the way, with a bar at the
/// end for first and last.
QIcon iconaNavigazione(Freccia freccia);

}  // namespace pliventa
