#pragma once
// What the film information panel shows of an AVI film: the four summary
// labels and the rows of the information list (an empty first column, a name
// and a value, the two heading rows in bold).

#include "document/TimeText.h"
#include "media/AviHeaders.h"

#include <QString>

#include <vector>

namespace korv {

struct AviInfoRow {
    QString name;
    QString value;
    bool bold = false;
    bool operator==(const AviInfoRow &) const = default;
};

struct FilmInformation {
    QString resolution = QStringLiteral("-");  // Label4
    QString totalFrames = QStringLiteral("-"); // Label5
    QString totalTime = QStringLiteral("-");   // Label6
    QString frameRate = QStringLiteral("-");   // Label7
    std::vector<AviInfoRow> rows;               // ListView1
};

// A film name whose last three characters are "AVI" in any case.
bool isAviFileName(const QString &fileName);

// The summary rows and the four labels from the two records; returns the
// film's frame rate (stream rate / scale), or 0 when the stream gives none.
// A value that cannot be computed (no frame rate, a length of ten hours or
// more for the clock text) shows as "-".
double SummarizeAvi(const AviFileInfo &fileInfo, const AviStreamInfo &streamInfo, const NumberFormat &nf,
                    FilmInformation &info);

// Appends the heading and field rows of both records.
void ShowAviDetails(const AviFileInfo &fileInfo, const AviStreamInfo &streamInfo, std::vector<AviInfoRow> &rows);

} // namespace korv
