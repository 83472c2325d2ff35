// The "Card Title" dialog: the name, title and date written on a marked card stack. Its caller
// creates it, fills it with PutTitle, runs it modally and reads it back with GetTitle after OK.
// OK checks the date (dd/mm/yyyy, rewritten with two-digit day and month) and refuses "~" and
// "|", which would break the stack file's lines, and characters beyond printable ASCII, which
// the file cannot hold.
#pragma once

#include <QDialog>

#include "common/services.h"

class QLineEdit;

namespace orrindale {

class TtitleFM final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxNameLength = 30;
    static constexpr int kMaxDateLength = 10;

    explicit TtitleFM(const Services& services, QWidget* parent = nullptr);

    // An empty date becomes today's.
    void PutTitle(const QString& name, const QString& title, const QString& date);
    void GetTitle(QString& name, QString& title, QString& date) const;

    void okSBClick();
    // The date field's double click: today's date.
    void dateEditDblClick();

    QLineEdit* nameEdit = nullptr;
    QLineEdit* titleEdit = nullptr;
    QLineEdit* dateEdit = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool CheckText(QLineEdit* edit);

    Services services_;
};

// Today as "dd/mm/yyyy".
QString TodayText();
// A date typed as d/m/yyyy (one or two digits for day and month) rewritten as dd/mm/yyyy;
// empty when it is no valid date.
QString NormalDate(const QString& typed);

} // namespace orrindale
