#include "cards/magnetic/cardnames.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "common/escapeclose.h"
#include "common/hpdata_qt.h"
#include "common/messages.h"
#include "common/placement.h"

namespace orrindale {

TcardFM::TcardFM(QWidget* parent, Messenger* messages) : QDialog(parent), messages_(messages) {
    EscapeCloser::Install(this);
    setWindowTitle("Card Names");
    Edit1 = new QLineEdit(this);
    Edit2 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit2->setObjectName("Edit2");
    auto* form = new QFormLayout(this);
    form->addRow("Card A", Edit1);
    form->addRow("Card B", Edit2);
    // Wide enough to show a whole name of the widest letters: the field's own hint is 17 "x"
    // wide plus its frame and margins, which a longer text keeps.
    const QFontMetrics metrics(Edit1->font());
    const int margins =
        Edit1->sizeHint().width() - metrics.horizontalAdvance(QLatin1Char('x')) * 17;
    const int width =
        metrics.horizontalAdvance(QString(kMaxNameLength, QLatin1Char('W'))) + margins;
    for (QLineEdit* edit : {Edit1, Edit2}) {
        edit->setMaxLength(kMaxNameLength);
        edit->setMinimumWidth(width);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TcardFM::okSBClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TcardFM::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnAsker(*this);
}

void TcardFM::PutNames(const QString& nameA, const QString& nameB) {
    Edit1->setText(nameA);
    Edit2->setText(nameB);
}

void TcardFM::GetNames(QString& nameA, QString& nameB) const {
    nameA = Edit1->text();
    nameB = Edit2->text();
}

void TcardFM::okSBClick() {
    // A character the card file cannot hold is refused rather than lost.
    for (QLineEdit* edit : {Edit1, Edit2})
        if (const QString refusal = RefusalOfNonAscii(edit->text()); !refusal.isEmpty()) {
            if (messages_) messages_->Error(refusal);
            edit->setFocus();
            return;
        }
    for (QLineEdit* edit : {Edit1, Edit2})
        edit->setText(FromBytes(CleanText(ToBytes(edit->text()))));
    accept();
}

} // namespace orrindale
