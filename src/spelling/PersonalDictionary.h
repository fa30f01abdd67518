#pragma once
// The user's own words: a plain UTF-8 list, one word a line, that "add to my
// dictionary" appends to and every checker of that dictionary learns at
// load. A person may edit it by hand; a damaged list (not UTF-8, binary,
// lines that are no word) is read as far as it is sound and the damage told,
// never the reason for a check to stop.

#include <QString>
#include <QStringList>

namespace korv {

struct PersonalWords {
    QStringList words;
    // The first line that is no word (1-based), 0 when every line is sound.
    int damagedLine = 0;
    // Lines left out.
    int skipped = 0;
    // The file exists but could not be read at all: the system's reason.
    QString error;
};

// The list's file for a dictionary, in `folder` ("tr_TR" -> "words-tr_TR.txt").
QString personalDictionaryPath(const QString &folder, const QString &dictionary);

// A missing file is an empty list, not damage.
PersonalWords readPersonalWords(const QString &path);

// Appends a word (creating the folder and the file); the system's reason
// when it cannot, empty on success.
QString appendPersonalWord(const QString &path, const QString &word);

} // namespace korv
