#pragma once
// The row of one page in the title list: an arrow, the page's name (marked
// when it is the list's current page) and how many titles it holds, drawn
// over two hairlines along its lower edge. Pressing it selects the page and
// makes it the current page, the page open-panel imports add to.
//
// The page owns its row (DVDPageData::dvdPageView) and tells it to forget
// the page when the page goes; the texts are read from the page at every
// redraw. Main thread only.

#include <QImage>

#include "listedit/ListDataRowView.h"
#include "model/PageRowView.h"

class DVDPageData;

class DVDPageDataView : public ListDataRowView, public PageRowView {
    Q_OBJECT
public:
    // A row standing in `parent`, belonging to `list` (null: to no list).
    explicit DVDPageDataView(QWidget* parent = nullptr, ListTableView* list = nullptr);

    DVDPageData* page() const { return m_page; }
    // --- PageRowView ---
    void setPage(DVDPageData* page) override { m_page = page; }

    // Marks the row for redrawing; the texts come from the page at every redraw.
    void initAllPageControls() { update(); }

    // The name text: the page's name, or "%@  -  ( current page )" when
    // `current`.
    static QString pageNameText(const QString& name, bool current);
    // The name text the row shows now.
    QString displayedName() const;
    // "%ld Title" for every count.
    static QString titleCountsText(qsizetype count);
    // Drawing rectangles in a row of `size` (widget coordinates).
    static QRectF imageRect(const QSizeF& size);
    static QRectF pageNameRect(const QSizeF& size);
    static QRectF titleCountsRect(const QSizeF& size);

    quint64 typeCode() const override { return 3; }
    std::shared_ptr<Object> modelObject() const override;
    double indent() const override { return 0.0; }
    void initAllControls() override { initAllPageControls(); }

protected:
    void afterSelect() override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool isCurrentPage() const;

    QImage m_image;
    // Not owned; the page clears it when it goes.
    DVDPageData* m_page = nullptr;
};
