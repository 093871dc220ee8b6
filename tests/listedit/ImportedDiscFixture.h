#pragma once
// A project made the way a user makes one: clips imported through the title
// list's own import (each cut as the title list's trim leaves it) as the
// titles of one page, the project saved and reopened through the project
// document, its disc produced the way the program produces it, and its
// titles read back from the DVD folder with libdvdread.

#include <gtest/gtest.h>

#include <QDir>
#include <functional>

#include "../shell/DiscProjectFixture.h"
#include "../shell/DiscReadBack.h"
#include "DiscRoadSupport.h"
#include "InterlacedMedia.h"
#include "listedit/core/ListMediaFactory.h"
#include "listedit/core/ListSelection.h"
#include "shell/core/DiscModelBuilder.h"
#include "shell/core/DiscSideRebuild.h"
#include "shell/core/ProjectDocument.h"

namespace importeddisc {

using disctest::seconds;

struct Cut {
    double start = 0;
    double stop = 0;  // 0: to the end
};

class ImportedDiscTest : public discproject::DiscProjectTest {
protected:
    // Each cut of `path` as a title of one page, imported through the title
    // list's own import, then the project saved and reopened; answers the
    // reopened clips in title order.
    QList<std::shared_ptr<MediaData>> importSaveReopen(
        const QString& path, const QList<Cut>& cuts,
        const std::function<void(MediaData&)>& edit = {})
    {
        auto media = std::make_shared<DataResource>();
        ListSelection selection;
        const auto page = ListMediaFactory::addMenuPageToArray(*media, selection);
        for (const Cut& cut : cuts) {
            const auto clip = ListMediaFactory::createMediaDataWithPath(*media, path);
            if (!clip || !clip->vcmovie()) {
                ADD_FAILURE() << "not imported: " << qPrintable(path);
                return {};
            }
            // A cut, as the title list's trim leaves it: the clip's section.
            clip->sectionItem()->setStartTimeInMedia(seconds(cut.start));
            if (cut.stop > 0) {
                clip->sectionItem()->setEndTimeInMedia(seconds(cut.stop));
            }
            if (edit) {
                edit(*clip);
            }
            ListMediaFactory::appendTitleToPage(ListMediaFactory::createDVDTitleDataWithMedia(clip),
                                                page);
        }
        const QString folder = folders.root() + "/Imported Project";
        QString error;
        if (!ProjectDocument::saveDocumentAtPath({media, services->disc}, folder, &error)) {
            ADD_FAILURE() << "not saved: " << qPrintable(error);
            return {};
        }
        const auto roots = ProjectDocument::loadDocumentAtPath(folder, &error);
        if (!roots || !roots->media || !roots->disc) {
            ADD_FAILURE() << "not reopened: " << qPrintable(error);
            return {};
        }
        reopened = *roots;
        services->disc = roots->disc;
        QList<std::shared_ptr<MediaData>> clips;
        for (const auto& title : roots->media->dvdPageArray().value(0)->titleDataArray()) {
            clips << title->mediaDataArray().value(0);
        }
        return clips;
    }

    // The disc of the reopened project, produced the way the program
    // produces it (titles cut into pieces of `minimumPieceLength` seconds
    // or more, when given); answers its DVD folder.
    QString produce(double minimumPieceLength = 0.0, int* titlesInPieces = nullptr)
    {
        DiscSideRebuild(reopened.media, reopened.disc).flushDVDResourceBeforeEdit();
        const auto library = discModel();
        const QString work = folders.root() + "/work";
        if (!library || !QDir().mkpath(work) ||
            !testsupport::produceDisc(library, work, minimumPieceLength, titlesInPieces)) {
            ADD_FAILURE() << "no disc";
            return {};
        }
        return work + "/dvd.dvdmedia";
    }

    // Title `number`'s pictures as read from the disc.
    QList<QImage> titlePictures(const QString& disc, int number)
    {
        const QString vob = folders.root() + QString("/title%1.vob").arg(number);
        if (!discreadback::extractTitle(disc, number, vob)) {
            ADD_FAILURE() << "title " << number << " not read";
            return {};
        }
        titleStreams << vob;
        return testsupport::greyFrames(vob, vob + ".grey");
    }

    ProjectRoots reopened;
    QStringList titleStreams;
};

}  // namespace importeddisc
