// A program on the command layer for the crash test: it changes a document
// and keeps its recovery copy until it is killed, or it starts again and
// brings the copy back. Every row it holds is printed as a JSON array a line.
//
//   recovery_child FOLDER change    copy written, rows printed, "copied", wait
//   recovery_child FOLDER stall     the same, then a change whose copy stops
//                                   halfway through writing: "stalled", wait
//   recovery_child FOLDER restore   every copy left is brought back, "restored"
#include "commands/LineCommands.h"
#include "commands/RecoveryCopies.h"
#include "commands/Workspace.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

using namespace korv;

namespace {

void print(const QByteArray &line)
{
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void printRows(const SubtitleList &list)
{
    for (const SubtitleEntry &row : list.rows())
        print(QJsonDocument(QJsonArray{row.number, row.start, row.end, row.text}).toJson(QJsonDocument::Compact));
}

[[noreturn]] void waitToBeKilled()
{
    for (;;)
        QThread::sleep(3600);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QByteArray mode = argv[2];

    QTemporaryDir programFolder;
    Language language(programFolder.path());
    SilentDialogs ui; // answers Yes: bring the copy back
    Workspace ws(ui, language);
    ws.numbers = NumberFormat::dot();
    RecoveryCopies copies(ws, folder, 30);

    if (mode == "restore") {
        copies.offerLeftCopies();
        printRows(ws.list);
        print("restored");
        return 0;
    }

    // A document as just opened, then the user's changes.
    std::vector<SubtitleEntry> rows;
    for (int i = 0; i < 1000; ++i)
        rows.push_back({QString::number(i + 1), QString::number(i * 3), i == 7 ? QStringLiteral("x") : QString::number(i * 3 + 2),
                        QStringLiteral("satır %1|ğüşiöç İĞÜŞÖÇ").arg(i)});
    ws.list.replaceAll(std::move(rows));
    ws.currentSubtitleFile = folder + QStringLiteral("/film.sub");
    ws.history.startNew();
    ws.list.select(500);
    ws.fields.setText(EditFields::Line1, QStringLiteral("typed before the kill"));
    ws.list.select(2);
    deleteRow(ws);
    addRow(ws);
    copies.writeNow();
    copies.waitForWrites();
    printRows(ws.list);
    print("copied");
    if (mode == "change")
        waitToBeKilled();

    ws.list.select(10);
    ws.fields.setText(EditFields::Line1, QStringLiteral("typed while the copy was written"));
    copies.setWriter([](const QString &path, const QByteArray &bytes) {
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(bytes.left(bytes.size() / 2));
            file.flush();
        }
        print("stalled");
        waitToBeKilled();
        return false;
    });
    copies.writeNow();
    waitToBeKilled();
}
