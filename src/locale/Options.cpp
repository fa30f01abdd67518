#include "locale/Options.h"

#include "locale/Registry.h"

namespace korv {

QString optionValueName(int index)
{
    return QStringLiteral("check1IND%1").arg(index);
}

StoredOptions loadStoredOptions()
{
    StoredOptions options;
    for (int i = 0; i < kOptionCount; ++i) {
        bool ok = false;
        const int state = GetRegSetting(optionValueName(i)).trimmed().toInt(&ok);
        options.flags[std::size_t(i)] = ok && state == 1;
    }
    const QString seconds = GetRegSetting(QStringLiteral("text1"));
    options.seconds = seconds.isEmpty() ? kDefaultOptionSeconds : seconds;
    return options;
}

void storeOptionFlag(int index, bool on)
{
    if (index < 0 || index >= kOptionCount)
        return;
    SaveRegSetting(optionValueName(index), on ? QStringLiteral("1") : QStringLiteral("0"));
}

void storeOptionSeconds(const QString &seconds)
{
    SaveRegSetting(QStringLiteral("text1"), seconds);
}

} // namespace korv
