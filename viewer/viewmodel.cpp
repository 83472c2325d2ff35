#include "viewer/viewmodel.h"

#include <QBrush>
#include <QColor>

#include "common/hpdata_qt.h"

namespace orrindale {

namespace {
// The first bank's addresses, the second's, the codes, and an instruction that is no key.
const QColor kFirstBank(255, 255, 211);
const QColor kSecondBank(255, 223, 236);
const QColor kCodeColour(231, 247, 240);
const QColor kInvalidColour(255, 193, 193);

QColor Background(const ViewTable& table, int row, int column) {
    switch (column) {
    case ViewTableModel::AddressColumn:
        return table.Expanded() || row < listing::kHalfSteps ? kFirstBank : kSecondBank;
    case ViewTableModel::CodeColumn: return kCodeColour;
    default: return table.Valid(row) ? QColor() : kInvalidColour;
    }
}
} // namespace

int ViewTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.Rows();
}

int ViewTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant ViewTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row(), column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (column == AddressColumn) return FromBytes(table_.Address(row));
        if (column == CodeColumn) return FromBytes(table_.Code(row));
        return FromBytes(table_.Instruction(row));
    case Qt::BackgroundRole: {
        const QColor colour = Background(table_, row, column);
        return colour.isValid() ? QVariant(QBrush(colour)) : QVariant();
    }
    case Qt::TextAlignmentRole:
        return column == InstructionColumn ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                           : int(Qt::AlignCenter);
    default: return {};
    }
}

Qt::ItemFlags ViewTableModel::flags(const QModelIndex& index) const {
    if (index.column() != InstructionColumn) return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool ViewTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != InstructionColumn) return false;
    // A listing holds one byte a character. A character above 255 becomes "?" rather than
    // its low byte, which could turn a foreign letter into a key name.
    QString text = value.toString();
    for (QChar& c : text)
        if (c.unicode() > 255) c = u'?';
    // The editor hands over its text again as it closes; that is no new edit.
    std::string bytes = ToBytes(text);
    if (bytes == table_.Instruction(index.row())) return true;
    table_.SetInstruction(index.row(), std::move(bytes));
    emit dataChanged(this->index(index.row(), 0), index);
    emit Edited();
    return true;
}

void ViewTableModel::Reset() {
    beginResetModel();
    endResetModel();
}

} // namespace orrindale
