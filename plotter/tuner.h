// The speed dialog "Plotter Speed Adjust": a scroll bar from "Slower" to "Faster" (4 to 200).
#pragma once

#include <QDialog>

class QScrollBar;

namespace orrindale {

class TtunerFM : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMin = 4, kMax = 200, kDefault = 50;
    explicit TtunerFM(QWidget* parent = nullptr);
    // At most 200; the scroll bar keeps it at 4 or more.
    void SetTuner(int value);
    int GetTuner() const;
    QScrollBar* tunerSB = nullptr;
};

} // namespace orrindale
