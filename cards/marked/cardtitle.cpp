#include "cards/marked/cardtitle.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include "common/escapeclose.h"
#include "common/hpdata_qt.h"
#include "common/messages.h"
#include "common/placement.h"

namespace orrindale {

QString TodayText() {
    return QDate::currentDate().toString("dd/MM/yyyy");
}

QString NormalDate(const QString& typed) {
    static const QRegularExpression form("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4})\\s*$");
    const QRegularExpressionMatch match = form.match(typed);
    if (!match.hasMatch()) return QString();
    const QDate date(match.captured(3).toInt(), match.captured(2).toInt(),
                     match.captured(1).toInt());
    return date.isValid() ? date.toString("dd/MM/yyyy") : QString();
}

TtitleFM::TtitleFM(const Services& services, QWidget* parent)
    : QDialog(parent), services_(services) {
    EscapeCloser::Install(this);
    setWindowTitle("Card Title");
    nameEdit = new QLineEdit(this);
    titleEdit = new QLineEdit(this);
    dateEdit = new QLineEdit(this);
    nameEdit->setObjectName("nameEdit");
    titleEdit->setObjectName("titleEdit");
    dateEdit->setObjectName("dateEdit");
    nameEdit->setMaxLength(kMaxNameLength);
    titleEdit->setMaxLength(kMaxNameLength);
    dateEdit->setMaxLength(kMaxDateLength);
    dateEdit->setToolTip("Double click for todays date");
    dateEdit->installEventFilter(this);
    auto* form = new QFormLayout(this);
    form->addRow("Name", nameEdit);
    form->addRow("Title", titleEdit);
    form->addRow("Date", dateEdit);
    form->addRow(new QLabel("Date Format dd/mm/yyyy", this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okSB");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("canSB");
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TtitleFM::okSBClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TtitleFM::PutTitle(const QString& name, const QString& title, const QString& date) {
    nameEdit->setText(name);
    titleEdit->setText(title);
    dateEdit->setText(date.isEmpty() ? TodayText() : date);
}

void TtitleFM::GetTitle(QString& name, QString& title, QString& date) const {
    name = nameEdit->text();
    title = titleEdit->text();
    date = dateEdit->text();
}

bool TtitleFM::CheckText(QLineEdit* edit) {
    // A character the stack file cannot hold is refused rather than lost.
    QString refusal = RefusalOfNonAscii(edit->text());
    if (refusal.isEmpty()) {
        edit->setText(FromBytes(CleanText(ToBytes(edit->text()))));
        if (HasNoneOf(ToBytes(edit->text()), "~|")) return true;
        refusal = "ERROR: Invalid character found in text: ~|";
    }
    services_.Messages->Error(refusal);
    edit->setFocus();
    return false;
}

void TtitleFM::okSBClick() {
    if (!dateEdit->text().isEmpty()) {
        const QString date = NormalDate(dateEdit->text());
        if (date.isEmpty()) {
            services_.Messages->Error("ERROR: Invalid date");
            dateEdit->setFocus();
            return;
        }
        dateEdit->setText(date);
    }
    if (!CheckText(nameEdit) || !CheckText(titleEdit)) return;
    accept();
}

void TtitleFM::dateEditDblClick() {
    dateEdit->setText(TodayText());
}

void TtitleFM::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnAsker(*this);
}

bool TtitleFM::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dateEdit && event->type() == QEvent::MouseButtonDblClick) {
        dateEditDblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orrindale
