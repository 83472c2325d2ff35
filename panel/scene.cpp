#include "panel/scene.h"

#include <algorithm>
#include <utility>

namespace orrindale {

void PanelScene::Add(const QString& name, const QImage& image, QPoint shownAt, Layer layer) {
    Sprite& s = sprites_[name];
    s.image = image;
    s.at = shownAt;
    s.layer = layer;
    s.shown = false;
    s.order = nextOrder_++;
    s.load = nullptr;
}

void PanelScene::AddDeferred(const QString& name, Loader load, QRect place, Layer layer) {
    Add(name, QImage(), place.topLeft(), layer);
    Sprite& s = sprites_[name];
    s.load = std::move(load);
    s.size = place.size();
}

void PanelScene::Show(const QString& name, bool shown) {
    auto it = sprites_.find(name);
    if (it == sprites_.end()) return;
    Sprite& s = it->second;
    if (shown && s.load) s.image = std::exchange(s.load, nullptr)();
    s.shown = shown;
}

bool PanelScene::IsShown(const QString& name) const {
    auto it = sprites_.find(name);
    return it != sprites_.end() && it->second.shown;
}

void PanelScene::SetImage(const QString& name, const QImage& image) {
    auto it = sprites_.find(name);
    if (it == sprites_.end()) return;
    it->second.image = image;
    it->second.load = nullptr;
}

void PanelScene::MoveTo(const QString& name, QPoint shownAt) {
    auto it = sprites_.find(name);
    if (it != sprites_.end()) it->second.at = shownAt;
}

QRect PanelScene::Bounds(const QString& name) const {
    auto it = sprites_.find(name);
    if (it == sprites_.end()) return {};
    // In logical pixels: a picture drawn at 2x covers the same place as its 1x original.
    const Sprite& s = it->second;
    return QRect(s.at, s.load ? s.size : s.image.deviceIndependentSize().toSize());
}

void PanelScene::Paint(QPainter& painter, const QRegion& area) const {
    panel_.Draw(painter, area);
    std::vector<const Sprite*> shown;
    for (const auto& [name, sprite] : sprites_)
        if (sprite.shown && !sprite.image.isNull()) shown.push_back(&sprite);
    std::sort(shown.begin(), shown.end(), [](const Sprite* a, const Sprite* b) {
        return a->layer != b->layer ? a->layer < b->layer : a->order < b->order;
    });
    for (const Sprite* s : shown)
        painter.drawImage(s->at, s->image);
}

} // namespace orrindale
