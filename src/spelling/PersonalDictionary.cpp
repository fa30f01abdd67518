#include "spelling/PersonalDictionary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace korv {

namespace {

// A list of words is small; anything larger is not one.
constexpr qint64 kLargestList = 4 * 1024 * 1024;
constexpr qsizetype kLongestWord = 100;

bool isWord(const QString &line)
{
    if (line.isEmpty() || line.size() > kLongestWord)
        return false;
    for (QChar c : line) {
        if (c.isSpace() || c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter)
            return false;
    }
    return true;
}

} // namespace

QString personalDictionaryPath(const QString &folder, const QString &dictionary)
{
    return QDir(folder).filePath(QStringLiteral("words-%1.txt").arg(dictionary));
}

PersonalWords readPersonalWords(const QString &path)
{
    PersonalWords result;
    QFile file(path);
    if (!file.exists())
        return result;
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    const QByteArray bytes = file.read(kLargestList + 1);
    if (bytes.size() > kLargestList) {
        result.damagedLine = 1;
        return result;
    }
    const QList<QByteArray> lines = bytes.split('\n');
    int number = 0;
    for (QByteArray line : lines) {
        ++number;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString word = QString(utf8(line)).trimmed();
        if (utf8.hasError() || line.contains('\0') || !isWord(word)) {
            ++result.skipped;
            if (result.damagedLine == 0)
                result.damagedLine = number;
            continue;
        }
        result.words << word;
    }
    return result;
}

QString appendPersonalWord(const QString &path, const QString &word)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QStringLiteral("cannot make the folder %1").arg(QFileInfo(path).absolutePath());
    QFile file(path);
    // A list that does not end its last line gets the line end first.
    bool needsNewLine = false;
    if (file.open(QIODevice::ReadOnly)) {
        needsNewLine = file.size() > 0 && file.seek(file.size() - 1) && file.read(1) != "\n";
        file.close();
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return file.errorString();
    QByteArray line = word.toUtf8() + '\n';
    if (needsNewLine)
        line.prepend('\n');
    if (file.write(line) != line.size() || !file.flush())
        return file.errorString();
    return QString();
}

} // namespace korv
