#include "help/ShortcutTableWindow.h"

#include "help/ApplyLanguage.h"
#include "help/Twips.h"
#include "locale/Language.h"
#include "locale/MessageKeys.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace korv {

namespace {

using Key = ShortcutTableWindow::Key;

const QPoint kPictureAt(170, 100);
constexpr QSize kPictureSize(300, 204);

// Keypad grid: four columns of 40 pixels, five rows of 37.
constexpr int kColumnX[] = {132, 174, 216, 258};
constexpr int kRowY[] = {6, 45, 84, 123, 162};
constexpr int kKeyWidth = 40;
constexpr int kKeyHeight = 37;

const char *const kTexts[ShortcutTableWindow::kLabelCount] = {
    "Listeye yeni bir satır EKLE",
    "Listeden bir satır SİL",
    "Kısayolların aktif hale gelmesi için SCROLL LOCK ve NUM LOCK açık olmalı",
    "Filmi x saniye GERİ AL",
    "Filmi x saniye İLERİ AL",
    "PLAY / PAUSE",
    "Filmin o anki durduğu noktayı altyazının BİTİŞ noktası olarak yaz",
    "Filmin o anki durduğu noktayı altyazının BAŞLANGIÇ noktası olarak yaz",
    "Filmin o anki durduğu noktayı altyazının başlangıç veya bitiş noktalarından hangisi boş ise oraya yaz",
    "Filmi ileri alma hızını 1 saniye ARTTIR",
    "Filmi ileri-geri alma hızını 1 saniye AZALT",
    "Varsayılan film ileri-geri alma hızına geri dön",
    "Bu ekranı daha sonra F1 tuşu ile çağırabilirsiniz",
    "SON NOT : İllaki Numeric Keypad kısmından sayı girişi yapmak için SCROLL LOCK tuşunu kapatın. "
    "Böylelikle kısayollar devre dışı kalacaktır.",
};

// Left of the keypad the keys of its first column, right of it those of its
// third, each on the height of its key's anchor; the notes above, the middle
// column's keys below (their lines rise through the keys under them).
const QRect kLabelRects[ShortcutTableWindow::kLabelCount] = {
    QRect(8, 267, 270, 28),   // 0: keypad 0
    QRect(478, 267, 154, 28), // 1: keypad .
    QRect(216, 8, 200, 58),   // 2: Scroll Lock, Num Lock
    QRect(8, 228, 270, 28),   // 3: keypad 1
    QRect(478, 228, 154, 28), // 4: keypad 3
    QRect(170, 316, 170, 20), // 5: keypad 2
    QRect(478, 178, 154, 48), // 6: keypad 6
    QRect(8, 187, 270, 32),   // 7: keypad 4
    QRect(380, 312, 252, 48), // 8: keypad 5
    QRect(478, 142, 154, 32), // 9: keypad 9
    QRect(8, 148, 270, 32),   // 10: keypad 7
    QRect(430, 8, 202, 44),   // 11: keypad 8
    QRect(8, 370, 480, 20),   // 12: F1
    QRect(8, 8, 200, 84),     // 13: Scroll Lock
};

struct KeyFace {
    Key key;
    const char *legend;
    bool shortcut;
};

const KeyFace kFaces[] = {
    {Key::PrintScreen, "Print\nScreen", false}, {Key::ScrollLock, "Scroll\nLock", true},
    {Key::Pause, "Pause\nBreak", false},        {Key::NumLock, "Num\nLock", true},
    {Key::Divide, "/", false},                   {Key::Multiply, "*", false},
    {Key::Subtract, "-", false},                 {Key::Keypad7, "7\nHome", true},
    {Key::Keypad8, "8\n\u2191", true},           {Key::Keypad9, "9\nPgUp", true},
    {Key::Add, "+", false},                      {Key::Keypad4, "4\n\u2190", true},
    {Key::Keypad5, "5", true},                   {Key::Keypad6, "6\n\u2192", true},
    {Key::Keypad1, "1\nEnd", true},              {Key::Keypad2, "2\n\u2193", true},
    {Key::Keypad3, "3\nPgDn", true},             {Key::Enter, "Enter", false},
    {Key::Keypad0, "0\nIns", true},              {Key::Decimal, ".\nDel", true},
};

const KeyFace &faceOf(Key key)
{
    for (const KeyFace &face : kFaces) {
        if (face.key == key)
            return face;
    }
    return kFaces[0];
}

// The legends' fonts: a digit large, words small enough to fit the key
// whatever the system's font ("Print Screen" is the widest).
QFont digitFont()
{
    QFont f;
    f.setPixelSize(13);
    f.setBold(true);
    return f;
}

QFont wordFont()
{
    QFont f;
    for (int size = 9; size > 6; --size) {
        f.setPixelSize(size);
        if (QFontMetrics(f).horizontalAdvance(QStringLiteral("Screen")) <= 28)
            break;
    }
    return f;
}

// Where a legend is drawn inside its key: words at the bottom left (a lock
// key's lamp is at the top right), a digit at the top left, the second
// legend of a digit key at the bottom right.
struct Legend {
    QString text;
    QFont font;
    QRect rect;
    int flags;
};

QList<Legend> legendsOf(Key key)
{
    const QRect r = ShortcutTableWindow::keyRect(key).adjusted(4, 2, -3, -2);
    const QStringList parts = QString::fromUtf8(faceOf(key).legend).split(QLatin1Char('\n'));
    QList<Legend> legends;
    auto place = [&](const QString &text, const QFont &font, int flags) {
        const QRect box = QFontMetrics(font).boundingRect(r, flags, text);
        legends.push_back({text, font, box, flags});
    };
    if (parts[0].size() > 1) {
        place(parts.join(QLatin1Char('\n')), wordFont(), Qt::AlignLeft | Qt::AlignBottom);
    } else {
        place(parts[0], digitFont(), Qt::AlignLeft | Qt::AlignTop);
        if (parts.size() > 1)
            place(parts[1], wordFont(), Qt::AlignRight | Qt::AlignBottom);
    }
    return legends;
}

// Draws the thin lines above the picture and the labels.
class ConnectorLayer : public QWidget {
public:
    explicit ConnectorLayer(ShortcutTableWindow *window) : QWidget(window), window_(window)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(window->rect());
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(70, 70, 70), 1));
        for (const auto &connector : ShortcutTableWindow::connectors()) {
            const QPolygon path = window_->connectorPath(connector);
            p.drawPolyline(path);
            p.setBrush(QColor(70, 70, 70));
            p.drawEllipse(QPointF(path.last()), 2.0, 2.0);
            p.setBrush(Qt::NoBrush);
        }
    }

private:
    ShortcutTableWindow *window_;
};

} // namespace

QRect ShortcutTableWindow::keyRect(Key key)
{
    auto grid = [](int column, int row, int columns = 1, int rows = 1) {
        return QRect(kColumnX[column], kRowY[row], kKeyWidth + (columns - 1) * (kColumnX[1] - kColumnX[0]),
                     kKeyHeight + (rows - 1) * (kRowY[1] - kRowY[0]));
    };
    switch (key) {
    case Key::PrintScreen: return QRect(6, 6, 36, kKeyHeight);
    case Key::ScrollLock: return QRect(45, 6, 36, kKeyHeight);
    case Key::Pause: return QRect(84, 6, 36, kKeyHeight);
    case Key::NumLock: return grid(0, 0);
    case Key::Divide: return grid(1, 0);
    case Key::Multiply: return grid(2, 0);
    case Key::Subtract: return grid(3, 0);
    case Key::Keypad7: return grid(0, 1);
    case Key::Keypad8: return grid(1, 1);
    case Key::Keypad9: return grid(2, 1);
    case Key::Add: return grid(3, 1, 1, 2);
    case Key::Keypad4: return grid(0, 2);
    case Key::Keypad5: return grid(1, 2);
    case Key::Keypad6: return grid(2, 2);
    case Key::Keypad1: return grid(0, 3);
    case Key::Keypad2: return grid(1, 3);
    case Key::Keypad3: return grid(2, 3);
    case Key::Enter: return grid(3, 3, 1, 2);
    case Key::Keypad0: return grid(0, 4, 2, 1);
    case Key::Decimal: return grid(2, 4);
    }
    return {};
}

QList<QRect> ShortcutTableWindow::legendRects(Key key)
{
    QList<QRect> rects;
    for (const Legend &legend : legendsOf(key))
        rects << legend.rect;
    return rects;
}

QPoint ShortcutTableWindow::keyAnchor(Key key)
{
    const QRect r = keyRect(key);
    const QList<QRect> legends = legendRects(key);
    // Below the digit, or between it and the second legend.
    const int underDigit = legends.size() > 1 ? (legends[0].bottom() + legends[1].top()) / 2
                                              : (legends[0].bottom() + r.bottom()) / 2;
    switch (key) {
    case Key::ScrollLock:
    case Key::NumLock:
        return {r.left() + 11, (r.top() + legends[0].top()) / 2}; // above the words, left of the lamp
    case Key::Keypad8:
        return {r.left() + 28, r.top() + 15}; // right of the digit, above the arrow
    case Key::Keypad2:
        return {r.left() + 8, (legends[0].bottom() + r.bottom()) / 2};
    case Key::Keypad5:
        return {r.left() + 20, underDigit};
    case Key::Keypad0:
        return {r.left() + 28, underDigit};
    default:
        return {r.left() + 22, underDigit};
    }
}

QPixmap ShortcutTableWindow::keypadPicture()
{
    QPixmap picture(kPictureSize);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    // The keyboard's body behind the two key groups.
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.setBrush(QColor(222, 222, 226));
    p.drawRoundedRect(QRectF(1.5, 1.5, 123, 47), 5, 5);
    p.drawRoundedRect(QRectF(127.5, 1.5, 171, 201), 5, 5);

    for (const KeyFace &face : kFaces) {
        const QRectF r = QRectF(keyRect(face.key)).adjusted(0.5, 0.5, -0.5, -0.5);
        QLinearGradient cap(r.topLeft(), r.bottomLeft());
        cap.setColorAt(0, face.shortcut ? QColor(255, 252, 222) : QColor(252, 252, 252));
        cap.setColorAt(1, face.shortcut ? QColor(240, 225, 160) : QColor(214, 214, 218));
        p.setPen(QPen(QColor(90, 90, 95), 1));
        p.setBrush(cap);
        p.drawRoundedRect(r, 4, 4);

        p.setPen(QColor(25, 25, 30));
        for (const Legend &legend : legendsOf(face.key)) {
            p.setFont(legend.font);
            p.drawText(legend.rect, legend.flags, legend.text);
        }
        // The two lock keys' lamps, lit: both must be on for the shortcuts.
        if (face.key == Key::ScrollLock || face.key == Key::NumLock) {
            p.setPen(QPen(QColor(20, 90, 20), 1));
            p.setBrush(QColor(60, 210, 60));
            p.drawEllipse(QPointF(r.right() - 6, r.top() + 6), 3, 3);
        }
    }
    return picture;
}

const std::array<ShortcutTableWindow::Connector, 14> &ShortcutTableWindow::connectors()
{
    // The picture's top left is at (170, 100). Key 8's line comes down over
    // the keypad from its label at the top right; those of keys 2 and 5 rise
    // from their labels below, between the legends of the keys under them.
    static const std::array<Connector, 14> lines = {{
        {0, Key::Keypad0},
        {1, Key::Decimal},
        {2, Key::ScrollLock},
        {2, Key::NumLock},
        {3, Key::Keypad1},
        {4, Key::Keypad3},
        {5, Key::Keypad2, {QPoint(352, 326)}, 1},
        {6, Key::Keypad6},
        {7, Key::Keypad4},
        {8, Key::Keypad5, {QPoint(364, 326)}, 1},
        {9, Key::Keypad9},
        {10, Key::Keypad7},
        {11, Key::Keypad8, {QPoint(440, 94), QPoint(372, 94)}, 2},
        {13, Key::ScrollLock},
    }};
    return lines;
}

QPolygon ShortcutTableWindow::connectorPath(const Connector &connector) const
{
    const QPoint anchor = Image1->geometry().topLeft() + keyAnchor(connector.key);
    const QPoint first = connector.bendCount > 0 ? connector.bends[0] : anchor;
    const QRect label = Label1[std::size_t(connector.label)]->geometry();
    // From the point of the label nearest to where the line goes.
    QPolygon path;
    path << QPoint(std::clamp(first.x(), label.left(), label.right() + 1),
                   std::clamp(first.y(), label.top(), label.bottom() + 1));
    for (int i = 0; i < connector.bendCount; ++i)
        path << connector.bends[std::size_t(i)];
    path << anchor;
    return path;
}

ShortcutTableWindow::ShortcutTableWindow(const Language &language, QWidget *owner)
    : QDialog(owner), language_(language)
{
    setObjectName(QStringLiteral("frmKisayollar"));
    setWindowTitle(QStringLiteral(" PROGRAMIN KISAYOL TUŞLARI"));
    setWindowFlags(Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(Twips::size(9600, 6465));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(QRect(kPictureAt, kPictureSize));
    Image1->setPixmap(keypadPicture());
    Image1->setAccessibleName(language_.LangText(msg::NameKeypadPicture));

    for (int i = 0; i < kLabelCount; ++i) {
        auto *label = new QLabel(QString::fromUtf8(kTexts[i]), this);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        label->setGeometry(kLabelRects[i]);
        label->setWordWrap(true);
        // The labels left of the keypad end at their line.
        const bool leftColumn = i == 0 || i == 3 || i == 5 || i == 7 || i == 10;
        label->setAlignment((leftColumn ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        Label1[std::size_t(i)] = label;
    }

    LblSes = new QLabel(this);
    LblSes->setObjectName(QStringLiteral("LblSes"));
    LblSes->setGeometry(8, 394, 500, 34);
    LblSes->setWordWrap(true);
    LblSes->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    CmdKapat = new QPushButton(QStringLiteral("KAPAT (ESC)"), this);
    CmdKapat->setObjectName(QStringLiteral("CmdKapat"));
    CmdKapat->setGeometry(520, 396, 112, 26);
    CmdKapat->setDefault(true);
    // Esc closes the window as the cancel button does.
    connect(CmdKapat, &QPushButton::clicked, this, &QDialog::reject);

    (new ConnectorLayer(this))->raise();
    Form_Load();
}

void ShortcutTableWindow::Form_Load()
{
    ApplyLanguage(this, language_);
    // A line of the message texts, not of the window's section, so that
    // language files made before it still name every control they hold.
    LblSes->setText(language_.LangText(msg::ShortcutVoiceKeys));
}

void ShowShortcutTable(const Language &language, QWidget *owner)
{
    ShortcutTableWindow window(language, owner);
    window.exec();
}

} // namespace korv
