#pragma once
// frmLng: the language window shown at the first start. It lists the files
// of the language folder; choosing one makes its language current and shows
// the translator's name; "OK" stores the language as "lng" and closes.
// Closing the window any other way stores nothing.

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace korv {

class Language;

class LanguageWindow : public QDialog {
    Q_OBJECT
public:
    // Choosing a file makes its language `language`'s current one.
    explicit LanguageWindow(Language &language, QWidget *parent = nullptr);

    QListWidget *File1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *Command1 = nullptr;

    void File1_Click();
    void Command1_Click();

private:
    Language &language_;
};

} // namespace korv
