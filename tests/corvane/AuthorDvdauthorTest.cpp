// The generated description run through the real dvdauthor with small
// MPEG-2 / AC-3 streams made here, and the result read back with libdvdread.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include "DVDLibraryTestFakes.h"
#include "DiscReadBack.h"
#include "TestSupport.h"

using namespace disctest;

namespace {

// A tool's run: exit code (-1 when it did not start or crashed) and its output.
struct ToolRun {
    int code = -1;
    QString output;
};

ToolRun runTool(const QString& tool, const QStringList& arguments, const QString& folder,
                const QString& input = {}, const QString& output = {})
{
    ToolRun run;
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        run.output = tool + " is not installed";
        return run;
    }
    QProcess process;
    QProcessEnvironment environment;
    environment.insert("VIDEO_FORMAT", "PAL");
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    if (!input.isEmpty()) {
        process.setStandardInputFile(input);
    }
    if (!output.isEmpty()) {
        process.setStandardOutputFile(output);
    }
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        run.output = QString::fromLocal8Bit(process.readAllStandardError());
        return run;
    }
    run.code = process.exitCode();
    run.output =
        QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError());
    return run;
}

// The button subpictures of one menu: one rectangle per button name.
bool addButtons(const QString& folder, int menu, const QStringList& names)
{
    QImage highlight(720, 576, QImage::Format_ARGB32);
    highlight.fill(Qt::transparent);
    QImage select = highlight;
    QImage image = highlight;
    QString buttons;
    for (int i = 0; i < names.size(); ++i) {
        const QRect r(40 + 110 * i, 400, 100, 60);
        QPainter(&highlight).fillRect(r, QColor(50, 50, 180));
        QPainter(&select).fillRect(r, QColor(255, 0, 0));
        buttons += QString("<button name=\"%1\" x0=\"%2\" y0=\"%3\" x1=\"%4\" y1=\"%5\" />\n")
                       .arg(names.at(i))
                       .arg(r.left())
                       .arg(r.top())
                       .arg(r.left() + r.width())
                       .arg(r.top() + r.height());
    }
    const QString prefix = folder + QString("/menu%1").arg(menu);
    if (!highlight.save(prefix + "_highlight.png") || !select.save(prefix + "_select.png") ||
        !image.save(prefix + "_image.png")) {
        ADD_FAILURE() << "cannot write the subpicture images";
        return false;
    }
    QFile xml(prefix + ".xml");
    if (!xml.open(QIODevice::WriteOnly)) {
        return false;
    }
    xml.write(
        QString("<subpictures><stream><spu start=\"00:00:00.00\" highlight=\"%1\" "
                "select=\"%2\" image=\"%3\" force=\"yes\" >\n%4</spu></stream></subpictures>")
            .arg(prefix + "_highlight.png", prefix + "_select.png", prefix + "_image.png", buttons)
            .toUtf8());
    xml.close();
    const ToolRun run = runTool("spumux", {prefix + ".xml"}, folder, prefix + "-temp.dvd",
                                folder + QString("/menu%1.dvd").arg(menu));
    EXPECT_EQ(run.code, 0) << qPrintable(run.output);
    return run.code == 0;
}

class AuthorDvdauthor : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path();
        ASSERT_TRUE(makeDvdStream(folder + "/title-source.dvd", 3.0));
        ASSERT_TRUE(makeDvdStream(folder + "/menu-source.dvd", 1.0));
    }

    void copyStream(const QString& source, const QString& name)
    {
        ASSERT_TRUE(QFile::copy(folder + "/" + source, folder + "/" + name)) << qPrintable(name);
    }

    // Writes author.xml and runs dvdauthor; answers its output folder.
    QString author(const DVDLibrary& library)
    {
        QFile xml(folder + "/author.xml");
        EXPECT_TRUE(xml.open(QIODevice::WriteOnly));
        xml.write(library.authorContent().toUtf8());
        xml.close();
        const ToolRun run =
            runTool("dvdauthor", {"-x", "author.xml", "-o", "dvd.dvdmedia"}, folder);
        EXPECT_EQ(run.code, 0) << qPrintable(run.output);
        EXPECT_FALSE(run.output.contains("ERR:")) << qPrintable(run.output);
        EXPECT_TRUE(QDir(folder + "/dvd.dvdmedia/VIDEO_TS").exists());
        return folder + "/dvd.dvdmedia";
    }

    QTemporaryDir dir = testsupport::makeTempDir();
    QString folder;
};

std::shared_ptr<FakeElement> linkedTo(const std::shared_ptr<FakeChapter>& chapter)
{
    auto e = element();
    e->setJumpObject(e);
    auto elements = chapter->titles();
    elements.append(e);
    chapter->setTitles(elements);
    return e;
}

TEST_F(AuthorDvdauthor, menusTitlesAndChapters)
{
    // Two pages with buttons (one element without a target), a title with two
    // chapters, one with three, a title resource, and the auto-play chain.
    auto c00 = chapter(1.5), c01 = chapter(1.5);
    auto c10 = chapter(1.0), c11 = chapter(1.0), c12 = chapter(1.0);
    auto R = std::make_shared<FakeResource>();
    auto P0 = page({linkedTo(c00), linkedTo(c11), staticElement(), element(R), element()});
    auto P1 = page({linkedTo(c12), element(P0)});
    P0->items().at(4)->setJump(P1);
    DVDLibrary library;
    applyFlags(library, "menuLoop,playTitleSequence,loopVideo,autoPlayVideos=2");
    library.setFormat(1);
    library.setAspectType(1);
    library.setMenus({P0, P1});
    library.setTitles({title({c00, c01}), title({c10, c11, c12}), R});

    copyStream("menu-source.dvd", "menu0-temp.dvd");
    copyStream("menu-source.dvd", "menu1-temp.dvd");
    ASSERT_TRUE(addButtons(folder, 0, {"b00", "b01", "b03", "b04"}));
    ASSERT_TRUE(addButtons(folder, 1, {"b10", "b11"}));
    for (int t = 0; t < 3; ++t) {
        copyStream("title-source.dvd", QString("title%1.dvd").arg(t));
    }

    const DiscLayout layout = readLayout(author(library));
    EXPECT_EQ(layout.titles, 3);
    EXPECT_EQ(layout.chapters, (QList<int>{2, 3, 1}));
    EXPECT_EQ(layout.menuChains, 3);  // the two pages and the root
}

TEST_F(AuthorDvdauthor, noMenuWithAWarningTitleFirst)
{
    DVDLibrary library;
    applyFlags(library, "noMenu,playFirstTitle");
    library.setFormat(1);
    library.setAspectType(1);
    library.setTitles(
        {title({chapter(1.0)}, true), title({chapter(1.0), chapter(1.5)}), title({})});
    for (int t = 0; t < 3; ++t) {
        copyStream("title-source.dvd", QString("title%1.dvd").arg(t));
    }

    const DiscLayout layout = readLayout(author(library));
    EXPECT_EQ(layout.titles, 3);
    EXPECT_EQ(layout.chapters, (QList<int>{1, 2, 1}));
    EXPECT_GE(layout.menuChains, 1);  // the root (dvdauthor may add its own)
}

}  // namespace
