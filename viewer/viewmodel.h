// The viewer's table as the grid shows it: the rows of a ViewTable with the cell colours, and
// only the instruction column open to selection and editing.
#pragma once

#include <QAbstractTableModel>

#include "viewer/viewtable.h"

namespace orrindale {

class ViewTableModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { AddressColumn, CodeColumn, InstructionColumn };

    explicit ViewTableModel(ViewTable& table, QObject* parent = nullptr)
        : QAbstractTableModel(parent), table_(table) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // An edited instruction; its code cell follows. Emits Edited.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // After the table was changed behind the grid's back (filled, cleared, loaded).
    void Reset();

signals:
    void Edited();

private:
    ViewTable& table_;
};

} // namespace orrindale
