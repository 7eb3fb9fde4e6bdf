#pragma once

#include <QHash>
#include <QMetaObject>
#include <QPersistentModelIndex>

#include <cstdint>

class QAbstractItemModel;

namespace coolctrls {

// The check state and own data value of one item in check mode.
struct TCheckWrapper
{
    int32_t Data = 0;
    uint8_t State = 0;  // 0 unchecked, 1 checked, 2 grayed
};

// The check records of a list control, kept in a table of the control's own
// keyed by item (a persistent index of its model, so sorting and inserting
// keep each record with its item). No value of an item's data slot is ever
// taken for a record. Records of removed items go with them.
class TCheckRecords
{
public:
    explicit TCheckRecords(QAbstractItemModel *model);
    ~TCheckRecords();
    TCheckRecords(const TCheckRecords &) = delete;
    TCheckRecords &operator=(const TCheckRecords &) = delete;

    // The record of row `row`, nullptr when the item has none (or there is
    // no such row).
    const TCheckWrapper *find(int row) const;
    // The record of row `row`, created when missing; nullptr when there is
    // no such row.
    TCheckWrapper *obtain(int row);
    void clear() { m_records.clear(); }
    int count() const { return int(m_records.size()); }

private:
    QAbstractItemModel *m_model;
    QHash<QPersistentModelIndex, TCheckWrapper> m_records;
    QMetaObject::Connection m_removing;
    QMetaObject::Connection m_resetting;
};

} // namespace coolctrls
