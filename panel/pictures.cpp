#include "panel/pictures.h"

// The pictures are compiled into a static library; nothing in the program refers to its resource
// object, so the linker would drop it unless it is initialised by name here.
static void InitPanelPictures() {
    Q_INIT_RESOURCE(panel_pictures);
}

namespace orrindale::pictures {

QImage FormPicture(const QString& name, int scale) {
    static const bool initialised = (InitPanelPictures(), true);
    (void)initialised;
    if (scale == 2) {
        QImage sharp = FormPicture(name + QStringLiteral("@2x"));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2);
            return sharp;
        }
    }
    QImage picture(QStringLiteral(":/panel/") + name + QStringLiteral(".png"));
    if (picture.isNull()) return picture;
    const bool transparent = picture.hasAlphaChannel();
    return picture.convertToFormat(transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

} // namespace orrindale::pictures
