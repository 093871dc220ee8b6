#pragma once
// A DVD title of the list: its clips in list order and its button on the
// page's menu. Archived under "mediaDataArray", "name", "superPage" and
// "menuItem"; `superPage` is a back link that does not own and comes back as
// the very page decoded with it. The row view is not archived. Answers the
// disc side as a MenuTitle.

#include <QList>
#include <QString>
#include <memory>

#include "model/MenuTitle.h"
#include "model/RowPointer.h"
#include "model/TitleRowView.h"
#include "platform/CodingBase.h"

class DVDPageData;
class DVDPageItem;
class MediaData;

class DVDTitleData : public CodingBase, public MenuTitle {
public:
    using ClipList = QList<std::shared_ptr<MediaData>>;

    // --- MenuTitle ---
    QList<std::shared_ptr<MenuClip>> menuClips() const override;

    std::shared_ptr<DVDPageData> superPage() const { return m_superPage.lock(); }
    void setSuperPage(const std::shared_ptr<DVDPageData>& page) { m_superPage = page; }
    // The title's row in the title list; not owned, not archived; null once
    // the row is destroyed.
    TitleRowView* titleDataView() const { return m_titleDataView.get(); }
    void setTitleDataView(TitleRowView* view) { m_titleDataView.reset(view); }
    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    const ClipList& mediaDataArray() const { return m_mediaDataArray; }
    ClipList& mediaDataArray() { return m_mediaDataArray; }
    void setMediaDataArray(const ClipList& clips) { m_mediaDataArray = clips; }
    std::shared_ptr<DVDPageItem> menuItem() const { return m_menuItem; }
    void setMenuItem(const std::shared_ptr<DVDPageItem>& item) { m_menuItem = item; }

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    std::weak_ptr<DVDPageData> m_superPage;
    RowPointer<TitleRowView> m_titleDataView;
    QString m_name;
    ClipList m_mediaDataArray;
    std::shared_ptr<DVDPageItem> m_menuItem;
};
