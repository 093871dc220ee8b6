#include "listedit/ListEditView.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

ListEditView::ListEditView(QWidget* parent)
    : QWidget(parent), m_listScrollView(new QScrollArea(this))
{
    setObjectName(QStringLiteral("ListEditViewController"));
    m_listScrollView->setWidgetResizable(true);
    m_listScrollView->setWidget(new QWidget);
    m_listScrollView->widget()->setAcceptDrops(true);

    auto* buttons = new QHBoxLayout;
    m_addVideo = addButton(tr("Add Video"), tr("Add videos to the current page"));
    m_addPicture = addButton(tr("Add Picture"), tr("Add pictures as one slideshow"));
    m_addPage = addButton(tr("Add Page"), tr("Add an empty menu page"));
    m_moveUp = addButton(tr("Move Up"), tr("Move the selected entry up"));
    m_moveDown = addButton(tr("Move Down"), tr("Move the selected entry down"));
    for (QPushButton* button : {m_addVideo, m_addPicture, m_addPage}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    buttons->addWidget(m_moveUp);
    buttons->addWidget(m_moveDown);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_listScrollView, 1);
    layout->addLayout(buttons);
}

QWidget* ListEditView::listWidget() const
{
    return m_listScrollView->widget();
}

QPushButton* ListEditView::addButton(const QString& text, const QString& tip)
{
    auto* button = new QPushButton(text, this);
    button->setToolTip(tip);
    button->setAutoDefault(false);
    return button;
}
