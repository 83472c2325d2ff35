// The pictures of the panel: the calculator picture at the back and, over it, every picture
// that shows the state of a key, switch, lamp or button. A picture is either at its shown place
// or parked; the state of a switch is which of its two pictures is shown.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <map>
#include <vector>

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

    void SetPanel(const QImage& panel) { panel_ = panel; }
    const QImage& Panel() const { return panel_; }

    // Adds (or replaces) a picture; it starts parked.
    void Add(const QString& name, const QImage& image, QPoint shownAt, Layer layer = Pictures);
    bool Has(const QString& name) const { return sprites_.count(name) != 0; }
    void Show(const QString& name, bool shown);
    bool IsShown(const QString& name) const;
    void SetImage(const QString& name, const QImage& image);
    void MoveTo(const QString& name, QPoint shownAt);
    QRect Bounds(const QString& name) const;

    void Paint(QPainter& painter) const;

private:
    struct Sprite {
        QImage image;
        QPoint at;
        Layer layer = Pictures;
        bool shown = false;
        int order = 0;
    };
    QImage panel_;
    std::map<QString, Sprite> sprites_;
    int nextOrder_ = 0;
};

} // namespace orrindale
