#include "production/DVDFuncLib.h"

#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QStringList>

#include "corvane/DVDMenu.h"

namespace {

QMutex& localeLock()
{
    static QMutex lock;
    return lock;
}

std::optional<QString>& injectedLocaleName()
{
    static std::optional<QString> name;
    return name;
}

QString currentLocaleName()
{
    QMutexLocker locker(&localeLock());
    return injectedLocaleName().value_or(DVDFuncLib::systemLocaleName());
}

}  // namespace

QSizeF DVDFuncLib::menuSizeForAspectType(qint64 aspectType)
{
    return DVDMenu::menuSizeForAspectType(aspectType);
}

bool DVDFuncLib::isDefaultUseDVDNTSC()
{
    return isDefaultUseDVDNTSC(currentLocaleName());
}

bool DVDFuncLib::isDefaultUseDVDNTSC(const QString& localeName)
{
    static const QStringList ntscCountries = {"US", "JP", "CA", "KR", "TW"};
    return ntscCountries.contains(countryCodeOfLocaleName(localeName));
}

QString DVDFuncLib::countryCodeOfLocaleName(const QString& localeName)
{
    // language[_-]Script?[_-]COUNTRY?[.codeset][@modifier]; QLocale would
    // fill in the likely country of a bare language.
    static const QRegularExpression pattern(
        QStringLiteral("^[A-Za-z]{2,3}(?:[_-][A-Za-z]{4})?(?:[_-]([A-Za-z]{2}|[0-9]{3}))?"
                       "(?:[.@].*)?$"));
    const QRegularExpressionMatch match = pattern.match(localeName.trimmed());
    return match.hasMatch() ? match.captured(1).toUpper() : QString();
}

QString DVDFuncLib::systemLocaleName()
{
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty()) {
            return value;
        }
    }
    return QStringLiteral("C");
}

void DVDFuncLib::setLocaleName(const std::optional<QString>& localeName)
{
    QMutexLocker locker(&localeLock());
    injectedLocaleName() = localeName;
}
