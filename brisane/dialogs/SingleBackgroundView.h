#pragma once
// One 100 x 90 tile of a template background in the background picture
// dialog: the picture fitted, centred, into the tile inset by 10, and a
// yellow rounded mark when it is the chosen template. A click chooses it.

#include <QImage>
#include <QWidget>
#include <memory>

class DVDMenuBackgroundResource;

class SingleBackgroundView : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kTileSize{100, 90};

    SingleBackgroundView(const std::shared_ptr<DVDMenuBackgroundResource>& source,
                         QWidget* parent = nullptr);

    std::shared_ptr<DVDMenuBackgroundResource> backSource() const { return m_source; }
    void setMarked(bool marked);
    bool isMarked() const { return m_marked; }
    // Where the picture is drawn: fitted inside the tile inset by 10.
    QRectF imageRect() const;

signals:
    void chosen(SingleBackgroundView* tile);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::shared_ptr<DVDMenuBackgroundResource> m_source;
    QImage m_image;
    bool m_marked = false;
};
