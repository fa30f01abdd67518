#pragma once
// Names for the keys of section "Msg" that the commands and windows show
// (the document layer's own are in document/Message.h). The keys in the
// language files stay "001", "002", ...

#include <QString>

namespace korv::msg {

inline const QString NothingFound = QStringLiteral("001");        // find passed the last row
inline const QString FilmUnreadable = QStringLiteral("002");      // AVI headers unreadable
inline const QString FileSaved = QStringLiteral("003");
inline const QString CheckReport = QStringLiteral("004");         // check done, report follows
inline const QString CheckFoundNothing = QStringLiteral("005");
inline const QString TimeNotANumber = QStringLiteral("006");
inline const QString RowLabel = QStringLiteral("007");            // put before a row number
inline const QString CheckTitle = QStringLiteral("008");
inline const QString EndPassesNextStart = QStringLiteral("009");
inline const QString RepairQuestion = QStringLiteral("010");
inline const QString Repaired = QStringLiteral("011");
inline const QString FormatNotRecognised = QStringLiteral("012");
inline const QString SplitPointInvalid = QStringLiteral("013");
inline const QString SecondsNotANumber = QStringLiteral("014");
inline const QString ListHint = QStringLiteral("015");            // status bar, list focused
inline const QString FieldsHint = QStringLiteral("016");          // status bar, a field focused
inline const QString NewDocumentQuestion = QStringLiteral("017");
inline const QString TourNeedsEmptyList = QStringLiteral("018");
inline const QString TourSampleOne = QStringLiteral("019");
inline const QString TourSampleTwo = QStringLiteral("020");
inline const QString UnsavedChanges = QStringLiteral("021");
inline const QString ScrollLockOn = QStringLiteral("022");
inline const QString ScrollLockOff = QStringLiteral("023");
inline const QString FilmCannotPlay = QStringLiteral("024");
inline const QString FilmGaveNoReason = QStringLiteral("042");
inline const QString NoSuchControl = QStringLiteral("065");      // a language file's key with no control

// Names a screen reader announces.
inline const QString NameSubtitleList = QStringLiteral("043");
inline const QString NameDuration = QStringLiteral("044");
inline const QString NameSkipBack = QStringLiteral("045");
inline const QString NameSkipForward = QStringLiteral("046");
inline const QString NameSkipStep = QStringLiteral("047");
inline const QString NameAviDetails = QStringLiteral("048");
inline const QString NamePlayPause = QStringLiteral("049");
inline const QString NameFilmPosition = QStringLiteral("060");
inline const QString NameNoticeText = QStringLiteral("061");
inline const QString NameNoticePicture = QStringLiteral("062");
inline const QString NameKeypadPicture = QStringLiteral("063");
inline const QString NameHelpPage = QStringLiteral("064");

// The undo and redo menu items, and the names of the steps they name.
inline const QString Undo = QStringLiteral("066");
inline const QString Redo = QStringLiteral("067");
inline const QString StepTyping = QStringLiteral("068");
inline const QString StepAddRow = QStringLiteral("069");
inline const QString StepDeleteRow = QStringLiteral("070");
inline const QString StepRestoreRow = QStringLiteral("071");
inline const QString StepTimeShift = QStringLiteral("072");
inline const QString StepCheck = QStringLiteral("073");
inline const QString StepNewDocument = QStringLiteral("074");
inline const QString StepCaptureStart = QStringLiteral("075");
inline const QString StepCaptureEnd = QStringLiteral("076");
inline const QString StepLengthen = QStringLiteral("077");
inline const QString StepShorten = QStringLiteral("078");

// The recovery copy offered at start.
inline const QString RecoveryQuestion = QStringLiteral("079");
inline const QString RecoveryUntitled = QStringLiteral("080");
inline const QString RecoveryCopyUnreadable = QStringLiteral("081");
inline const QString RecoveryFolderUnwritable = QStringLiteral("270"); // a notice, once
inline const QString RecoveryNotKept = QStringLiteral("271");          // the status bar

// The buttons of the question windows.
inline const QString ButtonYes = QStringLiteral("090");
inline const QString ButtonNo = QStringLiteral("091");
inline const QString ButtonCancel = QStringLiteral("092");
inline const QString ButtonOk = QStringLiteral("093");
// The edit fields' context menu, beside the document's undo and redo.
inline const QString MenuCut = QStringLiteral("094");
inline const QString MenuCopy = QStringLiteral("095");
inline const QString MenuPaste = QStringLiteral("096");
inline const QString MenuDelete = QStringLiteral("097");
inline const QString MenuSelectAll = QStringLiteral("098");

// The check's stops beyond an overlap, and its question before sorting.
inline const QString EndBeforeStart = QStringLiteral("082");
inline const QString StartBeforeRowAbove = QStringLiteral("083");
inline const QString SortByStartQuestion = QStringLiteral("084");

// The reading checks and the spelling.
inline const QString ReadingSpeedHeader = QStringLiteral("190");  // the list's column
inline const QString NameReadingSpeed = QStringLiteral("191");    // the label beside the times
inline const QString NameLineLength = QStringLiteral("192");      // the label beside line %1
inline const QString RuleCps = QStringLiteral("193");
inline const QString RuleLineLength = QStringLiteral("194");
inline const QString RuleLines = QStringLiteral("195");
inline const QString RuleMinDuration = QStringLiteral("196");
inline const QString RuleMaxDuration = QStringLiteral("197");
inline const QString RuleGap = QStringLiteral("198");
inline const QString RuleEmpty = QStringLiteral("199");
inline const QString RuleSpelling = QStringLiteral("200");
inline const QString ProblemCps = QStringLiteral("201");
inline const QString ProblemLineLength = QStringLiteral("202");
inline const QString ProblemLines = QStringLiteral("203");
inline const QString ProblemMinDuration = QStringLiteral("204");
inline const QString ProblemMaxDuration = QStringLiteral("205");
inline const QString ProblemGapFrames = QStringLiteral("206");
inline const QString ProblemGapMs = QStringLiteral("207");
inline const QString ProblemEmpty = QStringLiteral("208");
inline const QString ProblemSpelling = QStringLiteral("209");
inline const QString ReportNothing = QStringLiteral("210");
inline const QString FixAllDone = QStringLiteral("211");
inline const QString SpellingProgress = QStringLiteral("212");
inline const QString SpellingStopped = QStringLiteral("213");
inline const QString DictionaryMissing = QStringLiteral("214");
inline const QString PersonalListDamaged = QStringLiteral("215");
inline const QString PersonalListUnwritable = QStringLiteral("216");
inline const QString MenuAddToDictionary = QStringLiteral("217");
inline const QString MenuIgnoreWord = QStringLiteral("218");
inline const QString MenuNoSuggestions = QStringLiteral("219");
inline const QString MenuDictionary = QStringLiteral("220");
inline const QString MenuNoDictionary = QStringLiteral("221");
inline const QString StepReadingFix = QStringLiteral("222");
inline const QString StepReadingFixAll = QStringLiteral("223");
inline const QString LimitsNotNumbers = QStringLiteral("224");
inline const QString ReportCount = QStringLiteral("225");
inline const QString DictionaryLoading = QStringLiteral("226");
inline const QString PersonalListUnreadable = QStringLiteral("227");
inline const QString FixNewEnd = QStringLiteral("228");
// The film's audio tracks under the film menu (the film's own texts are in
// media/MediaMessages.h).
inline const QString AudioTrackMenu = QStringLiteral("114");

// Laying times on the voice: the snap-rows and fit commands, their steps
// and menu items, the options window's limits.
inline const QString VoiceNotKnown = QStringLiteral("160");
inline const QString SnapRowsDone = QStringLiteral("161");
inline const QString FitQuestionRate = QStringLiteral("162");
inline const QString FitQuestionOffset = QStringLiteral("163");
inline const QString FitNotFound = QStringLiteral("164");
inline const QString FitAlreadyFits = QStringLiteral("165");
inline const QString FitRunning = QStringLiteral("166");
inline const QString StepSnapRows = QStringLiteral("167");
inline const QString StepFitToVoice = QStringLiteral("168");
inline const QString MenuSnapRows = QStringLiteral("169");
inline const QString MenuFitToVoice = QStringLiteral("170");
inline const QString VoiceLimitsNotNumbers = QStringLiteral("171");
inline const QString FitStopped = QStringLiteral("272");       // the status bar, after a cancel
inline const QString ShortcutVoiceKeys = QStringLiteral("273"); // the shortcut table's line of F9 and the fit
// The waveform strip under the film: its name and state for a screen reader
// (the percent, ready, or why there is no waveform), the notice of a sound
// that could not be analysed, the status bar while it is, and the steps of
// dragging a box.
inline const QString NameWaveform = QStringLiteral("130");
inline const QString WaveformPercent = QStringLiteral("131");   // %1: a whole number
inline const QString WaveformReady = QStringLiteral("132");
inline const QString WaveformNoFilm = QStringLiteral("133");
inline const QString SoundNoAudioTrack = QStringLiteral("134");
inline const QString SoundUndecodable = QStringLiteral("135");
inline const QString SoundTruncated = QStringLiteral("136");
inline const QString SoundUnreadable = QStringLiteral("137");
inline const QString SoundNotice = QStringLiteral("138");       // %1: the reason
inline const QString StatusAnalysing = QStringLiteral("139");   // %1: the percent as 131 writes it
inline const QString StepDragStart = QStringLiteral("140");
inline const QString StepDragEnd = QStringLiteral("141");
inline const QString StepDragRow = QStringLiteral("142");

} // namespace korv::msg
