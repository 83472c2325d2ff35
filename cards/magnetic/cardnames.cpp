#include "cards/magnetic/cardnames.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "common/escapeclose.h"
#include "common/hpdata_qt.h"
#include "common/placement.h"

namespace orrindale {

TcardFM::TcardFM(QWidget* parent) : QDialog(parent) {
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

namespace {
// Only printable ASCII goes onto a card. A character beyond Latin-1 is dropped here, before the
// byte conversion would turn it into another character.
QString CleanName(const QString& text) {
    std::string bytes;
    for (QChar c : text)
        if (c.unicode() <= 0xFF) bytes.push_back(static_cast<char>(c.unicode()));
    return FromBytes(CleanText(bytes));
}
} // namespace

void TcardFM::okSBClick() {
    for (QLineEdit* edit : {Edit1, Edit2})
        edit->setText(CleanName(edit->text()));
    accept();
}

} // namespace orrindale
