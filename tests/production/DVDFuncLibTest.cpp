// The TV standard proposed for the user's country and the menu canvas size.

#include <gtest/gtest.h>

#include "production/DVDFuncLib.h"

namespace {

TEST(DVDFuncLibTest, ntscOnlyForTheFiveCountries)
{
    struct Case {
        const char* name;
        QLocale locale;
        bool ntsc;
    };
    const Case cases[] = {
        {"en_US", QLocale("en_US"), true},
        {"ja_JP", QLocale("ja_JP"), true},
        {"en_CA", QLocale("en_CA"), true},
        {"fr_CA", QLocale("fr_CA"), true},
        {"ko_KR", QLocale("ko_KR"), true},
        {"zh_TW", QLocale("zh_TW"), true},
        {"de_DE", QLocale("de_DE"), false},
        {"en_GB", QLocale("en_GB"), false},
        {"es_MX", QLocale("es_MX"), false},
        {"C", QLocale::c(), false},
        {"no territory", QLocale(QLocale::AnyLanguage, QLocale::AnyTerritory), false},
        {"a region, not a country", QLocale("en_150"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DVDFuncLib::isDefaultUseDVDNTSC(c.locale), c.ntsc);
        DVDFuncLib::setLocale(c.locale);
        EXPECT_EQ(DVDFuncLib::isDefaultUseDVDNTSC(), c.ntsc);
    }
    DVDFuncLib::setLocale(std::nullopt);
    EXPECT_EQ(DVDFuncLib::isDefaultUseDVDNTSC(),
              DVDFuncLib::isDefaultUseDVDNTSC(QLocale::system()));
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
