#include "locale/LanguageLocale.h"

#include "locale/Language.h"

namespace korv {

QLocale localeOf(const Language &language)
{
    const QString &name = language.CurrentLanguage();
    if (name.isEmpty())
        return QLocale(QLocale::Turkish, QLocale::Turkey);
    for (const QLocale &known : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
        if (known.language() == QLocale::C)
            continue;
        if (name.compare(QLocale::languageToString(known.language()), Qt::CaseInsensitive) == 0
            || name.compare(known.nativeLanguageName(), Qt::CaseInsensitive) == 0)
            return QLocale(known.language());
    }
    return QLocale::system();
}

} // namespace korv
