#include "ui_common/resource_icons.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// Resources of a static library are registered by hand, once, outside any namespace.
static void RegisterIconResources() { Q_INIT_RESOURCE(icons); }

namespace m2::ui {

QIcon ResourceIcon(int id) {
  static const bool registered = (RegisterIconResources(), true);
  (void)registered;
  QSvgRenderer renderer(QStringLiteral(":/icons/%1.svg").arg(id));
  if (!renderer.isValid()) return {};
  QIcon icon;
  for (int size : {16, 24, 32, 48}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace m2::ui
