#include "help/FrameRateDialog.h"

#include "document/FrameRate.h"
#include "document/ProgramInfo.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace korv {

FrameRateDialog::FrameRateDialog(const QString &proposal,
                                 std::function<void(const QString &, const QString &)> notify,
                                 NumberFormat numbers, QWidget *parent)
    : QDialog(parent), notify_(std::move(notify)), numbers_(numbers)
{
    setObjectName(QStringLiteral("frmRate"));
    setWindowTitle(QStringLiteral(" MICRO DVD - FRAME RATE"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(300, 84);

    label1_ = new QLabel(QStringLiteral("MOVIE FRAME RATE (fps) :"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(10, 14, 170, 22);

    combo3_ = new QComboBox(this);
    combo3_->setObjectName(QStringLiteral("Combo3"));
    combo3_->setEditable(true);
    combo3_->setInsertPolicy(QComboBox::NoInsert);
    combo3_->addItems(frameRateChoices(numbers_));
    // The list's chosen item is the one shown (none for a film's own rate),
    // so that nothing puts another rate in its place.
    combo3_->setCurrentIndex(combo3_->findText(proposal));
    combo3_->setEditText(proposal);
    // Return (or the keypad's Enter) confirms the rate shown; the combo box
    // would otherwise first put its chosen item back into the text, and its
    // completer take the first press for accepting the selected text. The
    // keys reach the combo box, which hands them to its line edit directly.
    combo3_->installEventFilter(this);
    combo3_->lineEdit()->installEventFilter(this);
    combo3_->setGeometry(184, 12, 106, 24);
    label1_->setBuddy(combo3_);
    combo3_->setAccessibleName(label1_->text());

    command1_ = new QPushButton(QStringLiteral("OK"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(184, 48, 106, 26);
    command1_->setDefault(true);
    connect(command1_, &QPushButton::clicked, this, &FrameRateDialog::confirm);

    if (parent) {
        const QRect main = parent->window()->frameGeometry();
        move(main.left() + (main.width() - width()) / 2, main.top() + (main.height() - height()) / 2);
    }
    combo3_->setFocus();
    combo3_->lineEdit()->selectAll();
}

bool FrameRateDialog::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == combo3_ || watched == combo3_->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            confirm();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FrameRateDialog::confirm()
{
    const auto rate = readFrameRate(combo3_->currentText(), numbers_);
    if (!rate) {
        if (notify_)
            notify_(QStringLiteral("ERROR..."), ProgramInfo::kNoticeTitle);
        return;
    }
    rate_ = rate;
    accept();
}

} // namespace korv
