#include "help/ApplyLanguage.h"

#include "document/SubtitleTableModel.h"
#include "help/QtUserDialogs.h"
#include "locale/IniFile.h"
#include "locale/Language.h"
#include "locale/LanguageKeys.h"
#include "locale/MessageKeys.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QTabBar>

namespace korv {

namespace {

// Buttons, check boxes, tabs and actions show "&&" as "&" by themselves. A
// label does so only when it has a buddy (whose focus its mnemonic moves);
// any other label would show the ampersands literally.
bool setCaption(QObject *control, const QString &text)
{
    if (auto *label = qobject_cast<QLabel *>(control)) {
        // A language file's text is shown as it stands, never as markup.
        label->setTextFormat(Qt::PlainText);
        label->setText(label->buddy() ? text : captionWithoutMnemonics(text));
        return true;
    }
    if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        button->setText(text);
        return true;
    }
    if (auto *action = qobject_cast<QAction *>(control)) {
        action->setText(text);
        return true;
    }
    if (auto *group = qobject_cast<QGroupBox *>(control)) {
        group->setTitle(text);
        return true;
    }
    return false;
}

bool setToolTip(QObject *control, const QString &text)
{
    if (auto *widget = qobject_cast<QWidget *>(control)) {
        // The tooltip doubles as the name a screen reader announces.
        if (widget->accessibleName() == widget->toolTip())
            widget->setAccessibleName(text);
        widget->setToolTip(text);
        return true;
    }
    if (auto *action = qobject_cast<QAction *>(control)) {
        action->setToolTip(text);
        return true;
    }
    return false;
}

bool setColumnHeader(QAbstractItemView *view, int column, const QString &text)
{
    if (!view || !view->model() || column < 0 || column >= view->model()->columnCount())
        return false;
    if (auto *subtitles = qobject_cast<SubtitleTableModel *>(view->model())) {
        subtitles->setHeader(column, text);
        return true;
    }
    return view->model()->setHeaderData(column, Qt::Horizontal, text);
}

// Sets one key's text; the description of the failure for the user when the
// window has no such control.
QString apply(QWidget *window, const Language &language, const LanguageKey &key, const QString &text)
{
    auto missing = [&] {
        return language.LangText(Message::of(msg::NoSuchControl, {key.key, window->objectName()}));
    };
    switch (key.target) {
    case TextTarget::WindowTitle:
        window->setWindowTitle(text);
        return QString();
    case TextTarget::TabText: {
        auto *bar = window->findChild<QTabBar *>(key.control);
        if (!bar || key.index < 0 || key.index >= bar->count())
            return missing();
        bar->setTabText(key.index, text);
        return QString();
    }
    case TextTarget::ColumnHeader:
        return setColumnHeader(window->findChild<QAbstractItemView *>(key.control), key.index, text) ? QString()
                                                                                                      : missing();
    case TextTarget::ToolTip:
        return setToolTip(window->findChild<QObject *>(key.control), text) ? QString() : missing();
    case TextTarget::Caption:
        return setCaption(window->findChild<QObject *>(key.control), text) ? QString() : missing();
    }
    return missing();
}

} // namespace

QString captionWithoutMnemonics(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) {
            shown += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
            shown += QLatin1Char('&');
            ++i;
        }
    }
    return shown;
}

void ApplyLanguage(QWidget *window, const Language &language, UserDialogs &ui)
{
    if (!window)
        return;
    const WindowSection *section = windowSection(window->objectName());
    if (!section)
        return;
    const QString file = language.currentFile();
    // With no readable language file the built-in texts stay: a window of
    // empty captions could not be used.
    if (language.CurrentLanguage().isEmpty() || !QFile(file).open(QIODevice::ReadOnly))
        return;
    for (const LanguageKey &key : section->keys) {
        const QString text = ReadIniString(section->window, key.key, file);
        const QString failure = apply(window, language, key, text);
        if (!failure.isEmpty()) {
            ui.showMessageBox(failure);
            return;
        }
    }
}

void ApplyLanguage(QWidget *window, const Language &language)
{
    QtUserDialogs dialogs(language, NumberFormat::fromLocale(QLocale()), window);
    ApplyLanguage(window, language, dialogs);
}

} // namespace korv
