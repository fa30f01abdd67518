#include "document/SubtitleTableModel.h"

#include <algorithm>

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
    return parent.isValid() ? 0 : (annotations_ ? 5 : 4);
}

void SubtitleTableModel::setAnnotations(const RowAnnotations *annotations)
{
    beginResetModel();
    annotations_ = annotations;
    endResetModel();
}

void SubtitleTableModel::annotationsChanged(int firstRow, int lastRow)
{
    if (!annotations_ || list_.isEmpty())
        return;
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, list_.count() - 1);
    if (firstRow <= lastRow)
        emit dataChanged(index(firstRow, 0), index(lastRow, kExtraColumn));
}

QVariant SubtitleTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !list_.isValidRow(index.row()))
        return {};
    if (index.column() == kExtraColumn)
        return annotations_ ? annotations_->extraData(index.row(), role) : QVariant();
    if (annotations_) {
        QVariant added = annotations_->cellData(index.row(), index.column(), role);
        if (added.isValid())
            return added;
    }
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
        return section == kExtraColumn && annotations_ ? annotations_->extraHeader() : headers_.value(section);
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
