#pragma once
// Everything that tells the user something or asks them: the notice window,
// questions, file dialogs, the frame-rate window and the busy pointer.
// Commands talk to this seam only; the program shows real windows through
// it, tests answer through a scripted one and read what was shown.

#include <QString>

#include <functional>
#include <optional>

namespace korv {

enum class Answer { Yes, No, Cancel };

struct FileDialogRequest {
    // "description|patterns" pairs, e.g. "Avi Film *.avi,*.dat|*.avi;*.dat".
    QString filter;
    // The name the dialog starts with (the last path chosen, for saving).
    QString fileName;
};

struct FileDialogResult {
    enum Kind { Chosen, Cancelled, Failed };
    Kind kind = Cancelled;
    QString path;
    int errorNumber = 0;
    QString errorDescription;

    static FileDialogResult chosen(const QString &path) { return {Chosen, path, 0, {}}; }
    static FileDialogResult cancelled() { return {Cancelled, {}, 0, {}}; }
    static FileDialogResult failed(int number, const QString &description)
    {
        return {Failed, {}, number, description};
    }
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // The notice window: a message and a title; returns when it is closed.
    virtual void showNotice(const QString &message, const QString &title) = 0;
    // A plain message box with an OK button only.
    virtual void showMessageBox(const QString &message) = 0;
    // Yes/No question with the question icon; No is the default button.
    virtual bool askYesNo(const QString &text, const QString &title) = 0;
    virtual Answer askYesNoCancel(const QString &text, const QString &title) = 0;

    virtual FileDialogResult chooseFileToOpen(const FileDialogRequest &request) = 0;
    // Asks before replacing an existing file.
    virtual FileDialogResult chooseFileToSave(const FileDialogRequest &request) = 0;

    // The frame-rate window: proposes `proposal`; the confirmed rate, or
    // nothing when the user closed the window.
    virtual std::optional<double> askFrameRate(const QString &proposal) = 0;

    // The busy (hourglass) pointer; calls nest.
    virtual void setBusy(bool busy) = 0;

    // A small window that stands, without blocking the user, while long work
    // runs on a worker: `text`, the percent done, and a cancel button (Esc
    // too, or closing it) that calls `cancel`. One at a time; a second begin
    // replaces the first. Where no user is at hand there is none.
    virtual void beginProgress(const QString &text, const QString &title, std::function<void()> cancel)
    {
        (void)text, (void)title, (void)cancel;
    }
    virtual void showProgress(int percent) { (void)percent; }
    // Closes the window; cancel is not called.
    virtual void endProgress() {}
};

// Shows nothing and answers every question the same way: for work with no
// user at hand (the command-line converter, benchmarks).
class SilentDialogs : public UserDialogs {
public:
    explicit SilentDialogs(std::optional<double> frameRate = std::nullopt) : frameRate_(frameRate) {}
    void showNotice(const QString &, const QString &) override {}
    void showMessageBox(const QString &) override {}
    bool askYesNo(const QString &, const QString &) override { return true; }
    Answer askYesNoCancel(const QString &, const QString &) override { return Answer::Yes; }
    FileDialogResult chooseFileToOpen(const FileDialogRequest &) override { return FileDialogResult::cancelled(); }
    FileDialogResult chooseFileToSave(const FileDialogRequest &) override { return FileDialogResult::cancelled(); }
    std::optional<double> askFrameRate(const QString &) override { return frameRate_; }
    void setBusy(bool) override {}

private:
    std::optional<double> frameRate_;
};

// Shows the busy pointer for the life of a command.
class BusyPointer {
public:
    explicit BusyPointer(UserDialogs &ui) : ui_(ui) { ui_.setBusy(true); }
    ~BusyPointer() { release(); }
    void release()
    {
        if (active_) {
            active_ = false;
            ui_.setBusy(false);
        }
    }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    UserDialogs &ui_;
    bool active_ = true;
};

// "Error N selecting file." and the description, for a failed file dialog.
QString fileDialogErrorText(const FileDialogResult &result);

} // namespace korv
