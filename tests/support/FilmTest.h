#pragma once
// A workspace with the film side over a scripted player: the preview logic,
// the film commands, and helpers for AVI films and the information panel.

#include "commands/FilmCommands.h"
#include "preview/FilmPreview.h"
#include "support/AviFileWriter.h"
#include "support/ScriptedPlayer.h"
#include "support/WorkspaceTest.h"

#include <algorithm>

namespace korv::test {

class FilmPreviewTest : public WorkspaceTest {
protected:
    ScriptedPlayer player;
    FilmPreview preview{ws.list, player, ws.frameRates, ws.numbers};
    FilmCommands films{ws, preview};
    bool follow = false;
    QStringList events;

    FilmPreviewTest()
    {
        preview.listFollowsFilm = [this] { return follow; };
        films.showWaitWindow = [this] {
            events << QStringLiteral("wait shown, %1 rows").arg(preview.information().rows.size());
        };
        films.closeWaitWindow = [this] { events << QStringLiteral("wait closed"); };
    }
    QString write(const QString &name, const AviContents &contents)
    {
        folder.write(name, buildAvi(contents));
        return folder.filePath(name);
    }
    static AviContents film(quint32 rate, quint32 scale, quint32 frames)
    {
        return {.totalFrames = frames, .width = 640, .height = 480, .scale = scale, .rate = rate, .length = frames};
    }
    // The information rows' values of these names.
    QStringList values(const QStringList &names) const
    {
        QStringList found;
        for (const QString &name : names) {
            const auto &rows = preview.information().rows;
            const auto row = std::ranges::find(rows, name, &AviInfoRow::name);
            found << (row == rows.end() ? QStringLiteral("(no row)") : row->value);
        }
        return found;
    }
    // The four labels, the film's frame rate and the number of detail rows.
    QStringList panel() const
    {
        const FilmInformation &i = preview.information();
        return {i.totalFrames, i.totalTime, i.frameRate, i.resolution, QString::number(ws.frameRates.film, 'g', 15),
                QString::number(i.rows.size())};
    }
    // Rows 1..n from 10 i to 10 i + 5 seconds, text "row i".
    void setRegularRows(int n)
    {
        std::vector<SubtitleEntry> rows;
        for (int i = 1; i <= n; ++i)
            rows.push_back({{}, QString::number(10 * i), QString::number(10 * i + 5), QStringLiteral("row %1").arg(i)});
        ws.list.replaceAll(std::move(rows));
    }
    QString tickAt(double position)
    {
        player.at = position;
        preview.TimerAltYazi_Timer();
        return preview.overlayText();
    }
    int followAt(double position)
    {
        player.at = position;
        preview.TmrFilmiizle_Timer();
        return ws.list.selected();
    }
    QString clockAt(double position)
    {
        player.at = position;
        preview.UpdateFilmClock();
        return preview.clock().time + " | " + preview.clock().frame + " | " + preview.clock().clockTime;
    }
};

} // namespace korv::test
