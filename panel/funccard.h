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
    bool LoadPicture(const QString& path);
    bool HasPicture() const { return loaded_; }

private:
    QLabel* cardImage_;
    bool loaded_ = false;
};

} // namespace orrindale
