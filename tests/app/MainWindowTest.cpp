// The main window: its layout at and above the minimum size, and what a
// screen reader finds in it.
#include "app/MainWindowLayout.h"
#include "support/WidgetTest.h"

#include <QAccessible>
#include <map>

using namespace korv;
using namespace korv::test;

using T = LayoutTarget;
using P = LayoutProperty;

namespace {

// Where the resize rule puts the rows under the list, and the sizes that
// grow with the window, in twips over `per`.
QList<int> growing(const MainWindowLayout &l, int per = 1)
{
    QList<int> values;
    for (auto [target, property] : {std::pair{T::Frame4, P::Top}, {T::Frame5, P::Top}, {T::Frame2, P::Top},
                                    {T::Frame6, P::Top}, {T::MediaPlayer1, P::Width}, {T::ListView1Column3, P::Width},
                                    {T::Listview, P::Height}})
        values << l.value(target, property).value_or(-1) / per;
    return values;
}

// The same on the window, in pixels.
QList<int> growing(const Form1 &f)
{
    return {f.controls().Frame4->y(),           f.controls().Frame5->y(),                f.controls().Frame2[0]->y(),    f.controls().Frame6->y(),
            f.controls().MediaPlayer1->width(), f.controls().ListView1->columnWidth(2), f.controls().Listview->height()};
}

} // namespace

TEST(MainWindowLayoutTest, AtTheMinimumEveryValueIsTheDesignValue)
{
    for (const MainWindowLayout &layout :
         {layoutForWindowSize(12000, 10400, false), layoutForClientSize(11880, 9885, false),
          // Shrunk below the minimum: snapped back to it.
          layoutForWindowSize(9000, 5000, false)}) {
        ASSERT_TRUE(layout.applies);
        EXPECT_EQ(QSize(layout.width, layout.height), QSize(12000, 10400));
        ASSERT_EQ(layout.rows.size(), 26u);
        EXPECT_EQ(layout.rows.front(), (LayoutRow{T::Frame1, P::Height, 4965}));
        EXPECT_EQ(growing(layout), QList<int>({4725, 4725, 5580, 6930, 5295, 2300, 4425}));
        EXPECT_EQ(layout.rows.back(), (LayoutRow{T::DurumPanel1, P::Width, 12000}));
        // The waveform strip across the window under the design's rectangles.
        EXPECT_EQ(layout.value(T::Waveform, P::Top), 7830);
        EXPECT_EQ(layout.value(T::Waveform, P::Width), 11850);
    }
}

TEST(MainWindowLayoutTest, ExtraHeightMovesTheLowerRowsAndExtraWidthWidensTheRightColumn)
{
    const MainWindowLayout layout = layoutForWindowSize(12000 + 3000, 10400 + 1500, false);
    EXPECT_EQ(growing(layout), QList<int>({6225, 6225, 7080, 8430, 8295, 5300, 5925}));
    // The Frame15 width row comes after the ListView1 rows, as the window sets them.
    EXPECT_EQ(layout.rows[20].target, T::ListView1);
    EXPECT_EQ(layout.rows[22], (LayoutRow{T::Frame15, P::Width, 8385}));
    // The waveform strip moves down with the rows above it and widens.
    EXPECT_EQ(layout.value(T::Waveform, P::Top), 7830 + 1500);
    EXPECT_EQ(layout.value(T::Waveform, P::Width), 11850 + 3000);
    // Halves go to the even neighbour.
    EXPECT_EQ(layoutForWindowSize(12000, 10400 + 100.5, false).dH, 100);
    EXPECT_EQ(layoutForWindowSize(12000 + 101.5, 10400, false).dW, 102);
}

class Form1LayoutTest : public Form1Test {
protected:
    std::map<QString, QRect> geometries() const
    {
        std::map<QString, QRect> all;
        for (const QWidget *w : form.findChildren<QWidget *>()) {
            // Only the controls the window places itself, by their design names
            // (not those the player's own bar and the status bar arrange).
            const QWidget *parent = w->parentWidget();
            const bool laidOut = parent
                && (parent->objectName() == QLatin1String("FilmControlBar") || parent == form.controls().Durum);
            if (!laidOut && !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
                all[w->objectName()] = w->geometry();
        }
        return all;
    }
};

TEST_F(Form1LayoutTest, ShownAtTheMinimumTheWindowKeepsItsDesignLayout)
{
    const std::map<QString, QRect> design = geometries();
    form.show();
    EXPECT_EQ(form.size(), QSize(792, 659));
    for (const auto &[name, rect] : geometries())
        EXPECT_EQ(rect, design.at(name)) << name.toStdString();
    EXPECT_EQ(form.controls().ListView1->columnWidth(2), 153);
    EXPECT_EQ(form.controls().Durum->geometry(), QRect(0, 642, 792, 17));
}

TEST_F(Form1LayoutTest, EnlargedTheWidgetsFollowAndAtTheMinimumOrMinimisedKeepTheDesign)
{
    const QList<int> design = growing(layoutForWindowSize(12000, 10400, false), 15);
    form.show();
    EXPECT_EQ(growing(form), design);
    form.resize(792 + 200, 659 + 100); // 3000 and 1500 twips
    EXPECT_EQ(growing(form), growing(layoutForWindowSize(15000, 11900, false), 15));
    for (const QWidget *panel : form.controls().Frame2)
        EXPECT_EQ(panel->y(), 7080 / 15);
    EXPECT_EQ(form.controls().Durum->geometry(), QRect(0, 742, 992, 17));
    form.resize(100, 100);
    EXPECT_EQ(form.size(), QSize(792, 659));
    EXPECT_EQ(growing(form), design);
    form.setWindowState(Qt::WindowMinimized); // not laid out
    form.resize(992, 759);
    ASSERT_EQ(form.size(), QSize(992, 759));
    EXPECT_EQ(growing(form), design);
}

namespace {

void walk(QAccessibleInterface *node, QStringList &unnamed, QStringList &named, int depth = 0)
{
    using A = QAccessible;
    static const QList<A::Role> inputRoles{A::EditableText, A::ComboBox, A::CheckBox, A::RadioButton, A::PushButton,
                                           A::ButtonMenu, A::Slider, A::SpinBox, A::PageTab, A::Table, A::Tree, A::List};
    if (!node || depth > 40)
        return;
    if (!node->state().invisible && inputRoles.contains(node->role())) {
        const QString name = node->text(QAccessible::Name).trimmed();
        if (name.isEmpty())
            unnamed << QStringLiteral("%1 (role %2)").arg(node->object() ? node->object()->objectName() : QString())
                           .arg(int(node->role()));
        else
            named << name;
    }
    // Table cells are not walked one by one: the table exposes them itself.
    if (node->role() == QAccessible::Table || node->role() == QAccessible::Tree)
        return;
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), unnamed, named, depth + 1);
}

} // namespace

using Accessibility = Form1Test;

TEST_F(Accessibility, NoInputControlIsUnnamedAndTheSubtitleListExposesItsCells)
{
    ws.list.setCell(0, ColText, QStringLiteral("Merhaba"));
    form.show();
    QStringList unnamed, named;
    // Every tool panel in turn: only the shown one is in the tree.
    for (int tab = 0; tab < 4; ++tab) {
        form.controls().Sekme->setCurrentIndex(tab);
        walk(QAccessible::queryAccessibleInterface(&form), unnamed, named);
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
    // Fields take the caption beside them; those without one have a name of their own.
    for (const char *expected : {"ARAMA :", "SATIR - 1 :", "BAŞLANGIÇ", "BİTİŞ", "BÖLÜNME NOKTASI :", "SANİYE",
                                 "HATA KONTROLÜNE BAŞLA", "EKLE", "DOSYALAR", "SATIR EKLE"})
        EXPECT_TRUE(named.contains(QString::fromUtf8(expected))) << expected;

    QAccessibleTableInterface *table = QAccessible::queryAccessibleInterface(form.controls().Listview)->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 1);
    // The four columns and the reading speed.
    EXPECT_EQ(table->columnCount(), 5);
    ASSERT_NE(table->cellAt(0, 3), nullptr);
    EXPECT_EQ(table->cellAt(0, 3)->text(QAccessible::Name), "Merhaba");
    EXPECT_EQ(table->columnDescription(3), "ALT YAZI");
    EXPECT_EQ(table->columnDescription(4), shownText("190"));
    // Six-digit row numbers are shown whole, not cut to "1000...".
    ws.list.replaceAll(std::vector<SubtitleEntry>(100000));
    ws.list.renumber();
    QStyleOptionViewItem option;
    option.initFrom(form.controls().Listview);
    const QSize wanted = form.controls().Listview->itemDelegate()->sizeHint(option, form.listModel().index(99999, 0));
    EXPECT_LE(wanted.width(), form.controls().Listview->columnWidth(0));
    ws.list.replaceAll({{"1", "", "", "Merhaba"}});

    // A row chosen the way a screen reader chooses it is the row the fields
    // show and typing writes to.
    ws.list.appendRow({"0", "1", "2", "İkinci"});
    table->selectRow(1);
    EXPECT_EQ(ws.list.selected(), 1);
    EXPECT_EQ(form.controls().Text1[EditFields::Line1]->text(), "İkinci");
    QTest::keyClicks(form.controls().Text1[EditFields::Line1], "!");
    EXPECT_EQ(ws.list.cell(1, ColText), "İkinci!");
    EXPECT_EQ(ws.list.cell(0, ColText), "Merhaba");
}

// The main window previews every key: with the real widgets, the keypad
// captures into the row instead of typing while Scroll Lock is on.
using MainWindowKeys = Form1Test;

TEST_F(MainWindowKeys, KeypadCapturesOnlyWhileScrollLockIsOn)
{
    form.show();
    QApplication::setActiveWindow(&form);
    QLineEdit *line = form.controls().Text1[EditFields::Line1];
    line->setFocus();
    ASSERT_FALSE(form.controls().scrollLock.on());
    QTest::keyClick(line, Qt::Key_4, Qt::KeypadModifier);
    EXPECT_EQ(line->text(), "4"); // Scroll Lock off: the keypad types
    QTest::keyClick(line, Qt::Key_ScrollLock);
    ASSERT_TRUE(form.controls().scrollLock.on());
    QTest::keyClick(line, Qt::Key_4, Qt::KeypadModifier);
    EXPECT_EQ(line->text(), "4"); // no digit typed
    EXPECT_EQ(form.controls().Text1[EditFields::Start]->text(), "-1"); // no film: the position is -1
    EXPECT_EQ(ws.list.cell(0, ColStart), "-1");
    QTest::keyClick(line, Qt::Key_9, Qt::KeypadModifier);
    EXPECT_EQ(form.controls().Text1[EditFields::SkipStep]->text(), "2");
    // On another tab the keypad types again.
    form.controls().Sekme->setCurrentIndex(1);
    QLineEdit *split = form.controls().Text1[EditFields::SplitPoint];
    split->setFocus();
    QTest::keyClick(split, Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(split->text(), "5");
    QTest::keyClick(split, Qt::Key_Return); // Enter types no line break anywhere
    EXPECT_EQ(split->text(), "5");

    // F3 finds with no modifier only.
    form.controls().Sekme->setCurrentIndex(0);
    ws.list.appendRow({"0", "1", "2", "bulunacak"});
    ws.fields.setText(EditFields::Search, QStringLiteral("bulunacak"));
    line->setFocus();
    for (Qt::KeyboardModifier held : {Qt::ControlModifier, Qt::AltModifier, Qt::ShiftModifier}) {
        QTest::keyClick(line, Qt::Key_F3, held);
        EXPECT_EQ(ws.list.selected(), 0) << held;
    }
    QTest::keyClick(line, Qt::Key_F3);
    EXPECT_EQ(ws.list.selected(), 1);
}
