#pragma once
// Small pages, elements, titles, chapters and title resources for the disc
// model tests, plus a named fixture disc. Archivable, so a library holding
// them round-trips.

#include <QHash>
#include <QList>
#include <QSizeF>
#include <QString>
#include <memory>

#include "corvane/DVDChapterVideo.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuElement.h"
#include "corvane/DVDMenuPage.h"
#include "corvane/DVDTitleResource.h"
#include "corvane/DVDTitleVideo.h"

namespace disctest {

class FakeElement : public DVDMenuElement {
public:
    double rotation() const override { return 0; }
    int level() const override { return 0; }
    bool isValid() const override { return true; }
    bool highlightModeEmptyInDVD() const override { return false; }
    bool isStaticItem() const override { return m_static; }
    bool isTextItem() const override { return false; }
    bool isButtonItem() const override { return !m_role.isEmpty(); }
    QRectF frame() const override { return {}; }
    QImage imageAtTime(qint64) override { return {}; }
    ObjectPtr jump() const override { return m_jump.lock(); }
    std::optional<Shadow> shadow() const override { return std::nullopt; }
    double roundValue() const override { return 0; }
    bool setJump(const ObjectPtr& target) override;

    void setJumpObject(const ObjectPtr& target) { m_jump = target; }
    bool staticItem() const { return m_static; }
    void setStaticItem(bool on) { m_static = on; }
    // "play", "pre" or "next" for a button; empty for any other element.
    QString role() const { return m_role; }
    void setRole(const QString& role) { m_role = role; }

    static const PropertyTable& properties();
    const PropertyTable& propertyTable() const override { return properties(); }
    QStringList allCoderKeys() const override { return {"jump", "static", "role"}; }

private:
    std::weak_ptr<Object> m_jump;
    bool m_static = false;
    QString m_role;
};

class FakePage : public DVDMenuPage {
public:
    std::shared_ptr<DVDMenuElement> parent() const override { return m_parent.lock(); }
    double duration() const override { return 0; }
    qint64 aspectType() const override { return m_aspectType; }
    QSizeF menuSize() const override { return DVDLibrary::menuSizeForMenu(nullptr); }
    QImage imageAtTime(qint64) override { return {}; }
    QList<std::shared_ptr<DVDMenuElement>> items() const override { return m_items; }

    void setParent(const std::shared_ptr<DVDMenuElement>& parent) { m_parent = parent; }
    void setAspectType(qint64 type) { m_aspectType = type; }
    void setItems(const QList<std::shared_ptr<DVDMenuElement>>& items) { m_items = items; }

    static const PropertyTable& properties();
    const PropertyTable& propertyTable() const override { return properties(); }
    QStringList allCoderKeys() const override { return {"items", "parent", "aspectType"}; }

private:
    std::weak_ptr<DVDMenuElement> m_parent;
    qint64 m_aspectType = 0;
    QList<std::shared_ptr<DVDMenuElement>> m_items;
};

class FakeChapter : public DVDChapterVideo {
public:
    QList<std::shared_ptr<DVDMenuElement>> titles() const override { return m_titles; }
    double duration() const override { return m_duration; }

    void setTitles(const QList<std::shared_ptr<DVDMenuElement>>& titles) { m_titles = titles; }
    void setDuration(double seconds) { m_duration = seconds; }

    static const PropertyTable& properties();
    const PropertyTable& propertyTable() const override { return properties(); }
    QStringList allCoderKeys() const override { return {"titles", "duration"}; }

private:
    QList<std::shared_ptr<DVDMenuElement>> m_titles;
    double m_duration = 0;
};

class FakeTitle : public DVDTitleVideo {
public:
    bool isWarningVideo() const override { return m_warning; }
    QList<std::shared_ptr<DVDChapterVideo>> chapters() const override { return m_chapters; }
    double duration() const override;

    void setWarningVideo(bool on) { m_warning = on; }
    void setChapters(const QList<std::shared_ptr<DVDChapterVideo>>& c) { m_chapters = c; }

    static const PropertyTable& properties();
    const PropertyTable& propertyTable() const override { return properties(); }
    QStringList allCoderKeys() const override { return {"chapters", "warning"}; }

private:
    bool m_warning = false;
    QList<std::shared_ptr<DVDChapterVideo>> m_chapters;
};

class FakeResource : public DVDTitleResource {
public:
    QList<ObjectPtr> vcmovies() const override { return {}; }
    bool useVideoFrame() const override { return true; }
    void item(DVDMenuElement&, qint64, QPainter&) override {}
    void setExportMovie(bool) override {}
    void setCurrentTime(qint64) override {}
    void flushOperation() override {}
    void setVideoSize(QSizeF size) override { videoSize = size; }

    QSizeF videoSize;
};

// Anything that is neither page, element, title nor chapter.
class Stranger : public Object {};

// Builders.
std::shared_ptr<FakeElement> element(const ObjectPtr& jump = nullptr);
std::shared_ptr<FakeElement> button(const QString& role);
std::shared_ptr<FakeElement> staticElement();
std::shared_ptr<FakePage> page(const QList<std::shared_ptr<FakeElement>>& items,
                               const std::shared_ptr<FakeElement>& parent = nullptr);
std::shared_ptr<FakeChapter> chapter(double seconds,
                                     const QList<std::shared_ptr<FakeElement>>& elements = {});
std::shared_ptr<FakeTitle> title(const QList<std::shared_ptr<FakeChapter>>& chapters,
                                 bool warning = false);

// Installs hooks that copy FakePages and find FakeElement buttons by role,
// and removes them again when it goes out of scope.
class FakeTemplateHooks {
public:
    FakeTemplateHooks();
    ~FakeTemplateHooks();
};

// Sets the flags named in a comma-separated list ("noMenu,menuLoop") and
// "autoPlayVideos=N".
void applyFlags(DVDLibrary& library, const QString& flags);

// A disc whose objects are known by name:
//   titles  T0 (chapters c00 1.5 s, c01 1.5 s), T1 (c10 1 s), R2 (title
//           resource), T3 (no chapters); W (warning title, chapter w0) when
//           asked for, at the position asked for
//   menus   P0 (top level): e0a -> itself, linked to c00; e0b -> S0; e0c static;
//                           e0d -> R2; e0e -> X (a page not on the disc)
//           P1 (top level): e1a -> itself, linked to no chapter; e1b -> T1
//           S0, S1 (sub pages of e0b): s0a -> c10 through itself; s1a -> P0
//   others  X (page not in menus), Q (title resource not on the disc),
//           Z (stranger), E (empty page, not in menus)
struct Disc {
    explicit Disc(qsizetype warningPosition = -1);
    ObjectPtr operator[](const QString& name) const;

    std::shared_ptr<DVDLibrary> library = std::make_shared<DVDLibrary>();
    QHash<QString, ObjectPtr> objects;
};

}  // namespace disctest
