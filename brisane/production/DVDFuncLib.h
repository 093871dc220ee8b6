#pragma once
// Disc settings shared by the project model and the burn settings sheet: the
// menu canvas size for an aspect, and the TV standard to propose for the
// user's country. Any thread.

#include <QLocale>
#include <QSizeF>
#include <optional>

class DVDFuncLib {
public:
    DVDFuncLib() = delete;

    // Corvane's canvas: 854 x 480 for any non-zero aspect type (16:9),
    // 640 x 480 for 0 (4:3).
    static QSizeF menuSizeForAspectType(qint64 aspectType);

    // NTSC is proposed when the country of the locale is one of US, JP, CA,
    // KR, TW; PAL otherwise (a locale without a country too).
    static bool isDefaultUseDVDNTSC();
    static bool isDefaultUseDVDNTSC(const QLocale& locale);

    // The locale isDefaultUseDVDNTSC() reads; none restores the system's.
    static void setLocale(const std::optional<QLocale>& locale);
};
