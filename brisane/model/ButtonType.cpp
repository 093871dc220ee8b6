#include "model/ButtonType.h"

#include "corvane/DVDLibraryButtonResource.h"
#include "model/CustomButtonImageResource.h"

bool ButtonType::isPlay(const DVDLibraryButtonResource& button)
{
    return button.name().endsWith(QStringLiteral("play"));
}

bool ButtonType::isPrev(const DVDLibraryButtonResource& button)
{
    return button.name().endsWith(QStringLiteral("pre"));
}

bool ButtonType::isNext(const DVDLibraryButtonResource& button)
{
    return button.name().endsWith(QStringLiteral("next"));
}

qint64 ButtonType::type(const DVDLibraryButtonResource& button)
{
    if (const auto* custom = dynamic_cast<const CustomButtonImageResource*>(&button)) {
        return custom->type();
    }
    if (isPlay(button)) {
        return 11;
    }
    if (isPrev(button)) {
        return 12;
    }
    return 13;
}
