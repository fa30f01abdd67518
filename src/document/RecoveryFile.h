#pragma once
// The recovery copy's file: what is needed to bring back a document whose
// program ended without saving it, as JSON a person can read in an emergency.

#include "document/SubtitleList.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace korv {

struct RecoveryCopy {
    // Every row's four texts as the document held them, times that are no
    // number included.
    std::vector<SubtitleEntry> rows;
    int selected = -1;
    // The file the document was opened from or last saved to, and its format
    // ("subviewer", "microdvd", "subrip" or "webvtt").
    QString file;
    QString format;
    // The MicroDVD rate last confirmed; 0 for none.
    double microDvdRate = 0;
    QDateTime written;
};

QByteArray recoveryCopyJson(const RecoveryCopy &copy);
// Nothing when the bytes are not a whole copy written by this program: a copy
// is brought back whole or not at all.
std::optional<RecoveryCopy> readRecoveryCopy(const QByteArray &json);

} // namespace korv
