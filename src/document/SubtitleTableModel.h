#pragma once
// The subtitle list as a table for the list view: one row per subtitle,
// columns "NO", "BAŞLANGIÇ", "BİTİŞ", "ALT YAZI". The view asks only for the
// rows on screen, so 100,000 subtitles show at once.

#include "document/SubtitleList.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace korv {

class SubtitleTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SubtitleTableModel(SubtitleList &list, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Column headers 0 to 3; a language file may replace 1 to 3.
    void setHeader(int column, const QString &text);
    QString header(int column) const { return headers_.value(column); }

    // Longest text a cell shows; the row keeps all of it.
    static constexpr qsizetype kShownLength = 500;

private:
    SubtitleList &list_;
    QStringList headers_;
};

} // namespace korv
