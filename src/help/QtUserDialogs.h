#pragma once
// The real windows behind the user-dialog seam.

#include "dialogs/UserDialogs.h"
#include "document/TimeText.h"
#include "locale/Language.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace korv {

class ProgressWindow;

class QtUserDialogs : public UserDialogs {
public:
    // The windows speak `language`; the frame-rate window reads rates in
    // the number format `numbers`.
    QtUserDialogs(const Language &language, NumberFormat numbers, QWidget *owner = nullptr)
        : language_(language), numbers_(numbers), owner_(owner)
    {
    }

    void showNotice(const QString &message, const QString &title) override;
    void showMessageBox(const QString &message) override;
    bool askYesNo(const QString &text, const QString &title) override;
    Answer askYesNoCancel(const QString &text, const QString &title) override;
    FileDialogResult chooseFileToOpen(const FileDialogRequest &request) override;
    FileDialogResult chooseFileToSave(const FileDialogRequest &request) override;
    std::optional<double> askFrameRate(const QString &proposal) override;
    void setBusy(bool busy) override;
    void beginProgress(const QString &text, const QString &title, std::function<void()> cancel) override;
    void showProgress(int percent) override;
    void endProgress() override;

    // "desc|patterns|desc|patterns" to a Qt file-dialog filter.
    static QString qtFilter(const QString &filter);

private:
    // A message box whose buttons read in the window's language.
    QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString &title, const QString &text,
                                    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton);

    const Language &language_;
    NumberFormat numbers_;
    QPointer<QWidget> owner_;
    QPointer<ProgressWindow> progress_;
};

} // namespace korv
