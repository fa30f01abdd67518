#include "app/EditorCommandLine.h"
#include "app/Startup.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    // Before QApplication: --help needs no display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const korv::EditorCommandLine line = korv::readEditorCommandLine(arguments);
    if (line.action != korv::EditorCommandLine::Action::Run) {
        const korv::EditorAnswer answer = korv::answerWithoutWindow(line);
        std::fputs(answer.out.toLocal8Bit().constData(), stdout);
        std::fputs(answer.err.toLocal8Bit().constData(), stderr);
        return answer.exitCode;
    }
    QApplication app(argc, argv);
    return korv::runEditor(app, line);
}
