#include "document/SubtitleTableModel.h"

namespace korv {

SubtitleTableModel::SubtitleTableModel(SubtitleList &list, QObject *parent)
    : QAbstractTableModel(parent),
      list_(list),
      headers_{QStringLiteral("NO"), QStringLiteral("BAŞLANGIÇ"), QStringLiteral("BİTİŞ"), QStringLiteral("ALT YAZI")}
{
    connect(&list_, &SubtitleList::aboutToReset, this, [this] { beginResetModel(); });
    connect(&list_, &SubtitleList::resetDone, this, [this] { endResetModel(); });
    connect(&list_, &SubtitleList::aboutToInsert, this,
            [this](int first, int last) { beginInsertRows({}, first, last); });
    connect(&list_, &SubtitleList::inserted, this, [this] { endInsertRows(); });
    connect(&list_, &SubtitleList::aboutToRemove, this,
            [this](int first, int last) { beginRemoveRows({}, first, last); });
    connect(&list_, &SubtitleList::removed, this, [this] { endRemoveRows(); });
    connect(&list_, &SubtitleList::cellsChanged, this, [this](int first, int last) {
        emit dataChanged(index(first, 0), index(last, ColText), {Qt::DisplayRole});
    });
}

int SubtitleTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : list_.count();
}

int SubtitleTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant SubtitleTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !list_.isValidRow(index.row()))
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole || role == Qt::AccessibleTextRole) {
        const QString &text = list_.cell(index.row(), index.column());
        if (role == Qt::ToolTipRole && index.column() != ColText)
            return {};
        if (text.size() > kShownLength)
            return QString(text.left(kShownLength) + QChar(0x2026));
        return text;
    }
    return {};
}

QVariant SubtitleTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::AccessibleTextRole))
        return headers_.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void SubtitleTableModel::setHeader(int column, const QString &text)
{
    if (column < 0 || column >= headers_.size() || headers_[column] == text)
        return;
    headers_[column] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

} // namespace korv
