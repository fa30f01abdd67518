#pragma once
// Form1: the main window. Its left column holds the subtitle list with the
// line toolbar, the search row, the tab strip, the tool panel of the chosen
// tab and the file toolbar; its right column the film player with the
// subtitle strip, the film position and information boxes, the skip buttons
// and the AVI details; a status bar runs along the bottom.
//
// The window only builds and places the controls and wires them to the
// commands, which work on the Workspace. Controls keep their design names
// (as object names too, "Text1(0)", "Frame2(3)"), so tests and other windows
// find them.

#include "app/MainWindowLayout.h"
#include "commands/FirstActivation.h"
#include "commands/KeypadShortcuts.h"
#include "commands/RecoveryCopies.h"
#include "commands/Workspace.h"
#include "document/SubtitleTableModel.h"
#include "help/QtUserDialogs.h"
#include "help/Twips.h"
#include "preview/SystemScrollLock.h"

#include <QCoreApplication>
#include <QWidget>

#include <array>
#include <vector>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabBar;
class QTimer;
class QKeyEvent;
class QTableView;
class QToolBar;
class QToolButton;
class QTreeWidget;

namespace korv {

class LanguageMenu;
class ReadingAnnotations;
class ReadingReportWindow;
class SpellingRun;
class OptionsWindow;
class FilmCommands;
class FilmPreview;
class FilmSound;
class WaveformStrip;
class QtFilmPlayer;
class VideoView;
class VoiceFit;
class WrapCheckBox;

// The main window's controls and parts, by their design names. Private to
// the window; tests reach them through Form1::controls().
struct Form1Controls {
    // Left column.
    QWidget *Frame1 = nullptr;
    QTableView *Listview = nullptr;
    QToolBar *Cubuk = nullptr;
    std::array<QAction *, 3> CubukButtons{};
    QWidget *Frame4 = nullptr;
    QWidget *Frame5 = nullptr;
    QPushButton *CmdFind = nullptr;
    QWidget *Frame3 = nullptr;
    QTabBar *Sekme = nullptr;
    std::array<QWidget *, 4> Frame2{};
    QWidget *Frame6 = nullptr;
    QToolBar *Cubuk2 = nullptr;
    std::array<QAction *, 5> Cubuk2Buttons{};

    // The Text1 array and the captions Label1(0) to Label1(17).
    std::array<QLineEdit *, EditFields::kCount> Text1{};
    std::array<QLabel *, 18> Label1{};

    // Edit panel (tab 1).
    QLabel *LblUzunluk = nullptr;
    QToolButton *CmdArayiAc = nullptr;
    QToolButton *CmdArayiKapat = nullptr;
    // Split panel (tab 2).
    QComboBox *Combo1 = nullptr;
    QPushButton *CmdBol = nullptr;
    // Time-shift panel (tab 3).
    std::array<QRadioButton *, 2> Option1{};
    QLabel *Label3 = nullptr;
    QPushButton *CmdEkleCikar = nullptr;
    // Check-and-repair panel (tab 4).
    WrapCheckBox *HataCheck1 = nullptr;
    WrapCheckBox *HataCheck2 = nullptr;
    QPushButton *CmdHataKontrolu = nullptr;

    // Right column.
    QWidget *Frame12 = nullptr;
    QWidget *MediaPlayer1 = nullptr;
    QWidget *Picture2 = nullptr;
    QLabel *LblAltYazi = nullptr;
    QWidget *Frame7 = nullptr;
    QLabel *LblCurrentFrame = nullptr;
    QLabel *LblCurrentTime = nullptr;
    QLabel *LblCurrentAdTime = nullptr;
    QWidget *Frame13 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QWidget *Frame14 = nullptr;
    std::array<QToolButton *, 2> Command1{};
    QWidget *Frame15 = nullptr;
    QTreeWidget *ListView1 = nullptr;

    QStatusBar *Durum = nullptr;

    // The open film's sound and the waveform strip under everything, with
    // the analysis's percent in the status bar (Form1Sound.cpp).
    FilmSound *filmSound = nullptr;
    WaveformStrip *Waveform = nullptr;
    QLabel *SoundState = nullptr;

    // The help tour's two demonstration timers.
    QTimer *TimerOr1 = nullptr;
    QTimer *TimerOr2 = nullptr;
    // The film player shown in MediaPlayer1 and the film logic behind the
    // overlay, the position labels and the AVI panel (Form1Preview.cpp).
    QtFilmPlayer *filmPlayer = nullptr;
    FilmPreview *preview = nullptr;
    FilmCommands *filmCommands = nullptr;

    // The keypad timing shortcuts and Scroll Lock (Form1Keyboard.cpp).
    ScrollLockState scrollLock{readSystemScrollLock};
    std::unique_ptr<KeypadShortcuts> keypad;

    // The two pop-up menus of the file toolbar.
    QMenu *mnudosyamenu = nullptr;
    // Undo and redo of the document's steps (Form1Editing.cpp).
    QAction *mnuGeriAl = nullptr;
    QAction *mnuYinele = nullptr;
    QAction *MnuYeniAltYazi = nullptr;
    QAction *mnualtyaziac = nullptr;
    QAction *mnufilmac = nullptr;
    // The film's audio tracks, one item a track, the one heard checked.
    QMenu *mnusesizi = nullptr;
    std::array<QAction *, 6> mnualtyazikaydet{}; // indexes 2 to 5, as SaveFormat
    QMenu *mnuoptions = nullptr;
    QMenu *mnulanguage = nullptr;
    std::array<QAction *, 6> mnulng{};
    QAction *mnusecenekler = nullptr;

    LanguageMenu *languageMenu = nullptr;
    // The options window, made hidden with the main window; its check boxes
    // are the options.
    OptionsWindow *frmSecenekler = nullptr;

    // The reading checks and the spelling (Form1Checks.cpp): the reading
    // speed and line lengths beside the fields, the report's button and
    // window, the dictionary menu.
    QLabel *LblOkumaHizi = nullptr;
    std::array<QLabel *, 3> LblSatirUzunlugu{};
    QPushButton *CmdRapor = nullptr;
    ReadingReportWindow *frmRapor = nullptr;
    QMenu *mnusozluk = nullptr;

    // Laying times on the voice (Form1Speech.cpp): the chosen rows snapped,
    // the whole file fitted to the film's speech.
    QAction *mnuSeseOturt = nullptr;
    QAction *mnuFilmeUydur = nullptr;
    VoiceFit *voiceFit = nullptr;
};

class Form1 : public QWidget, private Form1Controls {
    Q_OBJECT
public:
    // The window speaks `language`; `dialogs` answers for the user in tests,
    // by default the real windows do.
    explicit Form1(Language &language, UserDialogs *dialogs = nullptr, QWidget *parent = nullptr);
    ~Form1() override;

    Workspace &workspace() { return ws_; }
    RecoveryCopies &recovery() { return recovery_; }
    UserDialogs &dialogs() { return dialogs_; }
    SubtitleTableModel &listModel() { return model_; }

    // Design rectangles are in twips; the window assumes 15 twips to a pixel.
    static constexpr int kTwipsPerPixel = Twips::kPerPixel;
    static QRect twips(int left, int top, int width, int height);

    // Client area at the design (and minimum) size, in twips.
    static constexpr int kDesignClientWidth = MainWindowSize::kDesignClientWidth;
    static constexpr int kDesignClientHeight = MainWindowSize::kDesignClientHeight;

    // The status bar's hint panel: the message `key` ("015", "016"), or
    // nothing for an empty key; it follows a change of language.
    void setStatusHint(const QString &key);
    QString statusHint() const;
    // The texts the window sets itself (accessible names, the status bar),
    // in the current language.
    void applyOwnTexts();

    // Handlers of the window's controls.
    void Cubuk2_ButtonClick(int position);
    void Sekme_Click();
    // The guided help tour ("YARDIM").
    void StartHelpTour();

    // Start-up after construction: the first row, the window centred, the
    // split format, the version, the first run's language choice and the
    // language menu.
    void Form_Load();
    // The language window of a first run; the real one unless replaced.
    std::function<void()> showLanguageWindow;
    // The first activation after Form_Load finishes a first run (shortcut
    // table, tour, set.cfg).
    void Form_Activate();
    bool FirstActivationDone = false;
    FirstActivationSteps firstActivationSteps;
    // Shutdown: the film stopped, the options window closed.
    void Form_Unload();
    std::function<void()> stopFilm;
    // SIGTERM or SIGHUP: the window closes without asking, its unsaved
    // changes kept in the recovery copy for the next start.
    void endBySignal();
    bool endedBySignal() const { return endingBySignal_; }
    // Ends every event loop, a question's or a dialog's left open included
    // (quit() would ask each window first, and the first run's language
    // window refuses to close).
    std::function<void()> endRun = [] { QCoreApplication::exit(0); };
    // A subtitle file named on the command line, opened now, or (openAtStart)
    // after the first activation's steps.
    void openFromCommandLine(const QString &path);
    void openAtStart(const QString &path);
    // A film named on the command line, opened after the subtitle file.
    void openFilmAtStart(const QString &path);
    void Form_Resize(); // Form1Layout.cpp

    // One key as the window previews it; true when its character is dropped.
    bool Form_KeyEvent(QKeyEvent *event);
    void Command1_MouseMove(int index);

    // Language and options (Form1Language.cpp).
    // Start-up: stores the version, shows the language window on a first
    // run, then builds the language menu, which applies the stored language.
    void startLanguage();
    void LoadLanguageMenu();
    void mnulng_Click(int index);
    void mnusecenekler_Click();

    // The controls, for tests and the windows that point at them.
    Form1Controls &controls() { return *this; }
    const Form1Controls &controls() const { return *this; }

signals:
    // The window is up and its first activation's steps are over.
    void firstActivationFinished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // A film or a subtitle file dropped on the window opens.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildListColumn();
    void buildPanels();
    void buildEditPanel(QWidget *panel);
    void buildSplitPanel(QWidget *panel);
    void buildShiftPanel(QWidget *panel);
    void buildCheckPanel(QWidget *panel);
    void buildFileToolbar();
    void buildFilmColumn();
    void buildMenus();
    void wireList();
    void wireFields();
    void wireDocumentCommands();
    // Each subsystem wires its own commands, in a file of its own.
    void wireEditing();  // Form1Editing.cpp
    void wireHistory();
    void showHistoryItems();
    void showFieldMenu(QLineEdit *field, const QPoint &at);
    void wireLanguage(); // Form1Language.cpp
    void wirePreview();  // Form1Preview.cpp
    void wireSound();    // Form1Sound.cpp
    void showSoundTexts();
    void arrangePlayerArea();
    void nameFilmControls(); // Form1Preview.cpp
    void showAudioTracks();
    void wireKeyboard(); // Form1Keyboard.cpp
    void scrollLockPressed();
    void syncScrollLock();
    void showScrollLock();
    void wireHelp();     // Form1Help.cpp
    void wireReadingChecks(); // Form1Checks.cpp
    void wireSpeech();        // Form1Speech.cpp
    void showSpeechTexts();
    // The rows highlighted in the list, in order (the chosen one when none is).
    std::vector<int> highlightedRows() const;
    void wireRecovery(); // Form1Lifecycle.cpp
    void showRecoveryState();
    void showReadingLabels();
    void showReadingTexts();
    void spellField(int index);
    void spellFields();
    void addSpellingItems(QLineEdit *field, const QPoint &at, QMenu *menu);
    void fillDictionaryMenu();
    void CmdRapor_Click();
    void refreshReport(bool spellAgain);

    void Text1_GotFocus(int index);
    void Text1_LostFocus(int index);
    int text1Index(QObject *object) const;

    Language &language_;
    QtUserDialogs qtDialogs_;
    UserDialogs &dialogs_;
    Workspace ws_;
    SubtitleTableModel model_;
    RecoveryCopies recovery_{ws_, RecoveryCopies::defaultFolder(), RecoveryCopies::periodFromSettings()};
    QLabel *durumPanel_ = nullptr;
    QString statusHintKey_;
    bool syncingSelection_ = false;
    QLabel *scrollLockLabel_ = nullptr;
    // Shown once no recovery copies can be kept in `recoveryFolderLost_`.
    QLabel *recoveryLabel_ = nullptr;
    QString recoveryFolderLost_;
    bool endingBySignal_ = false;
    bool formLoaded_ = false;
    QString fileToOpenAtStart_;
    QString filmToOpenAtStart_;
    VideoView *filmVideo_ = nullptr;
    QWidget *filmBar_ = nullptr;
    std::unique_ptr<ReadingAnnotations> readingAnnotations_;
    std::unique_ptr<SpellingRun> spellingRun_;
    // The spelling lines of the report's last finished run, kept while fixes
    // change only times.
    std::vector<std::pair<int, QString>> spellingFound_;
    QString spelledFile_;
};

} // namespace korv
