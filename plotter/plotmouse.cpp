// TplotFM's mouse: knobs, switches, the pen button, the arm and holder by hand, the window
// dragged by its strip.
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

#include "common/hpdata.h"
#include "plotter/plotart.h"
#include "plotter/plotwindow.h"

namespace orrindale {

int TplotFM::KnobAt(QPoint at) const {
    for (int k = 1; k <= 4; ++k)
        if (plotart::TurnHandle(k).contains(at)) return k;
    return 0;
}

QString TplotFM::HintAt(QPoint at) const {
    const std::pair<QRect, const char*> hints[] = {{plotart::kRelArea, "Release paper"},
                                                   {plotart::kHoldArea, "Hold paper"},
                                                   {plotart::kSbyArea, "Set Standby mode"},
                                                   {plotart::kOnArea, "Set On mode"}};
    for (const auto& [area, hint] : hints)
        if (area.contains(at)) return hint;
    return {};
}

Qt::CursorShape TplotFM::CursorAt(QPoint at) const {
    if (KnobAt(at) || plotart::kMoveStrip.contains(at)) return Qt::OpenHandCursor;
    if (plotart::kPenButton.contains(at) || !HintAt(at).isEmpty()) return Qt::PointingHandCursor;
    if (model_.CanPositionByHand() && (HolderRect().contains(at) || ArmRect().contains(at)))
        return Qt::OpenHandCursor;
    return Qt::ArrowCursor;
}

bool TplotFM::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QString hint = HintAt(help->pos());
    if (hint.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), hint, this);
    }
    return true;
}

void TplotFM::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool left = event->button() == Qt::LeftButton;
    drag_ = Drag::None;
    if (const int k = KnobAt(at)) {
        model_.KnobPress(k, at.y(), left);
        if (left) {
            drag_ = Drag::Knob;
            dragKnob_ = k;
            setCursor(Qt::ClosedHandCursor);
        }
        return;
    }
    if (!left) return;
    if (plotart::kPenButton.contains(at)) {
        if (model_.PenDot()) drag_ = Drag::PenButton;
    } else if (plotart::kMoveStrip.contains(at)) {
        drag_ = Drag::Window;
        dragFrom_ = event->globalPosition().toPoint() - pos();
        setCursor(Qt::ClosedHandCursor);
    } else if (model_.CanPositionByHand() && HolderRect().contains(at)) {
        drag_ = Drag::Holder;
        dragFrom_ = at;
        dragStart_ = PaperPoint().y();
    } else if (model_.CanPositionByHand() && ArmRect().contains(at)) {
        drag_ = Drag::Arm;
        dragFrom_ = at;
        dragStart_ = PaperPoint().x();
    }
}

void TplotFM::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    switch (drag_) {
    case Drag::Knob: model_.KnobMove(dragKnob_, at.y()); break;
    case Drag::Window: move(event->globalPosition().toPoint() - dragFrom_); break;
    case Drag::Arm: model_.DragArmTo(dragStart_ + at.x() - dragFrom_.x()); break;
    case Drag::Holder: model_.DragHolderTo(dragStart_ + at.y() - dragFrom_.y()); break;
    default: setCursor(CursorAt(at)); break;
    }
}

void TplotFM::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const Drag drag = std::exchange(drag_, Drag::None);
    if (drag == Drag::Knob) {
        model_.KnobRelease(dragKnob_);
        setCursor(CursorAt(at));
        return;
    }
    if (drag == Drag::PenButton) {
        PenShown(false);
        return;
    }
    if (drag == Drag::Window) {
        setCursor(CursorAt(at));
        if (services_.Bounds) services_.Bounds->SetMainBounds(x(), width(), y());
        return;
    }
    if (event->button() != Qt::LeftButton || drag != Drag::None) return;
    if (plotart::kHoldArea.contains(at))
        model_.SetPaperHold(true, true);
    else if (plotart::kRelArea.contains(at))
        model_.SetPaperHold(false, true);
    else if (plotart::kOnArea.contains(at))
        model_.SetMode(true, true);
    else if (plotart::kSbyArea.contains(at))
        model_.SetMode(false, true);
}

} // namespace orrindale
