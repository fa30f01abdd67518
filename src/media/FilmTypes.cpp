#include "media/FilmTypes.h"

#include <QFileInfo>

namespace korv::media {

const QStringList &filmExtensions()
{
    static const QStringList extensions = {
        QStringLiteral("avi"), QStringLiteral("dat"),  QStringLiteral("mkv"),  QStringLiteral("mp4"),
        QStringLiteral("m4v"), QStringLiteral("webm"), QStringLiteral("mov"),  QStringLiteral("ts"),
        QStringLiteral("m2ts"), QStringLiteral("mts"), QStringLiteral("mpg"),  QStringLiteral("mpeg"),
        QStringLiteral("vob"), QStringLiteral("wmv"),  QStringLiteral("asf"),  QStringLiteral("ogv"),
        QStringLiteral("flv"), QStringLiteral("3gp"),
    };
    return extensions;
}

QString filmPatterns()
{
    QStringList patterns;
    for (const QString &extension : filmExtensions())
        patterns << QStringLiteral("*.") + extension << QStringLiteral("*.") + extension.toUpper();
    return patterns.join(QLatin1Char(';'));
}

bool isFilmFileName(const QString &path)
{
    return filmExtensions().contains(QFileInfo(path).suffix().toLower());
}

} // namespace korv::media
