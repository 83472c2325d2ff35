// The pictures of the panel: the calculator picture at the back and, over it, every picture
// that shows the state of a key, switch, lamp or button. A picture is either at its shown place
// or parked; the state of a switch is which of its two pictures is shown. Most pictures are
// never shown in a session (a key not pressed, a lever not moved), so a picture may be added as
// a loader that is called the first time it is shown.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "common/runpicture.h"

namespace orrindale {

class PanelScene {
public:
    // Stacking layers, back to front.
    enum Layer {
        Back = 0,
        Pictures = 1,
        ErrorLamp = 2,
        Card = 3,
        Labels = 4,
        Paper = 5,
        Platen = 6
    };

    void SetPanel(RunPicture panel) { panel_ = std::move(panel); }
    // The part of the panel picture at `place` (in logical pixels), at the panel's resolution.
    QImage PanelPart(QRect place) const { return panel_.Part(place); }

    using Loader = std::function<QImage()>;

    // Adds (or replaces) a picture; it starts parked.
    void Add(const QString& name, const QImage& image, QPoint shownAt, Layer layer = Pictures);
    // The same with a picture decoded when it is first shown; `place` is where it stands and its
    // size in logical pixels.
    void AddDeferred(const QString& name, Loader load, QRect place, Layer layer = Pictures);
    bool Has(const QString& name) const { return sprites_.count(name) != 0; }
    void Show(const QString& name, bool shown);
    bool IsShown(const QString& name) const;
    void SetImage(const QString& name, const QImage& image);
    void MoveTo(const QString& name, QPoint shownAt);
    QRect Bounds(const QString& name) const;

    // Paints the pictures within `area` (the panel is drawn only there; the others are clipped by
    // the painter).
    void Paint(QPainter& painter, const QRegion& area) const;

private:
    struct Sprite {
        QImage image;
        Loader load; // until the first showing
        QSize size;  // in logical pixels, before the picture is loaded
        QPoint at;
        Layer layer = Pictures;
        bool shown = false;
        int order = 0;
    };
    RunPicture panel_;
    std::map<QString, Sprite> sprites_;
    int nextOrder_ = 0;
};

} // namespace orrindale
