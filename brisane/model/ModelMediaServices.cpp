#include "model/ModelMediaServices.h"

#include "model/DVDResource.h"

ModelMediaServices::ModelMediaServices(DiscAccessor openDisc) : m_openDisc(std::move(openDisc)) {}

QSizeF ModelMediaServices::projectCanvasSize() const
{
    const auto dvd = m_openDisc ? m_openDisc() : nullptr;
    return dvd ? dvd->dvdVideoSize() : MediaServices::projectCanvasSize();
}

void ModelMediaServices::installForMedia(DiscAccessor openDisc)
{
    MediaServices::install(std::make_shared<ModelMediaServices>(std::move(openDisc)));
}
