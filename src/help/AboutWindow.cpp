#include "help/AboutWindow.h"

#include "document/ProgramInfo.h"
#include "help/ShellOpen.h"
#include "help/Twips.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace korv {

namespace {

constexpr int kRowTop = 90;
constexpr int kRowStep = 270;
constexpr int kRowHeight = 255;
// The separators sit between the program rows, the address rows and the
// thanks row.
constexpr int kSeparatorsTwips[] = {885, 1425};

QLabel *row(QWidget *parent, const QString &name, const QString &text, int left, int index, int width, int lines = 1)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(Twips::rect(left, kRowTop + index * kRowStep, width, kRowHeight * lines));
    label->setWordWrap(lines > 1);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

AboutWindow::AboutWindow(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmHakkinda"));
    setWindowTitle(QStringLiteral(" Korvendal Altyazı"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(Twips::size(5010, 2535));
    // The design's columns are measured for a narrow sans serif.
    QFont narrow(QStringLiteral("Arial"));
    narrow.setPointSizeF(8);
    setFont(narrow);

    const char *captions[] = {"Yazıldığı Program :", "Version :", "Programlayan :", "Web Page :", "E-Mail :",
                              "Son Olarak :"};
    for (int i = 0; i < 6; ++i)
        row(this, QStringLiteral("Label1(%1)").arg(i), QString::fromUtf8(captions[i]), 60, i, 1470);

    row(this, QStringLiteral("Label1(52)"), QString::fromUtf8(ProgramInfo::kBuiltWith), 1575, 0, 3375);
    row(this, QStringLiteral("Label1(55)"), QString(), 1575, 1, 3375);
    row(this, QStringLiteral("Label1(56)"), QString::fromUtf8(ProgramInfo::kAuthor), 1575, 2, 3375);
    lblSitem = row(this, QStringLiteral("lblSitem"), QString::fromUtf8(ProgramInfo::kWebAddress), 1575, 3, 3375);
    lblEmail = row(this, QStringLiteral("lblEmail"), QString::fromUtf8(ProgramInfo::kMailAddress), 1575, 4, 3375);
    row(this, QStringLiteral("Label1(61)"), QString::fromUtf8(ProgramInfo::kThanks), 1575, 5, 3375, 2);
    for (QLabel *link : {lblSitem, lblEmail}) {
        QPalette blue = link->palette();
        blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
        link->setPalette(blue);
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }

    CmdKapat = new QPushButton(QStringLiteral("KAPAT (ESC)"), this);
    CmdKapat->setObjectName(QStringLiteral("CmdKapat"));
    CmdKapat->setGeometry(Twips::rect(3255, 2115, 1650, 330));
    CmdKapat->setDefault(true);
    // Esc closes every dialog, as the cancel button would.
    connect(CmdKapat, &QPushButton::clicked, this, &QDialog::reject);

    Form_Load();
}

void AboutWindow::Form_Load()
{
    findChild<QLabel *>(QStringLiteral("Label1(55)"))->setText(ProgramInfo::versionText());
}

bool AboutWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == lblSitem)
            OpenWebAddress(lblSitem->text());
        else if (watched == lblEmail)
            OpenMailTo(lblEmail->text());
    }
    return QDialog::eventFilter(watched, event);
}

void AboutWindow::showEvent(QShowEvent *event)
{
    // Centred on the window that opened it.
    if (QWidget *owner = parentWidget()) {
        const QRect o = owner->frameGeometry();
        move(o.left() + (o.width() - frameGeometry().width()) / 2, o.top() + (o.height() - frameGeometry().height()) / 2);
    }
    QDialog::showEvent(event);
}

void AboutWindow::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter p(this);
    for (int y : kSeparatorsTwips) {
        const int line = Twips::toPixels(y);
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(4, line, width() - 5, line);
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(4, line + 1, width() - 5, line + 1);
    }
}

void ShowAboutWindow(QWidget *owner)
{
    AboutWindow window(owner);
    window.exec();
}

} // namespace korv
