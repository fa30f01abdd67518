#pragma once
// What the main window holds for a run, without its widgets: the document,
// the Text1 fields, the window-level state the commands share, and the
// context they work in (the user's number format and letter case, the
// language files, the frame rates), passed in rather than held in globals.
// Commands are functions over a Workspace, so tests run them with scripted
// answers and the main window only wires widgets to them.

#include "commands/DocumentHistory.h"
#include "commands/FileCommands.h"
#include "commands/FilmSpeech.h"
#include "commands/OpenFilm.h"
#include "commands/SpellingCommands.h"
#include "dialogs/UserDialogs.h"
#include "document/FrameRate.h"
#include "document/ReadingProfile.h"
#include "document/SubtitleList.h"
#include "editing/EditFields.h"
#include "editing/ReadingMarks.h"
#include "editing/Wildcard.h"
#include "locale/Language.h"
#include "locale/Options.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>

namespace korv {

class Workspace : public QObject {
    Q_OBJECT
public:
    // Numbers and letters as the system's locale has them, until set.
    Workspace(UserDialogs &ui, Language &language, QObject *parent = nullptr);

    UserDialogs &ui;
    Language &language;
    // The user's number format, for every time text; the rule that
    // lower-cases letters for the find command.
    NumberFormat numbers;
    LetterCase letterCase;

    SubtitleList list;
    EditFields fields{list, numbers};

    // The open film's frame rate and the one last confirmed for MicroDVD.
    FrameRates frameRates;
    // The film in the preview: its path, description and the audio track heard.
    OpenFilm film;
    // The speech in its sound, once analysed.
    FilmSpeech filmSpeech;

    // Path of the subtitle file last opened or saved.
    QString currentSubtitleFile;
    // The format the document was last opened or saved in, for saving
    // before it is closed.
    SaveFormat documentFormat = SaveFormat::SubViewer;
    // How finely the document keeps its times: that of its format.
    TimePrecision precision() const { return precisionOf(documentFormat); }
    // The file dialog remembers the last path chosen in any of its uses.
    QString lastDialogPath;

    // The check-and-repair panel's boxes and the last check's report.
    bool hataCheck1 = false;
    bool hataCheck2 = false;
    QString checkReport;

    // The options window's five check boxes and its seconds field, read at
    // the moment a command needs them. The main window points these at the
    // options window; until then every option is off.
    std::function<bool(Option)> option = [](Option) { return false; };
    std::function<QString()> optionSeconds = [] { return QStringLiteral("2"); };
    // Laying times on the voice, as the options window has them; the
    // defaults until the main window points this at it.
    std::function<VoiceOptions()> voiceOptions = [] { return VoiceOptions{}; };

    // The line toolbar's one-row restore buffer: the deleted row's 1-based
    // position (as text), start, end and subtitle text.
    std::array<QString, 4> deletedRowBuffer;
    // "GERİ AL SİL" is enabled after a deletion and disabled after a restore.
    bool restoreEnabled() const { return restoreEnabled_; }
    void setRestoreEnabled(bool enabled);

    // Find: the 1-based position the last search stored, and whether the next
    // press goes on below it or starts again at the top.
    int lastFoundRow = 0;
    bool findContinues = false;

    // Undo and redo of every change to the rows.
    DocumentHistory history{*this};

    // The reading checks: the limits in force (the options window's) and
    // every row's marks, kept as the rows change.
    ReadingProfile readingProfile;
    ReadingMarks reading{list};
    // The document's dictionary and the user's own words.
    DocumentSpelling spelling{*this};

signals:
    // A subtitle file was read: the help button is enabled.
    void helpButtonEnabled();
    void restoreEnabledChanged(bool enabled);

private:
    bool restoreEnabled_ = false;
};

} // namespace korv
