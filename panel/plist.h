// The paper viewer window "Printer Paper": the paper roll, twenty lines at a time.
#pragma once

#include <QWidget>

namespace orrindale {

class TmainFM;

class TplistFM : public QWidget {
    Q_OBJECT
public:
    explicit TplistFM(TmainFM& main, QWidget* parent = nullptr);
    // Shows the end of the roll after lines were added or the roll was discarded.
    void UpdatePrint();

private:
    TmainFM& main_;
};

} // namespace orrindale
