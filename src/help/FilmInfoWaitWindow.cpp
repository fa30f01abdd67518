#include "help/FilmInfoWaitWindow.h"

#include "help/ApplyLanguage.h"
#include "help/Twips.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QWindow>

namespace korv {

FilmInfoWaitWindow::FilmInfoWaitWindow(const Language &language, QWidget *owner)
    : QFrame(owner, Qt::Tool | Qt::FramelessWindowHint), language_(language)
{
    setObjectName(QStringLiteral("frmBilgiAliniyor"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setFixedSize(Twips::size(4200, 1140));
    setAttribute(Qt::WA_ShowWithoutActivating);

    label1_ = new QLabel(QStringLiteral("FİLM BİLGİLERİ ALINIYOR\nLÜTFEN BEKLEYİNİZ..."), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setWordWrap(true); // a language file gives the two lines as one
    label1_->setGeometry(rect().adjusted(6, 6, -6, -6));
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(14);
    label1_->setFont(font);
    QPalette pal = label1_->palette();
    pal.setColor(QPalette::WindowText, QColor(128, 0, 0));
    label1_->setPalette(pal);

    Form_Load();
}

void FilmInfoWaitWindow::Form_Load()
{
    ApplyLanguage(this, language_);
}

void FilmInfoWaitWindow::showOver(QWidget *owner)
{
    if (owner) {
        const QRect main = owner->frameGeometry();
        move(main.left() + main.width() / 2 - width() / 2, main.top() + main.height() / 2 - height() / 2);
    }
    show();
    raise();
    // The window system maps a new window a moment later; wait briefly for
    // that (timers may tick, the user's input waits) so the notice is seen
    // before the work starts.
    const QDeadlineTimer deadline(300);
    while (windowHandle() && !windowHandle()->isExposed() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    repaint();
    if (owner)
        owner->repaint();
}

} // namespace korv
