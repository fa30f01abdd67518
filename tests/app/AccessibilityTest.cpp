// Every control of the main window can be found and read by a screen reader:
// walks the window's accessibility tree and looks for input controls
// without a name.
#include "app/Form1.h"
#include "support/TestFolder.h"

#include <QAccessible>
#include <QLineEdit>
#include <QTabBar>
#include <QTableView>

#include <gtest/gtest.h>

using namespace korv;

namespace {

bool isInputRole(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::PushButton:
    case QAccessible::ButtonMenu:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
    case QAccessible::PageTab:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::List:
        return true;
    default:
        return false;
    }
}

void walk(QAccessibleInterface *node, QStringList &unnamed, QStringList &named, int depth = 0)
{
    if (!node || depth > 40)
        return;
    if (!node->state().invisible && isInputRole(node->role())) {
        const QString name = node->text(QAccessible::Name).trimmed();
        QString where = node->object() ? node->object()->objectName() : QString();
        if (name.isEmpty())
            unnamed << QStringLiteral("%1 (role %2)").arg(where).arg(int(node->role()));
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

TEST(Accessibility, NoInputControlOfTheMainWindowIsUnnamed)
{
    test::TestFolder folder;
    Form1 form;
    form.show();
    QStringList unnamed, named;
    // Every tool panel in turn: only the shown one is in the tree.
    for (int tab = 0; tab < 4; ++tab) {
        form.Sekme->setCurrentIndex(tab);
        walk(QAccessible::queryAccessibleInterface(&form), unnamed, named);
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
    // Fields take the caption beside them; those without one have a name of their own.
    for (const char *expected : {"ARAMA :", "SATIR - 1 :", "BAŞLANGIÇ", "BİTİŞ", "BÖLÜNME NOKTASI :", "SANİYE",
                                 "HATA KONTROLÜNE BAŞLA", "EKLE", "DOSYALAR", "SATIR EKLE"})
        EXPECT_TRUE(named.contains(QString::fromUtf8(expected))) << expected;
}

TEST(Accessibility, TheSubtitleListExposesItsCells)
{
    test::TestFolder folder;
    Form1 form;
    form.workspace().list.setCell(0, ColText, QStringLiteral("Merhaba"));
    form.show();
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(form.Listview);
    ASSERT_NE(list, nullptr);
    QAccessibleTableInterface *table = list->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->columnCount(), 4);
    QAccessibleInterface *cell = table->cellAt(0, 3);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "Merhaba");
    EXPECT_EQ(table->columnDescription(3), "ALT YAZI");
}
