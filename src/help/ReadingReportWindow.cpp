#include "help/ReadingReportWindow.h"

#include "help/ApplyLanguage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace korv {

namespace {

constexpr int kRowRole = Qt::UserRole + 1;

QPushButton *button(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

ReadingReportWindow::ReadingReportWindow(const Language &language, QWidget *parent)
    : QDialog(parent), language_(language)
{
    setObjectName(QStringLiteral("frmRapor"));
    setWindowTitle(QStringLiteral("OKUNABİLİRLİK RAPORU"));
    setModal(false);
    resize(640, 420);

    LblOzet = new QLabel(this);
    LblOzet->setObjectName(QStringLiteral("LblOzet"));
    Liste = new QTreeWidget(this);
    Liste->setObjectName(QStringLiteral("Liste"));
    Liste->setColumnCount(5);
    Liste->setHeaderLabels({QStringLiteral("SATIR"), QStringLiteral("KURAL"), QStringLiteral("DEĞER"),
                            QStringLiteral("SINIR"), QStringLiteral("DÜZELTME")});
    Liste->setRootIsDecorated(false);
    Liste->setUniformRowHeights(true);
    Liste->setAlternatingRowColors(true);
    Liste->setColumnWidth(0, 60);
    Liste->setColumnWidth(1, 170);
    Liste->setColumnWidth(2, 110);
    Liste->setColumnWidth(3, 70);
    Ilerleme = new QProgressBar(this);
    Ilerleme->setObjectName(QStringLiteral("Ilerleme"));
    Ilerleme->hide();

    CmdDuzelt = button(QStringLiteral("CmdDuzelt"), QStringLiteral("DÜZELT"), this);
    CmdTumunuDuzelt = button(QStringLiteral("CmdTumunuDuzelt"), QStringLiteral("TÜMÜNÜ DÜZELT"), this);
    CmdDurdur = button(QStringLiteral("CmdDurdur"), QStringLiteral("DURDUR"), this);
    CmdYenile = button(QStringLiteral("CmdYenile"), QStringLiteral("YENİLE"), this);
    CmdKapat = button(QStringLiteral("CmdKapat"), QStringLiteral("KAPAT (ESC)"), this);
    CmdDurdur->hide();

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CmdDuzelt);
    buttons->addWidget(CmdTumunuDuzelt);
    buttons->addStretch(1);
    buttons->addWidget(CmdYenile);
    buttons->addWidget(CmdKapat);
    auto *progress = new QHBoxLayout;
    progress->addWidget(Ilerleme, 1);
    progress->addWidget(CmdDurdur);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LblOzet);
    layout->addWidget(Liste, 1);
    layout->addLayout(progress);
    layout->addLayout(buttons);

    connect(Liste, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        emit rowChosen(item->data(0, kRowRole).toInt());
    });
    connect(Liste, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });
    connect(CmdDuzelt, &QPushButton::clicked, this, [this] {
        if (QTreeWidgetItem *item = Liste->currentItem())
            emit fixRequested(item->data(0, kRowRole).toInt());
    });
    connect(CmdTumunuDuzelt, &QPushButton::clicked, this, &ReadingReportWindow::fixAllRequested);
    connect(CmdDurdur, &QPushButton::clicked, this, &ReadingReportWindow::stopRequested);
    connect(CmdYenile, &QPushButton::clicked, this, &ReadingReportWindow::refreshRequested);
    connect(CmdKapat, &QPushButton::clicked, this, &QDialog::reject);
    updateButtons();
}

void ReadingReportWindow::setLines(const std::vector<ReportRowView> &lines, const QString &summary)
{
    Liste->clear();
    addLines(lines, summary);
}

void ReadingReportWindow::addLines(const std::vector<ReportRowView> &lines, const QString &summary)
{
    QList<QTreeWidgetItem *> items;
    items.reserve(qsizetype(lines.size()));
    for (const ReportRowView &line : lines) {
        auto *item = new QTreeWidgetItem(
            QStringList{QString::number(line.row + 1), line.rule, line.value, line.limit, line.fix});
        item->setData(0, kRowRole, line.row);
        item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        items << item;
    }
    Liste->addTopLevelItems(items);
    LblOzet->setText(summary);
    updateButtons();
}

void ReadingReportWindow::showProgress(const QString &text, int done, int total)
{
    const bool running = !text.isEmpty();
    Ilerleme->setVisible(running);
    CmdDurdur->setVisible(running);
    if (!running)
        return;
    Ilerleme->setFormat(text);
    Ilerleme->setRange(0, std::max(total, 1));
    Ilerleme->setValue(done);
}

int ReadingReportWindow::lineCount() const
{
    return Liste->topLevelItemCount();
}

int ReadingReportWindow::rowOfLine(int line) const
{
    QTreeWidgetItem *item = Liste->topLevelItem(line);
    return item ? item->data(0, kRowRole).toInt() : -1;
}

void ReadingReportWindow::updateButtons()
{
    QTreeWidgetItem *item = Liste->currentItem();
    CmdDuzelt->setEnabled(item && !item->text(4).isEmpty());
    bool anyFix = false;
    for (int i = 0; i < Liste->topLevelItemCount() && !anyFix; ++i)
        anyFix = !Liste->topLevelItem(i)->text(4).isEmpty();
    CmdTumunuDuzelt->setEnabled(anyFix);
}

void ReadingReportWindow::showEvent(QShowEvent *event)
{
    ApplyLanguage(this, language_);
    QDialog::showEvent(event);
}

} // namespace korv
