// The "Card Names" dialog: the names written on the two sides of a magnetic card, asked for
// before the card is saved. Its caller creates it, fills it with PutNames, runs it modally and
// reads the names back with GetNames when it closed with OK.
#pragma once

#include <QDialog>

class QLineEdit;

namespace orrindale {

class Messenger;

class TcardFM : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxNameLength = 25;

    // OK refuses a name the card file cannot hold, in a box shown by `messages` (tests may go
    // without), and keeps the dialog open.
    explicit TcardFM(QWidget* parent = nullptr, Messenger* messages = nullptr);

    void PutNames(const QString& nameA, const QString& nameB);
    void GetNames(QString& nameA, QString& nameB) const;

    QLineEdit* Edit1 = nullptr; // side A
    QLineEdit* Edit2 = nullptr; // side B

protected:
    void showEvent(QShowEvent* event) override;

private:
    void okSBClick();

    Messenger* messages_;
};

} // namespace orrindale
