#include "model/DVDPageData.h"

#include "model/DVDPage.h"
#include "model/DVDTitleData.h"
#include "model/PageRowView.h"
#include "platform/ClassRegistry.h"

BRISANE_REGISTER_CLASS(DVDPageData)

DVDPageData::DVDPageData() = default;

DVDPageData::~DVDPageData()
{
    if (m_dvdPageView) {
        m_dvdPageView->setPage(nullptr);
    }
}

QStringList DVDPageData::allCoderKeys() const
{
    return {"titleDataArray", "name", "menuPage"};
}

const PropertyTable& DVDPageData::properties()
{
    using P = DVDPageData;
    static const PropertyTable table =
        PropertyTable(CodingBase::properties())
            .add("titleDataArray", static_cast<const TitleList& (P::*)() const>(&P::titleDataArray),
                 &P::setTitleDataArray)
            .add("name", &P::name, &P::setName)
            .add("menuPage", &P::menuPage, &P::setMenuPage);
    return table;
}
