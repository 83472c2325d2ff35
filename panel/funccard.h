// The function card window: one picture listing every key, its code and its PC key.
#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

namespace orrindale {

class TfuncCardFM : public QWidget {
    Q_OBJECT
public:
    explicit TfuncCardFM(QWidget* parent = nullptr);
    // Loads the scrambled picture and fits the window to it; false when it cannot be read.
    // A picture drawn at scale 2 has two pixels for each of the window's logical pixels.
    bool LoadPicture(const QString& path, int scale = 1);
    bool HasPicture() const { return loaded_; }

private:
    QLabel* cardImage_;
    bool loaded_ = false;
};

} // namespace orrindale
