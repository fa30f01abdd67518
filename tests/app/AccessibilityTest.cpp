// Every control of the main window can be found and read by a screen reader:
// walks the window's accessibility tree and looks for input controls
// without a name.
#include "support/WidgetTest.h"

#include <QAccessible>

using namespace korv;
using namespace korv::test;

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
        form.Sekme->setCurrentIndex(tab);
        walk(QAccessible::queryAccessibleInterface(&form), unnamed, named);
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
    // Fields take the caption beside them; those without one have a name of their own.
    for (const char *expected : {"ARAMA :", "SATIR - 1 :", "BAŞLANGIÇ", "BİTİŞ", "BÖLÜNME NOKTASI :", "SANİYE",
                                 "HATA KONTROLÜNE BAŞLA", "EKLE", "DOSYALAR", "SATIR EKLE"})
        EXPECT_TRUE(named.contains(QString::fromUtf8(expected))) << expected;

    QAccessibleTableInterface *table = QAccessible::queryAccessibleInterface(form.Listview)->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->columnCount(), 4);
    ASSERT_NE(table->cellAt(0, 3), nullptr);
    EXPECT_EQ(table->cellAt(0, 3)->text(QAccessible::Name), "Merhaba");
    EXPECT_EQ(table->columnDescription(3), "ALT YAZI");
}
