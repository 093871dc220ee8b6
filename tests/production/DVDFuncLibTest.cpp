// The TV standard proposed for the user's country and the menu canvas size.

#include <gtest/gtest.h>

#include "production/DVDFuncLib.h"

namespace {

TEST(DVDFuncLibTest, ntscOnlyForTheFiveCountriesTheLocaleNames)
{
    struct Case {
        const char* name;
        const char* country;
        bool ntsc;
    };
    const Case cases[] = {
        {"en_US", "US", true},
        {"ja_JP", "JP", true},
        {"en_CA.UTF-8", "CA", true},
        {"fr_CA", "CA", true},
        {"ko_KR.eucKR", "KR", true},
        {"zh_TW", "TW", true},
        {"zh-Hant-TW", "TW", true},
        {"en-us", "US", true},
        {"de_DE@euro", "DE", false},
        {"en_GB", "GB", false},
        {"es_MX", "MX", false},
        {"sr_Latn_RS", "RS", false},
        // No country named: the likely one (US, JP, KR) is not filled in.
        {"en", "", false},
        {"ja", "", false},
        {"ko", "", false},
        {"en.UTF-8", "", false},
        {"C", "", false},
        {"C.UTF-8", "", false},
        {"POSIX", "", false},
        {"", "", false},
        {"en_150", "150", false},  // a region, not a country
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DVDFuncLib::countryCodeOfLocaleName(c.name), c.country);
        EXPECT_EQ(DVDFuncLib::isDefaultUseDVDNTSC(c.name), c.ntsc);
        DVDFuncLib::setLocaleName(QString(c.name));
        EXPECT_EQ(DVDFuncLib::isDefaultUseDVDNTSC(), c.ntsc);
    }
    DVDFuncLib::setLocaleName(std::nullopt);
}

TEST(DVDFuncLibTest, theSystemLocaleIsReadFromTheEnvironment)
{
    const QByteArray saved[] = {qgetenv("LC_ALL"), qgetenv("LC_NUMERIC"), qgetenv("LANG")};
    qunsetenv("LC_ALL");
    qunsetenv("LC_NUMERIC");
    qputenv("LANG", "ja");
    EXPECT_EQ(DVDFuncLib::systemLocaleName(), "ja");
    EXPECT_FALSE(DVDFuncLib::isDefaultUseDVDNTSC());
    qputenv("LANG", "ja_JP.UTF-8");
    EXPECT_TRUE(DVDFuncLib::isDefaultUseDVDNTSC());
    qputenv("LC_ALL", "de_DE.UTF-8");  // LC_ALL rules over LANG
    EXPECT_FALSE(DVDFuncLib::isDefaultUseDVDNTSC());
    const char* names[] = {"LC_ALL", "LC_NUMERIC", "LANG"};
    for (int i = 0; i < 3; ++i) {
        if (saved[i].isNull()) {
            qunsetenv(names[i]);
        } else {
            qputenv(names[i], saved[i]);
        }
    }
}

TEST(DVDFuncLibTest, everyNonZeroAspectIsTheWideCanvas)
{
    for (qint64 aspect : {1, 2, -1, 99}) {
        SCOPED_TRACE(aspect);
        EXPECT_EQ(DVDFuncLib::menuSizeForAspectType(aspect), QSizeF(854, 480));
    }
    EXPECT_EQ(DVDFuncLib::menuSizeForAspectType(0), QSizeF(640, 480));
}

}  // namespace
