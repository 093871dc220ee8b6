#pragma once
// The video edit sheet's pages, one per tab identifier ("trim", "crop",
// "watermark", "subtitle", "audio"); the sheet's segmented control chooses
// among them. A press on a page takes the keyboard focus, ending the editing
// of a text field.

#include <QStackedWidget>
#include <QStringList>

class VideoEditTabView : public QStackedWidget {
    Q_OBJECT
public:
    explicit VideoEditTabView(QWidget* parent = nullptr);

    // Adds a page under its identifier.
    int addTab(QWidget* page, const QString& identifier);
    // The current page's identifier; empty without pages.
    QString currentIdentifier() const;
    // Shows the page of that identifier; false when there is none.
    bool selectTabViewItemWithIdentifier(const QString& identifier);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QStringList m_identifiers;
};
