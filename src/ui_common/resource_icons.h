#pragma once
// The programs' icons by resource number (128, 130, 154-162), drawn from our own SVG
// images at the small and large sizes the windows ask for.
#include <QIcon>

namespace m2::ui {

// A null icon for a number that has no image.
QIcon ResourceIcon(int id);

}  // namespace m2::ui
