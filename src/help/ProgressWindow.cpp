#include "help/ProgressWindow.h"

#include "locale/Language.h"
#include "locale/MessageKeys.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace korv {

ProgressWindow::ProgressWindow(const Language &language, const QString &text, const QString &title,
                               std::function<void()> cancel, QWidget *owner)
    : QDialog(owner), cancel_(std::move(cancel))
{
    setObjectName(QStringLiteral("frmIlerleme"));
    setWindowTitle(title);
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    LblIs = new QLabel(text, this);
    LblIs->setObjectName(QStringLiteral("LblIs"));
    LblIs->setWordWrap(true);
    Ilerleme = new QProgressBar(this);
    Ilerleme->setObjectName(QStringLiteral("Ilerleme"));
    Ilerleme->setRange(0, 100);
    Ilerleme->setValue(0);
    Ilerleme->setAccessibleName(text);
    CmdIptal = new QPushButton(language.LangText(msg::ButtonCancel), this);
    CmdIptal->setObjectName(QStringLiteral("CmdIptal"));
    connect(CmdIptal, &QPushButton::clicked, this, &ProgressWindow::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdIptal);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LblIs);
    layout->addWidget(Ilerleme);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

void ProgressWindow::setPercent(int percent)
{
    Ilerleme->setValue(std::clamp(percent, 0, 100));
}

void ProgressWindow::finish()
{
    cancel_ = nullptr;
    close();
}

void ProgressWindow::reject()
{
    // Taken first: the cancel may end the work, and the work's end closes us.
    if (auto cancel = std::exchange(cancel_, nullptr))
        cancel();
    QDialog::reject();
}

} // namespace korv
