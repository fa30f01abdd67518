#include "locale/LanguageKeys.h"

#include "locale/BuiltInTexts.h"

namespace korv {

namespace {

LanguageKey caption(const QString &name)
{
    return {name, TextTarget::Caption, name, -1};
}

// Control-array members: "Label1(0)" ... as both key and object name.
void addArray(std::vector<LanguageKey> &keys, const QString &name, int first, int last)
{
    for (int i = first; i <= last; ++i)
        keys.push_back(caption(QStringLiteral("%1(%2)").arg(name).arg(i)));
}

// Toolbar buttons: key "Cubuk-1", and the action carries the same name.
void addNumbered(std::vector<LanguageKey> &keys, const QString &prefix, int first, int last)
{
    for (int k = first; k <= last; ++k)
        keys.push_back(caption(QStringLiteral("%1-%2").arg(prefix).arg(k)));
}

WindowSection form1()
{
    WindowSection s{QStringLiteral("Form1"), {}};
    auto &k = s.keys;
    addArray(k, QStringLiteral("Label1"), 0, 17);
    addNumbered(k, QStringLiteral("Cubuk"), 1, 3);
    addNumbered(k, QStringLiteral("Cubuk2"), 1, 5);
    for (int t = 1; t <= 4; ++t)
        k.push_back({QStringLiteral("Sekme-%1").arg(t), TextTarget::TabText, QStringLiteral("Sekme"), t - 1});
    for (const char *name : {"CmdFind", "CmdBol", "CmdEkleCikar", "CmdHataKontrolu"})
        k.push_back(caption(QLatin1String(name)));
    addArray(k, QStringLiteral("Option1"), 0, 1);
    k.push_back(caption(QStringLiteral("HataCheck1")));
    k.push_back(caption(QStringLiteral("HataCheck2")));
    addArray(k, QStringLiteral("mnualtyazikaydet"), 2, 5);
    for (const char *name : {"MnuYeniAltYazi", "mnualtyaziac", "mnufilmac", "mnusecenekler"})
        k.push_back(caption(QLatin1String(name)));
    // The first column, "NO", is not translated.
    for (int c = 2; c <= 4; ++c)
        k.push_back({QStringLiteral("ListviewColumnHeaders-%1").arg(c), TextTarget::ColumnHeader,
                     QStringLiteral("Listview"), c - 1});
    k.push_back({QStringLiteral("CmdArayiAc"), TextTarget::ToolTip, QStringLiteral("CmdArayiAc"), -1});
    k.push_back({QStringLiteral("CmdArayiKapat"), TextTarget::ToolTip, QStringLiteral("CmdArayiKapat"), -1});
    k.push_back(caption(QStringLiteral("CmdRapor")));
    return s;
}

WindowSection shortcutTable()
{
    WindowSection s{QStringLiteral("frmKisayollar"), {}};
    s.keys.push_back({QStringLiteral("Caption"), TextTarget::WindowTitle, QString(), -1});
    addArray(s.keys, QStringLiteral("Label1"), 0, 13);
    s.keys.push_back(caption(QStringLiteral("CmdKapat")));
    return s;
}

WindowSection filmInfoWait()
{
    return {QStringLiteral("frmBilgiAliniyor"), {caption(QStringLiteral("Label1"))}};
}

WindowSection options()
{
    WindowSection s{QStringLiteral("frmSecenekler"), {}};
    addArray(s.keys, QStringLiteral("Check1"), 0, 4);
    s.keys.push_back(caption(QStringLiteral("Label1")));
    s.keys.push_back(caption(QStringLiteral("CmdKapat")));
    s.keys.push_back(caption(QStringLiteral("FrameOkunabilirlik")));
    addArray(s.keys, QStringLiteral("Label2"), 0, 6);
    for (const char *name : {"FrameSes", "ChkSeseOturt", "LblSesAra", "LblSesSure"})
        s.keys.push_back(caption(QLatin1String(name)));
    return s;
}

WindowSection readingReport()
{
    WindowSection s{QStringLiteral("frmRapor"), {}};
    s.keys.push_back({QStringLiteral("Caption"), TextTarget::WindowTitle, QString(), -1});
    for (int c = 1; c <= 5; ++c)
        s.keys.push_back({QStringLiteral("ListeColumnHeaders-%1").arg(c), TextTarget::ColumnHeader,
                          QStringLiteral("Liste"), c - 1});
    for (const char *name : {"CmdDuzelt", "CmdTumunuDuzelt", "CmdDurdur", "CmdYenile", "CmdKapat"})
        s.keys.push_back(caption(QLatin1String(name)));
    return s;
}

} // namespace

const std::vector<WindowSection> &windowSections()
{
    static const std::vector<WindowSection> sections{form1(), shortcutTable(), filmInfoWait(), options(),
                                                     readingReport()};
    return sections;
}

const WindowSection *windowSection(const QString &window)
{
    for (const WindowSection &s : windowSections()) {
        if (s.window == window)
            return &s;
    }
    return nullptr;
}

QString messageKey(int number)
{
    return QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

std::vector<SectionKeys> keysReadByProgram()
{
    std::vector<SectionKeys> all;
    for (const WindowSection &s : windowSections()) {
        SectionKeys entry{s.window, {}};
        for (const LanguageKey &k : s.keys)
            entry.keys << k.key;
        all.push_back(entry);
    }
    SectionKeys messages{kMessageSection, {}};
    for (int i = 1; i <= kMessageCount; ++i)
        messages.keys << messageKey(i);
    messages.keys << builtInKeys();
    all.push_back(messages);
    all.push_back({kAuthorSection, {kAuthorKey}});
    return all;
}

} // namespace korv
