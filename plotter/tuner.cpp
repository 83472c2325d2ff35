#include "plotter/tuner.h"
#include "common/escapeclose.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

namespace orrindale {

TtunerFM::TtunerFM(QWidget* parent) : QDialog(parent) {
    EscapeCloser::Install(this);
    setWindowTitle("Plotter Speed Adjust");
    tunerSB = new QScrollBar(Qt::Horizontal, this);
    tunerSB->setObjectName("tunerSB");
    tunerSB->setRange(kMin, kMax);
    tunerSB->setPageStep(10);
    tunerSB->setValue(kDefault);
    tunerSB->setMinimumWidth(240);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("Slower", this), 0, 0);
    grid->addWidget(tunerSB, 0, 1, 1, 3);
    grid->addWidget(new QLabel("Faster", this), 0, 4);
    auto* byDefault = new QPushButton("Default", this);
    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    byDefault->setAutoDefault(false);
    ok->setDefault(true);
    grid->addWidget(byDefault, 1, 1);
    grid->addWidget(ok, 1, 2);
    grid->addWidget(cancel, 1, 3);
    connect(byDefault, &QPushButton::clicked, this, [this] { tunerSB->setValue(kDefault); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TtunerFM::SetTuner(int value) {
    tunerSB->setValue(std::min(value, kMax));
}

int TtunerFM::GetTuner() const {
    return tunerSB->value();
}

} // namespace orrindale
