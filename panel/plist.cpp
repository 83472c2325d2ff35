#include "panel/plist.h"

#include "panel/mainwindow.h"

namespace orrindale {

TplistFM::TplistFM(TmainFM& main, QWidget* parent) : QWidget(parent), main_(main) {
    setWindowTitle("Printer Paper");
}

void TplistFM::UpdatePrint() {
    update();
}

} // namespace orrindale
