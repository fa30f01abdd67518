#include "help/QtCatalogue.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace korv {

bool UseQtCatalogue(const QLocale &locale)
{
    // One catalogue at a time, kept for the whole run.
    static std::unique_ptr<QTranslator> current;
    if (current) {
        QCoreApplication::removeTranslator(current.get());
        current.reset();
    }
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return false;
    auto catalogue = std::make_unique<QTranslator>();
    if (!catalogue->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(catalogue.get());
    current = std::move(catalogue);
    return true;
}

} // namespace korv
