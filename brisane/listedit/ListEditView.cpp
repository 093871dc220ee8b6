#include "listedit/ListEditView.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "listedit/ListEditBackgourndView.h"
#include "listedit/ListTableView.h"
#include "listedit/ListUpBgView.h"

ListEditView::ListEditView(QWidget* parent)
    : QWidget(parent), m_listScrollView(new QScrollArea), m_listTableView(new ListTableView)
{
    setObjectName(QStringLiteral("ListEditViewController"));
    // The list paints only its connectors; the background shows through.
    auto* background = new ListEditBackgourndView(this);
    m_listScrollView->setParent(background);
    m_listScrollView->setFrameShape(QFrame::NoFrame);
    m_listScrollView->setAutoFillBackground(false);
    m_listScrollView->viewport()->setAutoFillBackground(false);
    m_listScrollView->setWidgetResizable(true);
    m_listScrollView->setWidget(m_listTableView);
    m_listTableView->setAutoFillBackground(false);
    auto* backgroundLayout = new QVBoxLayout(background);
    backgroundLayout->setContentsMargins(0, 0, 0, 0);
    backgroundLayout->addWidget(m_listScrollView);

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
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new ListUpBgView(this));
    layout->addWidget(background, 1);
    buttons->setContentsMargins(8, 6, 8, 6);
    layout->addLayout(buttons);
}

QPushButton* ListEditView::addButton(const QString& text, const QString& tip)
{
    auto* button = new QPushButton(text, this);
    button->setToolTip(tip);
    button->setAutoDefault(false);
    return button;
}
