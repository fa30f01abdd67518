#pragma once
// The subtitle list as a table for the list view: one row per subtitle,
// columns "NO", "BAŞLANGIÇ", "BİTİŞ", "ALT YAZI". The view asks only for the
// rows on screen, so 100,000 subtitles show at once.

#include "document/SubtitleList.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace korv {

// What a layer above adds to the table without the document knowing it: one
// column after the four (shown where the view places it) and, for any cell,
// the roles the rows' own texts do not fill (colours, a tooltip, a mark).
class RowAnnotations {
public:
    virtual ~RowAnnotations() = default;
    virtual QString extraHeader() const = 0;
    // The extra column's cell.
    virtual QVariant extraData(int row, int role) const = 0;
    // Any other role of a cell of the four; an invalid value adds nothing.
    virtual QVariant cellData(int row, int column, int role) const = 0;
};

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

    // The extra column is column 4; null takes it away. Set it before a view
    // shows the model.
    void setAnnotations(const RowAnnotations *annotations);
    static constexpr int kExtraColumn = 4;
    // The annotations of these rows changed.
    void annotationsChanged(int firstRow, int lastRow);
    // The extra column's header speaks another language.
    void extraHeaderChanged() { emit headerDataChanged(Qt::Horizontal, kExtraColumn, kExtraColumn); }

    // Longest text a cell shows; the row keeps all of it.
    static constexpr qsizetype kShownLength = 500;

private:
    SubtitleList &list_;
    QStringList headers_;
    const RowAnnotations *annotations_ = nullptr;
};

} // namespace korv
