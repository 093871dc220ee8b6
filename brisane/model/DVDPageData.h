#pragma once
// A page of the title list: its titles in list order and the menu page that
// shows them. Archived under "titleDataArray", "name" and "menuPage"; the row
// view is not archived. Answers the disc side as a MenuListPage.
//
// When the page goes away it tells its row view to forget it.

#include <QList>
#include <QString>
#include <memory>

#include "model/MenuListPage.h"
#include "platform/CodingBase.h"

class DVDPage;
class DVDTitleData;
class PageRowView;

class DVDPageData : public CodingBase, public MenuListPage {
public:
    using TitleList = QList<std::shared_ptr<DVDTitleData>>;

    DVDPageData();
    ~DVDPageData() override;

    // --- MenuListPage ---
    qsizetype menuTitleCount() const override { return m_titleDataArray.size(); }

    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    const TitleList& titleDataArray() const { return m_titleDataArray; }
    TitleList& titleDataArray() { return m_titleDataArray; }
    void setTitleDataArray(const TitleList& titles) { m_titleDataArray = titles; }
    std::shared_ptr<PageRowView> dvdPageView() const { return m_dvdPageView; }
    void setDvdPageView(const std::shared_ptr<PageRowView>& view) { m_dvdPageView = view; }
    std::shared_ptr<DVDPage> menuPage() const { return m_menuPage; }
    void setMenuPage(const std::shared_ptr<DVDPage>& page) { m_menuPage = page; }

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    QString m_name;
    TitleList m_titleDataArray;
    std::shared_ptr<PageRowView> m_dvdPageView;
    std::shared_ptr<DVDPage> m_menuPage;
};
