#pragma once
// The settings store: named string values under the program's key.
//
// On Windows the values live in the registry under HKEY_CURRENT_USER, where
// an ordinary user may write (so a setting really persists). Elsewhere, and
// on every platform once a settings folder has been set (tests do), they live
// in an INI file under the user's configuration folder: the key
// "Software\Korvendal\Altyazi" becomes "<folder>/Korvendal/Altyazi.ini".
//
// Every value is a string. A missing value, or one of another type (a number,
// a list, binary data written by hand or by another program), reads as the
// default; a value holding a zero character reads back cut before it. Nothing
// fails loudly: a value that cannot be written is not stored, and a value
// that cannot be read reads as the default.

#include <QString>

namespace korv {

// The program's key.
inline const QString kProgramKey = QStringLiteral("Software\\Korvendal\\Altyazi");

// The folder the store lives under: the one set, or the user's configuration
// folder. Setting a folder also moves the store out of the registry, so tests
// never read or write the user's real settings. An empty folder restores the
// default.
QString settingsRoot();
void setSettingsRoot(const QString &folder);

// The INI file that holds a key's values; empty when the registry holds them.
QString settingsFile(const QString &subKey);

// The program's own folder under the settings root (where set.cfg goes when
// the program's folder is read-only).
QString userConfigFolder();

// Where the program keeps the user's data (the recovery copies): the user's
// data folder, or a folder under the settings root once one has been set.
QString userDataFolder();

// Creates the key if needed and sets the value `name` to `value`.
void RegSetString(const QString &subKey, const QString &name, const QString &value);
// The string value `name` of the key; `defaultValue` when it is missing,
// unreadable or not a string.
QString RegGetString(const QString &subKey, const QString &name, const QString &defaultValue);

// RegSetString / RegGetString on the program's key (default "").
void SaveRegSetting(const QString &name, const QString &value);
QString GetRegSetting(const QString &name);

} // namespace korv
