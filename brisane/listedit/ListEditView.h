#pragma once
// The title list screen: a header bar, the scroll area that holds the list
// over the list's dark background, and the buttons add video, add picture,
// add page, move up and move down below it.
// A thin layer: the list edit controller connects the buttons and keeps
// their enabled state.

#include <QWidget>

class ListTableView;
class QPushButton;
class QScrollArea;

class ListEditView : public QWidget {
    Q_OBJECT
public:
    explicit ListEditView(QWidget* parent = nullptr);

    QScrollArea* listScrollView() const { return m_listScrollView; }
    // The list inside the scroll area.
    ListTableView* listTableView() const { return m_listTableView; }
    QPushButton* addVideoButton() const { return m_addVideo; }
    QPushButton* addPictureButton() const { return m_addPicture; }
    QPushButton* addPageButton() const { return m_addPage; }
    QPushButton* moveUpButton() const { return m_moveUp; }
    QPushButton* moveDownButton() const { return m_moveDown; }

private:
    QPushButton* addButton(const QString& text, const QString& tip);

    QScrollArea* m_listScrollView;
    ListTableView* m_listTableView;
    QPushButton* m_addVideo;
    QPushButton* m_addPicture;
    QPushButton* m_addPage;
    QPushButton* m_moveUp;
    QPushButton* m_moveDown;
};
