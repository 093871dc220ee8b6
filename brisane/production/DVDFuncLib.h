#pragma once
// Disc settings shared by the project model and the burn settings sheet: the
// menu canvas size for an aspect, and the TV standard to propose for the
// user's country. Any thread.

#include <QSizeF>
#include <QString>
#include <optional>

class DVDFuncLib {
public:
    DVDFuncLib() = delete;

    // Corvane's canvas: 854 x 480 for any non-zero aspect type (16:9),
    // 640 x 480 for 0 (4:3).
    static QSizeF menuSizeForAspectType(qint64 aspectType);

    // NTSC is proposed when the country of the user's locale is one of US,
    // JP, CA, KR, TW; PAL otherwise (a locale without a country too).
    static bool isDefaultUseDVDNTSC();
    // The same for a locale name ("en_US.UTF-8", "ja", "zh-Hant-TW"...).
    static bool isDefaultUseDVDNTSC(const QString& localeName);
    // The country a locale name names itself: the two letters (upper case)
    // or three digits after the language and an optional script; empty when
    // it names none. No likely country is filled in: "en" names none.
    static QString countryCodeOfLocaleName(const QString& localeName);
    // The name of the user's locale, as the environment gives it (LC_ALL,
    // LC_NUMERIC, LANG: the variables of Qt's system locale).
    static QString systemLocaleName();

    // The locale name isDefaultUseDVDNTSC() reads; none restores the
    // system's.
    static void setLocaleName(const std::optional<QString>& localeName);
};
