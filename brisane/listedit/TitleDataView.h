#pragma once
// The row of one DVD title in the title list: a title picture on a dark
// rounded panel, the title's name, how many clips (chapters) it holds and
// its total playing time. The clip rows refresh the total when a clip's
// length changes.
//
// The row points at its title without owning it; the list keeps the row
// while the title lives. Main thread only.

#include <QImage>

#include "listedit/ListDataRowView.h"
#include "model/TitleRowView.h"

class DVDTitleData;

class TitleDataView : public ListDataRowView, public TitleRowView {
    Q_OBJECT
public:
    // A row standing in `parent`, belonging to `list` (null: to no list).
    explicit TitleDataView(QWidget* parent = nullptr, ListTableView* list = nullptr);

    std::shared_ptr<DVDTitleData> title() const { return m_title.lock(); }
    void setTitle(const std::shared_ptr<DVDTitleData>& title) { m_title = title; }
    QLabel* titleName() const { return m_titleName; }
    QLabel* titleChapter() const { return m_titleChapter; }
    QLabel* titleTime() const { return m_titleTime; }

    // Frames, name, clip count and total time from the title.
    void initAllTitleControls();
    // --- TitleRowView ---
    // The time label from totalTimeInTitle.
    void flushTitleAllTimeAfterVideoEdit() override;
    // The seconds of every clip of the title, a merged clip's members each
    // counted, as "%02d:%02d:%02d" with fractions cut.
    QString totalTimeInTitle() const;
    double totalSecondsInTitle(const DVDTitleData& title) const;
    // "%ld Chapters" for every count; a merged clip counts once.
    static QString chapterText(qsizetype count);

    // Rectangles in a row of `size` (widget coordinates).
    static QRectF panelRect(const QSizeF& size);
    static QRectF imageRect(const QSizeF& size);
    static QRectF nameRect(const QSizeF& size);
    static QRectF chapterRect(const QSizeF& size);
    static QRectF timeRect(const QSizeF& size);

    quint64 typeCode() const override { return 2; }
    std::shared_ptr<Object> modelObject() const override;
    double indent() const override
    {
        return ListTableLayout::indent(ListTableLayout::RowKind::Title);
    }
    void initAllControls() override { initAllTitleControls(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
    std::weak_ptr<DVDTitleData> m_title;
    QLabel* m_titleName;
    QLabel* m_titleChapter;
    QLabel* m_titleTime;
};
