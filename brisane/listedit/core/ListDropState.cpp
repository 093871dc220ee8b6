#include "listedit/core/ListDropState.h"

#include "platform/Object.h"

namespace {

// The anchor before the first page; it stands for no entry.
class FirstPageAnchor : public Object {};

}  // namespace

void ListDropState::insertUnder(qint32 level, const std::shared_ptr<Object>& anchor)
{
    insertOrMerge = Insert;
    insertedType = level;
    insertUnderData = anchor;
}

void ListDropState::mergeInto(const MediaData::Ptr& clip)
{
    insertOrMerge = Merge;
    mergeMedia = clip;
}

void ListDropState::reset()
{
    dragToType = NoRow;
    insertOrMerge = NoTarget;
}

std::shared_ptr<Object> ListDropState::firstPage()
{
    static const std::shared_ptr<Object> anchor = std::make_shared<FirstPageAnchor>();
    return anchor;
}

bool ListDropState::isFirstPage(const std::shared_ptr<Object>& anchor)
{
    return anchor && anchor == firstPage();
}

const QString& ListDropState::firstPageName()
{
    static const QString name = QStringLiteral("FirstPage");
    return name;
}
