#pragma once
// Every key the program reads from a language file, in one table.
//
// A window section names the window ("Form1", "frmSecenekler"...) and lists
// its keys in the order ApplyLanguage sets them, each with the control and
// the property it sets. The same table tells the tests which keys a shipped
// language file must hold, so the two cannot drift apart.

#include <QString>
#include <QStringList>

#include <vector>

namespace korv {

enum class TextTarget {
    Caption,      // text of the control named `control` (label, button, check box, menu or toolbar action)
    WindowTitle,  // title of the window itself
    TabText,      // text of tab `index` of the tab bar named `control`
    ColumnHeader, // text of column `index` of the list view named `control`
    ToolTip,      // tooltip of the control named `control`
};

struct LanguageKey {
    QString key;
    TextTarget target = TextTarget::Caption;
    QString control; // object name of the control
    int index = -1;  // tab or column (0-based)
};

struct WindowSection {
    QString window; // the window's object name, which is also the section name
    std::vector<LanguageKey> keys;
};

// The window sections, in the order: "Form1", "frmKisayollar",
// "frmBilgiAliniyor", "frmSecenekler", "frmRapor".
const std::vector<WindowSection> &windowSections();
// The section of a window; null when the window has none.
const WindowSection *windowSection(const QString &window);

// The numbered messages: section "Msg", keys "001" to "020" of the first
// release, then those of BuiltInTexts.h ("021" on), which have a built-in text.
inline const QString kMessageSection = QStringLiteral("Msg");
inline constexpr int kMessageCount = 20;
QString messageKey(int number);

// The translator's name, shown by the language window.
inline const QString kAuthorSection = QStringLiteral("AUTHOR");
inline const QString kAuthorKey = QStringLiteral("Name");

struct SectionKeys {
    QString section;
    QStringList keys;
};
// Every section and key the program reads: the window sections, "Msg" and "AUTHOR".
std::vector<SectionKeys> keysReadByProgram();

} // namespace korv
