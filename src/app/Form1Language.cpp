// Form1's wiring of language files, the language menu and the options window.
#include "app/Form1.h"

#include "commands/LanguageStartup.h"
#include "help/ApplyLanguage.h"
#include "help/LanguageWindow.h"
#include "help/QtCatalogue.h"
#include "help/OptionsWindow.h"
#include "locale/LanguageLocale.h"
#include "locale/LanguageMenu.h"

#include <QAction>
#include <QCheckBox>

namespace korv {

void Form1::wireLanguage()
{
    languageMenu = new LanguageMenu(language_, this);
    languageMenu->applyLanguage = [this] {
        UseQtCatalogue(localeOf(language_));
        ApplyLanguage(this, language_, dialogs_);
        applyOwnTexts();
    };
    connect(languageMenu, &LanguageMenu::itemsChanged, this, [this] {
        for (int i = 0; i < LanguageMenu::kItemCount; ++i) {
            const LanguageMenuItem &item = languageMenu->item(i);
            QAction *action = mnulng[std::size_t(i)];
            // A language's name is shown as it stands, "&" included.
            action->setText(QString(item.caption).replace(QLatin1Char('&'), QStringLiteral("&&")));
            action->setVisible(item.visible);
            action->setChecked(item.checked);
        }
    });
    for (int i = 0; i < LanguageMenu::kItemCount; ++i)
        connect(mnulng[std::size_t(i)], &QAction::triggered, this, [this, i] { mnulng_Click(i); });

    // Loaded hidden now, so the stored options are in force from the start.
    frmSecenekler = new OptionsWindow(dialogs_, language_, ws_.numbers, this);
    ws_.option = [this](Option option) { return frmSecenekler->optionFlag(int(option)); };
    ws_.optionSeconds = [this] { return frmSecenekler->seconds(); };
    ws_.voiceOptions = [this] { return frmSecenekler->voiceOptions(); };
    connect(mnusecenekler, &QAction::triggered, this, [this] { mnusecenekler_Click(); });
}

void Form1::startLanguage()
{
    RunLanguageStartup(language_.firstRunFolder(), *languageMenu, [this] {
        if (showLanguageWindow) {
            showLanguageWindow();
            return;
        }
        LanguageWindow window(language_);
        window.exec();
    });
}

void Form1::LoadLanguageMenu()
{
    languageMenu->LoadLanguageMenu();
}

void Form1::mnulng_Click(int index)
{
    languageMenu->mnulng_Click(index);
    // The action toggled itself on the click; the menu's state decides.
    mnulng[std::size_t(index)]->setChecked(languageMenu->item(index).checked);
}

void Form1::mnusecenekler_Click()
{
    frmSecenekler->exec();
}

} // namespace korv
