#include "app/Form1.h"
#include "document/TimeText.h"
#include "help/Messages.h"

#include <QApplication>
#include <QLocale>
#include <QScreen>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvendal-sub"));
    QApplication::setApplicationDisplayName(QStringLiteral("Korvendal Sub"));
    QApplication::setOrganizationName(QStringLiteral("Korvendal"));
    QFont font = QApplication::font();
    font.setPointSizeF(8.0);
    QApplication::setFont(font);

    korv::setNumberFormat(korv::NumberFormat::fromLocale(QLocale()));
    korv::setProgramFolder(QApplication::applicationDirPath());

    korv::Form1 form;
    form.startLanguage();
    if (const QScreen *screen = form.screen()) {
        const QRect area = screen->availableGeometry();
        form.move(area.left() + (area.width() - form.width()) / 2, area.top() + (area.height() - form.height()) / 2);
    }
    form.show();
    return app.exec();
}
