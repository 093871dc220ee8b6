#pragma once
// Shared by the chapter editor tests: the project services of the model
// tests, the recording main window and alerts, the real title list
// installed as the main window's list editor, the chapter sheet, and a
// generated source cut into sections whose clips are filed into titles of
// the list's page. describe() writes the list and the source's sections as
// one line, so that a test can compare the whole outcome of an apply.

#include <gtest/gtest.h>
#include <QApplication>
#include <QMap>
#include <QStringList>

#include "../model/DataResourceTestFixture.h"
#include "RecordingControllers.h"
#include "RecordingServices.h"
#include "listedit/ListEditViewController.h"
#include "listedit/ListTableView.h"
#include "listedit/core/ListMediaFactory.h"
#include "model/DVDPageData.h"
#include "model/DVDTitleData.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/SectionDataResource.h"
#include "videoedit/ClipEditWindowController.h"

namespace chaptertest {

inline LMMediaTime sec(double s)
{
    return static_cast<LMMediaTime>(s * static_cast<double>(lm_default_time_base()));
}

// Lets queued announcements and list reloads arrive.
inline void settle()
{
    for (int i = 0; i < 4; ++i) {
        QApplication::processEvents();
    }
}

class ChapterEditorTest : public mediatest::OpenProjectTest {
protected:
    void SetUp() override
    {
        OpenProjectTest::SetUp();
        installed.mainController->setOpenProject(services);
        window.resize(900, 600);
        auto list = std::make_unique<ListEditViewController>(&window, installed.mainController);
        listEditor = list.get();
        list->view()->setGeometry(window.rect());
        installed.mainController->setListEditController(std::move(list));
        sheet = std::make_unique<ClipEditWindowController>(nullptr, installed.mainController,
                                                           listEditor);
    }
    void TearDown() override
    {
        sheet.reset();
        installed.mainController->setListEditController(nullptr);
        OpenProjectTest::TearDown();
    }

    std::shared_ptr<DataResource> project() const { return services->media; }

    // A generated source of `length` seconds registered with the project,
    // without sections.
    std::shared_ptr<SectionDataResource> makeSource(double length)
    {
        const auto source = SectionDataResource::resourceWithPath(clip("source.mp4", length));
        project()->addSectionDataResourceToArray(source);
        return source;
    }

    // A clip named `name` over [from, to) of the source, its section
    // appended to the source.
    MediaData::Ptr cut(const std::shared_ptr<SectionDataResource>& source, const QString& name,
                       double from, double to)
    {
        const auto section = source->createMediaSectionItem();
        EXPECT_TRUE(section);
        if (!section) {
            return nullptr;
        }
        section->setStartTimeInMedia(sec(from));
        section->setEndTimeInMedia(sec(to));
        source->mediaSectionArray().append(section);
        auto made = section->createMediaData();
        EXPECT_TRUE(made);
        if (made) {
            made->setName(name);
            named.insert(made.get(), name);
        }
        return made;
    }

    // A new title of the list's page holding the clips.
    std::shared_ptr<DVDTitleData> title(const MediaData::ClipList& clips)
    {
        const auto made = ListMediaFactory::createDVDTitleDataWithMedia(clips.value(0));
        for (qsizetype i = 1; i < clips.size(); ++i) {
            made->mediaDataArray().append(clips[i]);
            clips[i]->flushSuperTitleData(made);
        }
        ListMediaFactory::appendTitleToPage(made, listEditor->currentDVDPage());
        return made;
    }

    // A merged clip named `name` of the members.
    MediaData::Ptr merged(const QString& name, const MediaData::ClipList& members)
    {
        auto group = std::make_shared<MediaData>();
        group->setName(name);
        named.insert(group.get(), name);
        group->setHasSubMedia(true);
        for (const auto& member : members) {
            member->flushSuperMediaData(group);
            group->subMediaArray().append(member);
        }
        return group;
    }

    void showList()
    {
        listEditor->reloadView();
        settle();
        installed.mainController->calls.clear();
    }

    // "name[from-to]" of a clip (a new clip is "*"), with its members.
    QString describe(const MediaData::Ptr& clip) const
    {
        QString text = named.value(clip.get(), QStringLiteral("*"));
        if (const auto section = clip->sectionItem(); section && !clip->hasSubMedia()) {
            text += QStringLiteral("[%1-%2]")
                        .arg(lm_ff_time_to_double(section->startTimeInMedia()))
                        .arg(lm_ff_time_to_double(section->endTimeInMedia()));
        }
        if (clip->hasSubMedia()) {
            QStringList members;
            for (const auto& member : clip->subMediaArray()) {
                members << describe(member);
            }
            text += QStringLiteral("{%1}").arg(members.join(QLatin1Char(' ')));
        }
        return text;
    }

    // The page's titles, then the source's sections:
    // "(A[0-2] B[2-4]) (C[4-6]) | 0-2 2-4 4-6".
    QString describe(const SectionDataResource& source) const
    {
        QStringList titles;
        for (const auto& t : listEditor->currentDVDPage()->titleDataArray()) {
            QStringList clips;
            for (const auto& c : t->mediaDataArray()) {
                clips << describe(c);
            }
            titles << QStringLiteral("(%1)").arg(clips.join(QLatin1Char(' ')));
        }
        QStringList sections;
        for (const auto& s : source.mediaSectionArray()) {
            sections << QStringLiteral("%1-%2")
                            .arg(lm_ff_time_to_double(s->startTimeInMedia()))
                            .arg(lm_ff_time_to_double(s->endTimeInMedia()));
        }
        return titles.join(QLatin1Char(' ')) + QStringLiteral(" | ") +
               sections.join(QLatin1Char(' '));
    }

    // Whether the list's rows, as last laid out, stand for the page's
    // entries in tree order, each clip with a row of its own: the last
    // reload came after the last change.
    bool listShowsTheModel() const
    {
        using Kind = ListTableLayout::RowKind;
        const auto page = listEditor->currentDVDPage();
        QList<Kind> entries{Kind::Page};
        bool rowsMade = true;
        for (const auto& t : page->titleDataArray()) {
            entries << Kind::Title;
            for (const auto& c : t->mediaDataArray()) {
                entries << Kind::Clip;
                rowsMade = rowsMade && c->mediaDataView();
                for (const auto& member : c->subMediaArray()) {
                    entries << Kind::SubClip;
                    rowsMade = rowsMade && member->mediaDataView();
                }
            }
        }
        QList<Kind> rows;
        for (const auto& row : listEditor->listTableView()->laidOutRows()) {
            rows << row.kind;
        }
        return rowsMade && rows == entries;
    }

    QStringList& mainCalls() { return installed.mainController->calls; }

    testsupport::InstalledControllers installed;
    testsupport::InstalledServices services_;
    QWidget window;
    ListEditViewController* listEditor = nullptr;
    std::unique_ptr<ClipEditWindowController> sheet;
    QMap<const MediaData*, QString> named;
};

}  // namespace chaptertest
