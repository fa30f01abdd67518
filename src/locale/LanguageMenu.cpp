#include "locale/LanguageMenu.h"

#include "locale/Language.h"
#include "locale/LanguageFiles.h"
#include "locale/Registry.h"

namespace korv {

LanguageMenu::LanguageMenu(Language &language, QObject *parent) : QObject(parent), language_(language) {}

void LanguageMenu::LoadLanguageMenu()
{
    items_ = {};
    int next = 0;
    for (const QString &file : languageFileNames(language_.folder())) {
        if (next == kItemCount)
            break; // a seventh language is not offered
        const QString language = languageOfFile(file);
        if (language.isEmpty())
            continue;
        items_[std::size_t(next++)] = {language, true, false};
    }
    emit itemsChanged();

    const QString stored = GetRegSetting(QStringLiteral("lng"));
    bool matched = false;
    for (int i = 0; i < kItemCount; ++i) {
        if (items_[std::size_t(i)].visible && items_[std::size_t(i)].caption == stored) {
            mnulng_Click(i);
            matched = true;
        }
    }
    if (matched)
        return;
    for (int i = 0; i < kItemCount; ++i) {
        if (items_[std::size_t(i)].visible)
            mnulng_Click(i);
    }
}

void LanguageMenu::mnulng_Click(int index)
{
    if (index < 0 || index >= kItemCount || !items_[std::size_t(index)].visible)
        return;
    for (LanguageMenuItem &item : items_)
        item.checked = false;
    LanguageMenuItem &chosen = items_[std::size_t(index)];
    chosen.checked = true;
    emit itemsChanged();
    language_.setCurrentLanguage(chosen.caption);
    SaveRegSetting(QStringLiteral("lng"), chosen.caption);
    if (applyLanguage)
        applyLanguage();
}

} // namespace korv
