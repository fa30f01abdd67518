#include "help/QtUserDialogs.h"

#include "help/FrameRateDialog.h"
#include "help/NoticeWindow.h"
#include "help/ProgressWindow.h"

#include "locale/MessageKeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace korv {

namespace {

// A modal window shows the normal pointer while it is up, whatever the
// command behind it shows.
class NormalPointer {
public:
    NormalPointer() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~NormalPointer() { QApplication::restoreOverrideCursor(); }
};

} // namespace

QMessageBox::StandardButton QtUserDialogs::ask(QMessageBox::Icon icon, const QString &title, const QString &text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton)
{
    NormalPointer pointer;
    QMessageBox box(icon, title, text, buttons, owner_);
    box.setDefaultButton(defaultButton);
    // The buttons speak the window's language, not the system's.
    const std::pair<QMessageBox::StandardButton, const QString &> captions[] = {
        {QMessageBox::Yes, msg::ButtonYes},
        {QMessageBox::No, msg::ButtonNo},
        {QMessageBox::Cancel, msg::ButtonCancel},
        {QMessageBox::Ok, msg::ButtonOk},
    };
    for (const auto &[button, key] : captions) {
        if (QAbstractButton *shown = box.button(button))
            shown->setText(language_.LangText(key));
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString QtUserDialogs::qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &p : patterns) {
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        entries << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return entries.join(QStringLiteral(";;"));
}

void QtUserDialogs::showNotice(const QString &message, const QString &title)
{
    NormalPointer pointer;
    NoticeWindow window(language_, owner_);
    window.setMessage(message);
    window.setWindowTitle(title);
    window.exec();
}

void QtUserDialogs::showMessageBox(const QString &message)
{
    ask(QMessageBox::Information, QStringLiteral("Korvendal Sub"), message, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtUserDialogs::askYesNo(const QString &text, const QString &title)
{
    return ask(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

Answer QtUserDialogs::askYesNoCancel(const QString &text, const QString &title)
{
    const auto button = ask(QMessageBox::Question, title, text,
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}

FileDialogResult QtUserDialogs::chooseFileToOpen(const FileDialogRequest &request)
{
    NormalPointer pointer;
    const QString path = QFileDialog::getOpenFileName(owner_, QString(), request.fileName, qtFilter(request.filter));
    return path.isEmpty() ? FileDialogResult::cancelled() : FileDialogResult::chosen(path);
}

FileDialogResult QtUserDialogs::chooseFileToSave(const FileDialogRequest &request)
{
    NormalPointer pointer;
    const QString path = QFileDialog::getSaveFileName(owner_, QString(), request.fileName, qtFilter(request.filter));
    return path.isEmpty() ? FileDialogResult::cancelled() : FileDialogResult::chosen(path);
}

std::optional<double> QtUserDialogs::askFrameRate(const QString &proposal)
{
    NormalPointer pointer;
    FrameRateDialog dialog(proposal, [this](const QString &m, const QString &t) { showNotice(m, t); }, numbers_,
                           owner_);
    dialog.exec();
    return dialog.rate();
}

void QtUserDialogs::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtUserDialogs::beginProgress(const QString &text, const QString &title, std::function<void()> cancel)
{
    endProgress();
    progress_ = new ProgressWindow(language_, text, title, std::move(cancel), owner_);
    progress_->show();
    // Over the main window's middle, out of the list's way as little as may be.
    if (owner_)
        progress_->move(owner_->geometry().center() - progress_->rect().center());
}

void QtUserDialogs::showProgress(int percent)
{
    if (progress_)
        progress_->setPercent(percent);
}

void QtUserDialogs::endProgress()
{
    if (progress_)
        progress_->finish();
    progress_ = nullptr;
}

} // namespace korv
