#include "panel/funccard.h"

#include <QVBoxLayout>

#include "common/hpdata_qt.h"

namespace orrindale {

TfuncCardFM::TfuncCardFM(QWidget* parent) : QWidget(parent), cardImage_(new QLabel(this)) {
    setWindowTitle("HP-9100B Function Card");
    cardImage_->setMinimumSize(1, 1); // the window may be made smaller than its picture
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(cardImage_);
}

bool TfuncCardFM::LoadPicture(const QString& path, int scale) {
    QImage picture;
    loaded_ = LoadScrambledPng(path, picture);
    if (!loaded_) return false;
    picture.setDevicePixelRatio(scale);
    cardImage_->setPixmap(QPixmap::fromImage(picture));
    // The window may shrink but never grow beyond its picture.
    const QSize size = picture.deviceIndependentSize().toSize();
    resize(size);
    setMaximumSize(size);
    return true;
}

} // namespace orrindale
