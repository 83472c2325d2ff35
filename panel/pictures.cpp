#include "panel/pictures.h"

#include <QFile>

#include "common/hpdata_qt.h"

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
    // Decoded by our own PNG reader: the toolkit's reader would first look through every
    // image format plug-in it has, loading each.
    QFile file(QStringLiteral(":/panel/") + name + QStringLiteral(".png"));
    QImage picture;
    if (file.open(QIODevice::ReadOnly)) DecodePng(file.readAll().toStdString(), picture);
    return picture;
}

} // namespace orrindale::pictures
