#include "app/EditorCommandLine.h"

#include "document/ProgramInfo.h"

#include <QSet>

namespace korv {

namespace {

// The options QGuiApplication and QApplication take themselves (single or
// double dash), with those that take the next argument as their value.
const QSet<QString> kQtOptionsWithValue = {
    QStringLiteral("platform"), QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
    QStringLiteral("plugin"),   QStringLiteral("qwindowgeometry"),    QStringLiteral("qwindowicon"),
    QStringLiteral("qwindowtitle"), QStringLiteral("session"),        QStringLiteral("display"),
    QStringLiteral("geometry"), QStringLiteral("style"),              QStringLiteral("stylesheet"),
    QStringLiteral("name"),     QStringLiteral("title"),
};
const QSet<QString> kQtSwitches = {
    QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("nograb"),
    QStringLiteral("dograb"),  QStringLiteral("sync"),        QStringLiteral("qmljsdebugger"),
};

EditorCommandLine usageError(const QString &error)
{
    EditorCommandLine line;
    line.action = EditorCommandLine::Action::UsageError;
    line.error = error;
    return line;
}

} // namespace

EditorCommandLine readEditorCommandLine(const QStringList &arguments)
{
    EditorCommandLine line;
    QStringList files;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (optionsEnded || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            files << a;
        } else if (a == QLatin1String("--")) {
            optionsEnded = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            line.action = EditorCommandLine::Action::Help;
        } else if (a == QLatin1String("--film")) {
            if (++i >= arguments.size())
                return usageError(QStringLiteral("--film takes a film"));
            line.film = arguments[i];
        } else if (a.startsWith(QLatin1String("--film="))) {
            line.film = a.mid(7);
        } else if (a == QLatin1String("--version")) {
            if (line.action != EditorCommandLine::Action::Help)
                line.action = EditorCommandLine::Action::Version;
        } else {
            // "-style fusion", "--style=fusion": Qt's.
            const QString name = a.mid(a.startsWith(QLatin1String("--")) ? 2 : 1).section(QLatin1Char('='), 0, 0);
            if (kQtOptionsWithValue.contains(name)) {
                if (!a.contains(QLatin1Char('=')) && ++i >= arguments.size())
                    return usageError(QStringLiteral("%1 takes a value").arg(a));
            } else if (!kQtSwitches.contains(name)) {
                return usageError(QStringLiteral("unknown option %1").arg(a));
            }
        }
    }
    if (line.action != EditorCommandLine::Action::Run)
        return line;
    if (files.size() > 1)
        return usageError(QStringLiteral("one subtitle file at a time"));
    line.subtitle = files.value(0);
    return line;
}

QString editorUsage()
{
    return QStringLiteral("usage: korvendal-sub [SUBTITLE] [--film FILM]\n"
                          "       korvendal-sub --help | --version\n"
                          "\n"
                          "Opens the subtitle editor, with SUBTITLE (a SubViewer 2, MicroDVD, SubRip or\n"
                          "WebVTT file) in it when one is named, and FILM (any film the player plays)\n"
                          "in the preview.\n"
                          "\n"
                          "  --film FILM  open FILM in the preview\n"
                          "  -h, --help   print this help and end\n"
                          "  --version    print the name and version and end\n"
                          "\n"
                          "Qt's own options (-platform NAME, -style NAME, ...) are passed on to Qt.\n"
                          "Exit status: 0 when the editor was closed, 2 a usage error.\n");
}

EditorAnswer answerWithoutWindow(const EditorCommandLine &line)
{
    EditorAnswer answer;
    switch (line.action) {
    case EditorCommandLine::Action::Run: break;
    case EditorCommandLine::Action::Help: answer.out = editorUsage(); break;
    case EditorCommandLine::Action::Version:
        answer.out = QStringLiteral("korvendal-sub %1\n").arg(ProgramInfo::versionText());
        break;
    case EditorCommandLine::Action::UsageError:
        answer.exitCode = 2;
        answer.err = QStringLiteral("korvendal-sub: %1\n").arg(line.error) + editorUsage();
        break;
    }
    return answer;
}

} // namespace korv
