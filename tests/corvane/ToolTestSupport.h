#pragma once
// Shared by the tool-run tests: menu pages and elements with real frames,
// fake tools that record what they receive, and small file helpers.

#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <memory>

#include "corvane/DVDMenuElement.h"
#include "corvane/DVDMenuPage.h"

namespace tooltest {

class ToolElement : public DVDMenuElement {
public:
    double rotation() const override { return 0; }
    int level() const override { return 0; }
    bool isValid() const override { return valid; }
    bool highlightModeEmptyInDVD() const override { return video; }
    bool isStaticItem() const override { return !jump(); }
    bool isTextItem() const override { return false; }
    bool isButtonItem() const override { return false; }
    QRectF frame() const override { return rect; }
    QImage imageAtTime(qint64) override { return {}; }
    ObjectPtr jump() const override { return target.lock(); }
    std::optional<Shadow> shadow() const override { return std::nullopt; }
    double roundValue() const override { return 0; }
    bool setJump(const ObjectPtr& object) override
    {
        target = object;
        return true;
    }

    QRectF rect;
    bool valid = true;
    bool video = false;
    std::weak_ptr<Object> target;
};

class ToolPage : public DVDMenuPage {
public:
    std::shared_ptr<DVDMenuElement> parent() const override { return nullptr; }
    double duration() const override { return 1; }
    qint64 aspectType() const override { return aspect; }
    QSizeF menuSize() const override { return aspect ? QSizeF(854, 480) : QSizeF(640, 480); }
    QImage imageAtTime(qint64) override { return {}; }
    QList<std::shared_ptr<DVDMenuElement>> items() const override { return elements; }

    qint64 aspect = 1;
    QList<std::shared_ptr<DVDMenuElement>> elements;
};

// An element at `rect` leading to `target` (none when null).
std::shared_ptr<ToolElement> element(const QRectF& rect, const ObjectPtr& target = nullptr,
                                     bool video = false);
std::shared_ptr<ToolPage> page(const QList<std::shared_ptr<ToolElement>>& elements,
                               qint64 aspect = 1);

// How a fake tool behaves after it has recorded what it received.
enum class Behaviour {
    Succeed,  // writes its output and exits 0
    Fail,     // writes part of its output and exits 3
    Crash,    // writes part of its output and kills itself with SIGSEGV
    Hang,     // writes part of its output, then sleeps until stopped
    Silent,   // writes nothing and exits 0
};

// A folder of fake tools, made the only place tools are looked for while it
// lives. Each fake records into record(tool): "args" (one per line), "cwd",
// "env" (the environment it was started with, one per line), "stdin", and
// "started" once it is done recording. dvdauthor copies "author.xml"; spumux
// copies its description and the three pictures.
class FakeTools {
public:
    explicit FakeTools(const QString& root);
    ~FakeTools();
    FakeTools(const FakeTools&) = delete;
    FakeTools& operator=(const FakeTools&) = delete;

    // Writes the fake `tool` ("dvdauthor", "spumux", "mkisofs" or
    // "genisoimage"); `bytes` is the size of the output it writes on success.
    void install(const QString& tool, Behaviour behaviour, int bytes = 100);
    QString folder() const { return m_folder; }
    QString record(const QString& tool) const;
    QStringList lines(const QString& tool, const QString& file) const;
    QByteArray bytes(const QString& tool, const QString& file) const;
    bool ran(const QString& tool) const;
    // Waits (up to 10 s) until the fake has done its recording.
    bool waitUntilStarted(const QString& tool) const;

private:
    QString m_folder;
    QString m_records;
};

QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& data);

}  // namespace tooltest
