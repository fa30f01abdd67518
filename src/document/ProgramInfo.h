#pragma once
// What the program says about itself: version, maker and contact addresses.

#include <QString>

namespace korv::ProgramInfo {

inline constexpr int kMajorVersion = KORV_VERSION_MAJOR;
inline constexpr int kMinorVersion = KORV_VERSION_MINOR;

// The version as "major.minor", plain decimal ("1.2", "2.0").
inline QString versionText()
{
    return QStringLiteral("%1.%2").arg(kMajorVersion).arg(kMinorVersion);
}

// Stored as "version" at every start; what older releases wrote there.
inline constexpr const char *kStoredVersion = "1.1";

inline constexpr const char *kWebAddress = "http://www.korvendal.example/altyazi";
inline constexpr const char *kMailAddress = "altyazi@korvendal.example";
inline constexpr const char *kAuthor = "Korvendal Sub Ekibi";
inline constexpr const char *kBuiltWith = "C++20 ve Qt 6";
inline constexpr const char *kThanks = "Hata bildiren, çeviri yapan ve zamanlama ipuçları veren herkese teşekkürler.";

// Title of the notices that commands show.
inline const QString kNoticeTitle = QStringLiteral("Korvendal Production");

} // namespace korv::ProgramInfo
