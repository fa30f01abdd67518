#include "help/LanguageWindow.h"

#include "locale/Language.h"
#include "locale/LanguageFiles.h"
#include "locale/Registry.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

namespace korv {

LanguageWindow::LanguageWindow(Language &language, QWidget *parent) : QDialog(parent), language_(language)
{
    setObjectName(QStringLiteral("frmLng"));
    setWindowTitle(QStringLiteral(" SELECT LANGUAGE"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(260, 252);

    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setGeometry(10, 10, 240, 150);
    File1->addItems(languageFileNames(language_.folder()));

    Label1 = new QLabel(QStringLiteral("-"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setGeometry(12, 168, 238, 40);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(150, 214, 100, 28);
    Command1->setDefault(true);

    connect(File1, &QListWidget::currentRowChanged, this, [this] { File1_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    if (File1->count() > 0)
        File1->setCurrentRow(0);
    File1->setFocus();

    // Shown before the main window: centred on the screen.
    if (!parent) {
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
        }
    }
}

void LanguageWindow::File1_Click()
{
    const QListWidgetItem *entry = File1->currentItem();
    if (!entry)
        return;
    language_.setCurrentLanguage(languageOfFile(entry->text()));
    Label1->setText(languageAuthorText(language_, language_.CurrentLanguage()));
}

void LanguageWindow::Command1_Click()
{
    SaveRegSetting(QStringLiteral("lng"), language_.CurrentLanguage());
    accept();
}

} // namespace korv
