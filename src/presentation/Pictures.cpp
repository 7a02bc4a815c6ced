#include "presentation/Pictures.h"

#include <QGuiApplication>

namespace Pictures {

QPixmap load(const QString &resource, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1 && resource.endsWith(QLatin1String(".png"))) {
        QString twice = resource;
        twice.insert(twice.size() - 4, QLatin1String("@2x"));
        QPixmap picture(twice);
        if (!picture.isNull()) {
            picture.setDevicePixelRatio(2);
            return picture;
        }
    }
    return QPixmap(resource);
}

qreal screenRatio()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

} // namespace Pictures
