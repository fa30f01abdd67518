#pragma once
// The language menu: six items mnulng(0) to mnulng(5), each the name of a
// language file of the language folder; an item without a language keeps the
// caption "--" and is hidden; the current language's item is checked.
//
// This holds the items' state and the two commands on it; the main window
// mirrors the state in its menu actions and applies the language to its
// controls through `applyLanguage`.

#include <QObject>
#include <QString>

#include <array>
#include <functional>

namespace korv {

class Language;

struct LanguageMenuItem {
    QString caption = QStringLiteral("--");
    bool visible = false;
    bool checked = false;
};

class LanguageMenu : public QObject {
    Q_OBJECT
public:
    static constexpr int kItemCount = 6;

    explicit LanguageMenu(Language &language, QObject *parent = nullptr);

    const LanguageMenuItem &item(int index) const { return items_.at(std::size_t(index)); }

    // Runs ApplyLanguage on the main window.
    std::function<void()> applyLanguage;

    // Fills the items from the language folder (sorted by name, six at
    // most) and chooses the stored language ("lng"). When no item matches
    // it, every visible item is chosen in turn, so the last one ends up
    // current and stored.
    void LoadLanguageMenu();

    // The user chose item `index` (a visible one): it becomes the current language, is
    // stored as "lng" and applied to the main window.
    void mnulng_Click(int index);

signals:
    void itemsChanged();

private:
    Language &language_;
    std::array<LanguageMenuItem, kItemCount> items_{};
};

} // namespace korv
