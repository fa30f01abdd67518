#pragma once
// frmSecenekler: the options window. Five check boxes that change how film
// playback and the keypad shortcuts behave, each stored the moment it
// changes, and a seconds field stored when the window closes.
//
// It is made once, hidden, when the main window is made, and lives until the
// program ends: its check boxes are the only copy of the options, read by the
// commands whenever they need them. "KAPAT (ESC)" (also Esc and the close
// button) hides it, but only when the seconds field holds a number.

#include "document/TimeText.h"
#include "locale/Options.h"

#include <QDialog>

#include <array>
#include <optional>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korv {

class Language;
class ReadingLimitsBox;
class UserDialogs;

class OptionsWindow : public QDialog {
    Q_OBJECT
public:
    // Its captions come from `language`; the seconds are read in `numbers`.
    OptionsWindow(UserDialogs &ui, const Language &language, NumberFormat numbers, QWidget *parent = nullptr);

    static constexpr int kCheckCount = 5;
    std::array<QCheckBox *, kCheckCount> Check1{};
    QLineEdit *Text1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *CmdKapat = nullptr;
    // The reading checks' limits, stored when the window closes.
    ReadingLimitsBox *limits = nullptr;

    // Laying times on the voice: the capture option, stored the moment it
    // changes, and the snap-rows command's least gap and shortest duration,
    // stored when the window closes.
    QGroupBox *FrameSes = nullptr;
    QCheckBox *ChkSeseOturt = nullptr;
    QLabel *LblSesAra = nullptr;
    QLineEdit *TxtSesAra = nullptr;
    QLabel *LblSesSure = nullptr;
    QLineEdit *TxtSesSure = nullptr;

    bool optionFlag(int index) const;
    QString seconds() const;
    // The box as it is, and the limits as typed (as stored while a field
    // holds no fitting number).
    VoiceOptions voiceOptions() const;

    void Check1_Click(int index);
    void CmdKapat_Click();

signals:
    // New reading limits were stored.
    void readingLimitsChanged();

protected:
    // Esc and the title bar's close button go through CmdKapat_Click.
    void reject() override;
    // The captions follow the current language each time the window shows.
    void showEvent(QShowEvent *event) override;

private:
    void fitCaptions();
    void buildVoiceBox();
    // The limits typed; nothing when a field holds none (then `bad` is it).
    std::optional<VoiceOptions> typedVoiceLimits(QLineEdit **bad = nullptr) const;

    UserDialogs &ui_;
    const Language &language_;
    NumberFormat numbers_;
    std::array<QFrame *, 2> separators_{};
};

} // namespace korv
