#include "production/DVDFuncLib.h"

#include <QMutex>
#include <QMutexLocker>
#include <QStringList>

#include "corvane/DVDMenu.h"

namespace {

QMutex& localeLock()
{
    static QMutex lock;
    return lock;
}

std::optional<QLocale>& injectedLocale()
{
    static std::optional<QLocale> locale;
    return locale;
}

QLocale currentLocale()
{
    QMutexLocker locker(&localeLock());
    return injectedLocale().value_or(QLocale::system());
}

}  // namespace

QSizeF DVDFuncLib::menuSizeForAspectType(qint64 aspectType)
{
    return DVDMenu::menuSizeForAspectType(aspectType);
}

bool DVDFuncLib::isDefaultUseDVDNTSC()
{
    return isDefaultUseDVDNTSC(currentLocale());
}

bool DVDFuncLib::isDefaultUseDVDNTSC(const QLocale& locale)
{
    if (locale.territory() == QLocale::AnyTerritory) {
        return false;
    }
    static const QStringList ntscCountries = {"US", "JP", "CA", "KR", "TW"};
    return ntscCountries.contains(QLocale::territoryToCode(locale.territory()));
}

void DVDFuncLib::setLocale(const std::optional<QLocale>& locale)
{
    QMutexLocker locker(&localeLock());
    injectedLocale() = locale;
}
