#pragma once
// frmRapor: the report of the reading checks and the spelling. One line per
// problem (row, rule, value, limit, and the fix when there is a safe one); a
// double-click chooses the row, "DÜZELT" mends the chosen line's row, "TÜMÜNÜ
// DÜZELT" mends every row that can be, "DURDUR" stops the spelling under
// way. The window only shows and tells: the main window does the work.
//
// It is not modal, so the user goes on editing while it is open.

#include <QDialog>
#include <QString>

#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace korv {

class Language;

struct ReportRowView {
    int row = -1; // 0-based
    QString rule;
    QString value;
    QString limit;
    QString fix; // empty: no safe fix
};

class ReadingReportWindow : public QDialog {
    Q_OBJECT
public:
    explicit ReadingReportWindow(const Language &language, QWidget *parent = nullptr);

    QTreeWidget *Liste = nullptr;
    QLabel *LblOzet = nullptr;
    QProgressBar *Ilerleme = nullptr;
    QPushButton *CmdDuzelt = nullptr;
    QPushButton *CmdTumunuDuzelt = nullptr;
    QPushButton *CmdDurdur = nullptr;
    QPushButton *CmdYenile = nullptr;
    QPushButton *CmdKapat = nullptr;

    // Replaces the lines; `summary` goes above them.
    void setLines(const std::vector<ReportRowView> &lines, const QString &summary);
    // Adds lines after those shown (the spelling's, when it is done).
    void addLines(const std::vector<ReportRowView> &lines, const QString &summary);
    // The spelling under way: `text` and a bar; hidden again with an empty text.
    void showProgress(const QString &text, int done, int total);

    int lineCount() const;
    // The row of a shown line, -1 for none.
    int rowOfLine(int line) const;

signals:
    void rowChosen(int row);
    void fixRequested(int row);
    void fixAllRequested();
    void stopRequested();
    void refreshRequested();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void updateButtons();

    const Language &language_;
};

} // namespace korv
