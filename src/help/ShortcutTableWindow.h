#pragma once
// frmKisayollar: a picture of the Print Screen / Scroll Lock / Pause keys and
// the numeric keypad, with a label for every shortcut and a thin line from
// the label to its key.

#include <QDialog>
#include <QPixmap>

#include <array>

class QLabel;
class QPushButton;

namespace korv {

class Language;

class ShortcutTableWindow : public QDialog {
    Q_OBJECT
public:
    // Its texts come from `language`.
    explicit ShortcutTableWindow(const Language &language, QWidget *owner = nullptr);

    static constexpr int kLabelCount = 14;
    // Label1(0) to Label1(13): the built-in texts; the language file may
    // replace them.
    std::array<QLabel *, kLabelCount> Label1{};
    QLabel *Image1 = nullptr;
    // The keys beyond the keypad that lay times on the voice (F9, and the
    // file menu's fit, which has no key).
    QLabel *LblSes = nullptr;
    QPushButton *CmdKapat = nullptr;

    // The keys of the picture.
    enum class Key {
        PrintScreen, ScrollLock, Pause,
        NumLock, Divide, Multiply, Subtract,
        Keypad7, Keypad8, Keypad9, Add,
        Keypad4, Keypad5, Keypad6,
        Keypad1, Keypad2, Keypad3, Enter,
        Keypad0, Decimal,
    };
    // A key's rectangle in the picture (300 x 204 pixels).
    static QRect keyRect(Key key);
    // Where the key's legends are drawn, in the picture: inside the key,
    // each of them whole.
    static QList<QRect> legendRects(Key key);
    // The point a line ends at: a free spot of the key, clear of its legends.
    static QPoint keyAnchor(Key key);
    static QPixmap keypadPicture();

    // Each line runs from its label's edge through the bends given (window
    // coordinates) to its key's anchor, passing no key's legend.
    struct Connector {
        int label;
        Key key;
        std::array<QPoint, 2> bends{};
        int bendCount = 0;
    };
    static const std::array<Connector, 14> &connectors();
    QPolygon connectorPath(const Connector &connector) const;

private:
    void Form_Load();

    const Language &language_;
};

// Shown modally (at the first start and by F1).
void ShowShortcutTable(const Language &language, QWidget *owner);

} // namespace korv
