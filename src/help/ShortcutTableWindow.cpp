#include "help/ShortcutTableWindow.h"

#include "help/Messages.h"
#include "help/Twips.h"
#include "locale/ApplyLanguage.h"

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
// third; the notes and the middle column above and below.
const QRect kLabelRects[ShortcutTableWindow::kLabelCount] = {
    QRect(8, 267, 270, 26),   // 0: keypad 0
    QRect(478, 267, 154, 26), // 1: keypad .
    QRect(216, 8, 200, 58),   // 2: Scroll Lock, Num Lock
    QRect(8, 228, 270, 26),   // 3: keypad 1
    QRect(478, 228, 154, 26), // 4: keypad 3
    QRect(330, 316, 130, 20), // 5: keypad 2
    QRect(478, 178, 154, 44), // 6: keypad 6
    QRect(8, 189, 270, 28),   // 7: keypad 4
    QRect(8, 316, 300, 40),   // 8: keypad 5
    QRect(478, 142, 154, 30), // 9: keypad 9
    QRect(8, 150, 270, 28),   // 10: keypad 7
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
        p.setBrush(QColor(70, 70, 70));
        for (const auto &connector : ShortcutTableWindow::connectors()) {
            const QLine line = window_->connectorLine(connector);
            p.drawLine(line);
            p.drawEllipse(QPointF(line.p2()), 2.0, 2.0);
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

    QFont digit = p.font();
    digit.setPixelSize(13);
    digit.setBold(true);
    QFont small = p.font();
    small.setPixelSize(9);

    for (const KeyFace &face : kFaces) {
        const QRectF r = QRectF(keyRect(face.key)).adjusted(0.5, 0.5, -0.5, -0.5);
        QLinearGradient cap(r.topLeft(), r.bottomLeft());
        cap.setColorAt(0, face.shortcut ? QColor(255, 252, 222) : QColor(252, 252, 252));
        cap.setColorAt(1, face.shortcut ? QColor(240, 225, 160) : QColor(214, 214, 218));
        p.setPen(QPen(QColor(90, 90, 95), 1));
        p.setBrush(cap);
        p.drawRoundedRect(r, 4, 4);

        const QStringList parts = QString::fromUtf8(face.legend).split(QLatin1Char('\n'));
        const bool word = parts[0].size() > 1;
        p.setPen(QColor(25, 25, 30));
        p.setFont(word ? small : digit);
        const QRectF inner = r.adjusted(4, 2, -3, -2);
        if (word) {
            p.drawText(inner, Qt::AlignLeft | Qt::AlignTop, parts.join(QLatin1Char('\n')));
        } else {
            p.drawText(inner, Qt::AlignLeft | Qt::AlignTop, parts[0]);
            if (parts.size() > 1) {
                p.setFont(small);
                p.drawText(inner, Qt::AlignRight | Qt::AlignBottom, parts[1]);
            }
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
    static const std::array<Connector, 14> lines = {{
        {0, Key::Keypad0}, {1, Key::Decimal}, {2, Key::ScrollLock}, {2, Key::NumLock}, {3, Key::Keypad1},
        {4, Key::Keypad3}, {5, Key::Keypad2}, {6, Key::Keypad6}, {7, Key::Keypad4}, {8, Key::Keypad5},
        {9, Key::Keypad9}, {10, Key::Keypad7}, {11, Key::Keypad8}, {13, Key::ScrollLock},
    }};
    return lines;
}

QLine ShortcutTableWindow::connectorLine(const Connector &connector) const
{
    const QPoint key = Image1->geometry().topLeft() + keyRect(connector.key).center();
    const QRect label = Label1[std::size_t(connector.label)]->geometry();
    // From the point of the label nearest to the key.
    const QPoint from(std::clamp(key.x(), label.left(), label.right() + 1),
                      std::clamp(key.y(), label.top(), label.bottom() + 1));
    return QLine(from, key);
}

ShortcutTableWindow::ShortcutTableWindow(QWidget *owner) : QDialog(owner)
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
    Image1->setAccessibleName(LangText(QStringLiteral("063")));

    for (int i = 0; i < kLabelCount; ++i) {
        auto *label = new QLabel(QString::fromUtf8(kTexts[i]), this);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(i));
        label->setGeometry(kLabelRects[i]);
        label->setWordWrap(true);
        // The labels left of the keypad end at their line.
        const bool leftColumn = i == 0 || i == 3 || i == 7 || i == 10;
        label->setAlignment((leftColumn ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        Label1[std::size_t(i)] = label;
    }

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
    ApplyLanguage(this);
}

void ShowShortcutTable(QWidget *owner)
{
    ShortcutTableWindow window(owner);
    window.exec();
}

} // namespace korv
