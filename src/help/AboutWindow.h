#pragma once
// frmHakkinda: the program's version, its maker and the contact addresses,
// which open the web browser and the mail program.

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace korv {

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget *owner = nullptr);

    QLabel *lblSitem = nullptr;
    QLabel *lblEmail = nullptr;
    QPushButton *CmdKapat = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void Form_Load();
};

// Shown modally over `owner` by the file toolbar's "HAKKINDA" button.
void ShowAboutWindow(QWidget *owner);

} // namespace korv
