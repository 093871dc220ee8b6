#include "model/ModelMediaServices.h"

#include "model/DVDResource.h"
#include "model/ModelServices.h"

QSizeF ModelMediaServices::projectCanvasSize() const
{
    const auto dvd = ModelServices::current()->dvd();
    return dvd ? dvd->dvdVideoSize() : MediaServices::projectCanvasSize();
}

void ModelMediaServices::installForMedia()
{
    MediaServices::install(std::make_shared<ModelMediaServices>());
}
