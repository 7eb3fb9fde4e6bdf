#include "TCheckRecords.h"

#include <QAbstractItemModel>

namespace coolctrls {

TCheckRecords::TCheckRecords(QAbstractItemModel *model)
    : m_model(model)
{
    m_removing = QObject::connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, model,
                                  [this](const QModelIndex &parent, int first, int last) {
                                      for (int row = first; row <= last; ++row)
                                          m_records.remove(QPersistentModelIndex(m_model->index(row, 0, parent)));
                                  });
    m_resetting = QObject::connect(model, &QAbstractItemModel::modelAboutToBeReset, model, [this] { clear(); });
}

TCheckRecords::~TCheckRecords()
{
    QObject::disconnect(m_removing);
    QObject::disconnect(m_resetting);
}

const TCheckWrapper *TCheckRecords::find(int row) const
{
    const QModelIndex index = m_model->index(row, 0);
    if (!index.isValid())
        return nullptr;
    const auto it = m_records.constFind(QPersistentModelIndex(index));
    return it == m_records.constEnd() ? nullptr : &it.value();
}

TCheckWrapper *TCheckRecords::obtain(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    if (!index.isValid())
        return nullptr;
    return &m_records[QPersistentModelIndex(index)];
}

} // namespace coolctrls
