// The folders of src/ and tools/ and which may include which: the windows
// and the main window at the top, the commands below them, the pure parts
// (document, editing, the film's logic, the language files) underneath, the
// document at the bottom. Every #include "…" line is held against the list;
// a line that runs against it fails the test with its file and line.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

// Folder -> the folders it may include (besides itself).
const std::map<QString, std::set<QString>> kAllowed = {
    {"app", {"commands", "help", "document", "editing", "preview", "locale", "dialogs", "sound", "spelling", "media"}},
    {"commands", {"document", "editing", "preview", "locale", "dialogs", "sound", "spelling", "media"}},
    {"help", {"document", "locale", "dialogs"}},
    {"editing", {"document"}},
    {"preview", {"document", "media"}},
    {"locale", {"document"}},
    {"dialogs", {}},
    {"document", {}},
    // A film's sound: decoding, peaks, speech; nothing of ours below it but
    // the loader of FFmpeg's module.
    {"sound", {"ffmpeg"}},
    // FFmpeg's module, loaded on first use: its loader.
    {"ffmpeg", {}},
    // Spelling through Hunspell: words of a subtitle text, markup skipped.
    {"spelling", {"document"}},
    // A film's container: AVI headers and the media library's description.
    {"media", {"document", "ffmpeg"}},
    // The command-line converter: the document code, the sound analysis, the
    // spelling and the film's description.
    {"tools", {"document", "editing", "sound", "spelling", "media"}},
};

// "src/commands/Workspace.cpp" -> "commands"; "tools/subconv/SubConv.cpp" -> "tools".
QString folderOf(const QString &relative)
{
    const QStringList parts = relative.split(QLatin1Char('/'));
    return parts.first() == QLatin1String("tools") ? QStringLiteral("tools") : parts.value(1);
}

// Every include line that runs against the arrows under `root`, as
// "file:line: from -> to".
QStringList wrongArrows(const QString &root)
{
    static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s+"([^"]+)")re"));
    QStringList wrong;
    for (const QString &top : {QStringLiteral("src"), QStringLiteral("tools")}) {
        QDirIterator it(root + QLatin1Char('/') + top, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString relative = QDir(root).relativeFilePath(path);
            const QString from = folderOf(relative);
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                wrong << relative + QStringLiteral(": unreadable");
                continue;
            }
            int number = 0;
            while (!file.atEnd()) {
                const QString line = QString::fromUtf8(file.readLine());
                ++number;
                const QRegularExpressionMatch m = include.match(line);
                if (!m.hasMatch())
                    continue;
                const QString target = m.captured(1);
                // A file of the same folder, or what the build generates there.
                if (!target.contains(QLatin1Char('/'))) {
                    if (QFileInfo::exists(QFileInfo(path).dir().filePath(target)) || target.endsWith(QLatin1String(".moc")))
                        continue;
                    wrong << QStringLiteral("%1:%2: %3 -> \"%4\" (no such file beside it)")
                                 .arg(relative).arg(number).arg(from, target);
                    continue;
                }
                const QString to = target.section(QLatin1Char('/'), 0, 0);
                const auto allowed = kAllowed.find(from);
                if (to == from || (allowed != kAllowed.end() && allowed->second.count(to)))
                    continue;
                wrong << QStringLiteral("%1:%2: %3 -> %4").arg(relative).arg(number).arg(from, to);
            }
        }
    }
    return wrong;
}

} // namespace

TEST(IncludeArrows, EveryIncludeFollowsTheFoldersArrows)
{
    const QStringList wrong = wrongArrows(QStringLiteral(KORV_SOURCE_DIR));
    EXPECT_TRUE(wrong.isEmpty()) << wrong.join(QLatin1Char('\n')).toStdString();
    // Every folder the program has is in the list, so a new one is placed on purpose.
    const QStringList folders = QDir(QStringLiteral(KORV_SOURCE_DIR "/src")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &folder : folders)
        EXPECT_TRUE(kAllowed.count(folder)) << folder.toStdString() << " has no place in the arrows";
}

TEST(IncludeArrows, AWrongArrowIsNamedWithItsFileAndLine)
{
    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("src/document"));
    QDir(root.path()).mkpath(QStringLiteral("tools/subconv"));
    QFile bad(root.filePath(QStringLiteral("src/document/Bad.cpp")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("#include \"document/Fine.h\"\n// nothing\n#include \"commands/Workspace.h\"\n");
    bad.close();
    QFile tool(root.filePath(QStringLiteral("tools/subconv/Tool.cpp")));
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.write("#include \"editing/Find.h\"\n#include \"app/Form1.h\"\n");
    tool.close();
    QStringList wrong = wrongArrows(root.path());
    wrong.sort();
    EXPECT_EQ(wrong, QStringList({"src/document/Bad.cpp:3: document -> commands", "tools/subconv/Tool.cpp:2: tools -> app"}));
}
