#pragma once
// Language tests: the shipped language files, a folder of chosen language
// files, and the main window's translated texts.

#include "support/WidgetTest.h"

namespace korv::test {

inline QString shippedFile(const QString &language)
{
    return QStringLiteral(KORV_SOURCE_DIR "/data/Language/") + language + QStringLiteral(".lng");
}

class LanguageTest : public ::testing::Test {
protected:
    TestFolder folder;
    ScriptedDialogs dialogs;

    // These files alone in the language folder: the shipped ones, or each
    // name with an author section.
    void useFiles(const QStringList &names)
    {
        QDir(folder.filePath("Language")).removeRecursively();
        for (const QString &name : names) {
            QFile shipped(shippedFile(name));
            if (shipped.open(QIODevice::ReadOnly))
                folder.write("Language/" + name + ".lng", shipped.readAll());
            else
                folder.write("Language/" + name, "[AUTHOR]\r\nName=x\r\n");
        }
    }
    static QStringList visibleItems(const LanguageMenu &menu)
    {
        QStringList items;
        for (int i = 0; i < LanguageMenu::kItemCount; ++i) {
            if (menu.item(i).visible)
                items << menu.item(i).caption + (menu.item(i).checked ? "*" : "");
        }
        return items;
    }
};

// Every text the language table names on the main window, as shown now.
inline QStringList mainWindowTexts(Form1 &form)
{
    QStringList texts;
    for (const LanguageKey &key : windowSection(QStringLiteral("Form1"))->keys) {
        if (key.target == TextTarget::TabText)
            texts << form.controls().Sekme->tabText(key.index);
        else if (key.target == TextTarget::ColumnHeader)
            texts << form.listModel().header(key.index);
        else
            texts << form.findChild<QObject *>(key.control)
                         ->property(key.target == TextTarget::ToolTip ? "toolTip" : "text")
                         .toString();
    }
    return texts;
}

} // namespace korv::test
