#include "document/RecoveryFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>

namespace korv {

namespace {

const QString kProgram = QStringLiteral("korvendal-sub recovery copy");
constexpr int kVersion = 1;

} // namespace

QByteArray recoveryCopyJson(const RecoveryCopy &copy)
{
    QJsonArray rows;
    for (const SubtitleEntry &row : copy.rows)
        rows.append(QJsonArray{row.number, row.start, row.end, row.text});
    QJsonObject root{
        {QStringLiteral("program"), kProgram},
        {QStringLiteral("version"), kVersion},
        {QStringLiteral("written"), copy.written.toString(Qt::ISODateWithMs)},
        {QStringLiteral("file"), copy.file},
        {QStringLiteral("format"), copy.format},
        {QStringLiteral("microDvdRate"), copy.microDvdRate},
        {QStringLiteral("selected"), copy.selected},
        {QStringLiteral("rows"), rows},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<RecoveryCopy> readRecoveryCopy(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("program")).toString() != kProgram
        || root.value(QStringLiteral("version")).toInt() != kVersion)
        return std::nullopt;

    const QJsonValue file = root.value(QStringLiteral("file"));
    const QJsonValue format = root.value(QStringLiteral("format"));
    const QJsonValue rate = root.value(QStringLiteral("microDvdRate"));
    const QJsonValue selected = root.value(QStringLiteral("selected"));
    const QJsonValue rows = root.value(QStringLiteral("rows"));
    if (!file.isString() || !format.isString() || !rate.isDouble() || !selected.isDouble() || !rows.isArray())
        return std::nullopt;

    RecoveryCopy copy;
    copy.written = QDateTime::fromString(root.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
    if (!copy.written.isValid())
        return std::nullopt;
    copy.file = file.toString();
    copy.format = format.toString();
    copy.microDvdRate = rate.toDouble();
    if (!std::isfinite(copy.microDvdRate) || copy.microDvdRate < 0)
        return std::nullopt;

    const QJsonArray array = rows.toArray();
    copy.rows.reserve(std::size_t(array.size()));
    for (const QJsonValue &value : array) {
        const QJsonArray cells = value.toArray();
        if (!value.isArray() || cells.size() != 4)
            return std::nullopt;
        SubtitleEntry entry;
        for (int column = 0; column < 4; ++column) {
            if (!cells.at(column).isString())
                return std::nullopt;
            entry.cell(column) = cells.at(column).toString();
        }
        copy.rows.push_back(std::move(entry));
    }
    // A selection outside the rows would point the edit fields nowhere.
    const double chosen = selected.toDouble();
    if (chosen != std::floor(chosen) || chosen < -1 || chosen >= double(copy.rows.size()))
        return std::nullopt;
    copy.selected = int(chosen);
    return copy;
}

} // namespace korv
