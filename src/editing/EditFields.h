#pragma once
// The Text1 field array of the main window, without the widgets.
//
// Fields 0 to 4 are the edit panel: start, end and three lines of the
// selected row, and every change to them is written straight into that row.
// Fields 5 to 8 are the single values of other tools (search text, shift
// seconds, split point, the film's skip step). The widgets show these texts
// and hand every keystroke to setText.

#include "document/SubtitleList.h"
#include "document/TimeText.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>

namespace korv {

class EditFields : public QObject {
    Q_OBJECT
public:
    enum Index {
        Start = 0,
        End = 1,
        Line1 = 2,
        Line2 = 3,
        Line3 = 4,
        Search = 5,
        ShiftSeconds = 6,
        SplitPoint = 7,
        SkipStep = 8,
    };
    static constexpr int kCount = 9;

    // Times are read and written in the number format `nf`.
    EditFields(SubtitleList &list, const NumberFormat &nf, QObject *parent = nullptr);

    const QString &text(int index) const { return texts_[std::size_t(index)]; }
    // Text1(index) := text, by the user or by a command; a change of fields
    // 0 to 4 is written into the selected row at once.
    void setText(int index, const QString &text);

    // LblUzunluk: the selected subtitle's duration, "2.5 sn", to the
    // document's precision.
    const QString &duration() const { return duration_; }
    std::function<TimePrecision()> precision = [] { return TimePrecision::Hundredths; };

    // The row-chosen routine: shows `row` in fields 0 to 4. Runs whenever the
    // list's selection moves, so the fields always show the selected row.
    void Listview_ItemClick(int row);

    // Lengthen / shorten the display time by a quarter second.
    void CmdArayiAc_Click();
    void CmdArayiKapat_Click();

    // The field whose text is being written into the selected row, -1 when
    // none is: a change of the row while this is set comes from that field.
    int writingField() const { return writingField_; }

    // Up (38) and down (40) arrows in any field move the list's selection.
    void Text1_KeyDown(int index, int keyCode);

signals:
    void textChanged(int index, const QString &text);
    void durationChanged(const QString &text);

private:
    void Text1_Change(int index);
    void assign(int index, const QString &text);
    void updateDuration();
    void shiftEnd(double delta);
    void refreshIfSelected(int firstRow, int lastRow);
    // The text after the third "|" (null when there is none).
    static QString linesAfterTheThird(const QString &text);

    SubtitleList &list_;
    const NumberFormat &nf_;
    std::array<QString, kCount> texts_;
    QString duration_;
    // Lines four on of the row shown: no field shows them, edits keep them.
    QString moreLines_;
    bool clearingFields_ = false;
    int writingField_ = -1;
};

} // namespace korv
