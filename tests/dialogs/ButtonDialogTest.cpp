// The button dialog: button kinds by name, the tiles of a button's kind,
// user pictures (readable ones only), the default texts and the switch
// between picture and text.

#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTest>
#include <QUndoStack>

#include "DialogTestFixture.h"
#include "dialogs/ItemZoomSlider.h"
#include "dialogs/SingleButtonView.h"
#include "dialogs/TextStylePanel.h"
#include "model/CustomButtonImageResource.h"

namespace {

using dialogtest::DialogTest;

class NamedButton : public DVDLibraryButtonResource {
public:
    explicit NamedButton(QString name) : m_name(std::move(name)) {}
    QString name() const override { return m_name; }

private:
    QString m_name;
};

TEST(ButtonKinds, KindFollowsTheNameSuffix)
{
    const struct {
        const char* name;
        int kind;
    } cases[] = {{"01-pre", 1}, {"01-play", 2}, {"01-next", 3},   {"01-prev", 0},
                 {"play", 0},   {"", 0},        {"x-play-pre", 1}};
    for (const auto& c : cases) {
        const NamedButton button{QString::fromLatin1(c.name)};
        EXPECT_EQ(ButtonEditWindowController::buttonType(&button), c.kind) << c.name;
    }
    EXPECT_EQ(ButtonEditWindowController::buttonType(nullptr), 0);
    for (const auto& [type, kind] : {std::pair{1, 1}, {2, 2}, {0, 3}, {7, 3}}) {
        const auto custom = CustomButtonImageResource::createCustomButtonResourceWithPath("x");
        custom->setType(type);
        EXPECT_EQ(ButtonEditWindowController::buttonType(custom.get()), kind) << type;
    }
}

class ButtonDialogTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        dir = std::make_unique<QTemporaryDir>(testsupport::makeTempDir());
    }

    ButtonEditWindowController& open(const std::shared_ptr<DVDPageItem>& edited)
    {
        select({edited});
        buttonDialog().updateButtonAttributes();
        return buttonDialog();
    }

    QStringList tileNames()
    {
        QStringList names;
        for (SingleButtonView* tile :
             buttonDialog().buttonTabLeView()->findChildren<SingleButtonView*>(
                 Qt::FindDirectChildrenOnly)) {
            names << (tile->btnSource() ? tile->btnSource()->name() : QString());
        }
        return names;
    }

    std::shared_ptr<DVDLibraryButtonResource> libraryButton(const QString& suffix)
    {
        for (const auto& button : services->library->buttons()) {
            if (button->name().endsWith(suffix)) {
                return button;
            }
        }
        return nullptr;
    }

    QString picture(const QString& name, QColor colour)
    {
        const QString path = dir->path() + "/" + name;
        EXPECT_TRUE(disctest::solid(40, 20, colour).save(path));
        return path;
    }

    std::unique_ptr<QTemporaryDir> dir;
};

TEST_F(ButtonDialogTest, PreviousButtonListsPreviousTemplatesThenUserPictures)
{
    auto previous = item(12, QRectF(40, 40, 80, 40));
    previous->setButtonResource(libraryButton("-pre"));
    auto userPrevious =
        CustomButtonImageResource::createCustomButtonResourceWithPath(picture("mine.png", Qt::red));
    userPrevious->setType(1);
    auto userPlay = CustomButtonImageResource::createCustomButtonResourceWithPath(
        picture("play.png", Qt::green));
    userPlay->setType(2);
    disc().setCustomButtonImageResourceArray({userPlay, userPrevious});
    openPage({previous});

    open(previous);
    const QStringList names = tileNames();
    ASSERT_GE(names.size(), 2);
    for (qsizetype i = 0; i + 1 < names.size(); ++i) {
        EXPECT_TRUE(names[i].endsWith("-pre")) << qPrintable(names[i]);
    }
    EXPECT_EQ(names.last(), "12-pre") << "the user's picture comes last";
    int templates = 0;
    for (const auto& button : services->library->buttons()) {
        templates += button->name().endsWith("-pre") ? 1 : 0;
    }
    EXPECT_EQ(names.size(), templates + 1);
    EXPECT_TRUE(buttonDialog().isButtonType());
}

TEST_F(ButtonDialogTest, NewButtonGetsItsDefaultTextEvenShowingAPicture)
{
    const struct {
        qint64 type;
        const char* text;
    } cases[] = {{11, "Play"}, {12, "Previous"}, {13, "Next"}};
    for (const auto& c : cases) {
        auto button = item(c.type, QRectF(40, 40, 80, 40));
        openPage({button});
        open(button);
        ASSERT_TRUE(button->textSource()) << c.type;
        EXPECT_EQ(button->textSource()->textString(), c.text);
        EXPECT_DOUBLE_EQ(button->textSource()->textFont().pointSizeF(), 30.0);
        EXPECT_EQ(button->textSource()->backgroundType(), 0u);
        EXPECT_EQ(button->buttonUseType(), 0);
        EXPECT_EQ(buttonDialog().tabView()->currentIndex(), 0);
        EXPECT_EQ(buttonDialog().zoomSlider().zoomControlView()->parentWidget(),
                  buttonDialog().tempZoomContainerView());
    }
}

TEST_F(ButtonDialogTest, PictureToTextAndBackRestoresTheFrame)
{
    auto picture80x70 = std::make_shared<disctest::PictureButton>();
    picture80x70->picture = disctest::solid(80, 70, Qt::red);
    auto play = item(11, QRectF(300, 200, 80, 70));
    play->setButtonResource(picture80x70);
    openPage({play});
    ButtonEditWindowController& dialog = open(play);

    dialog.useImageOrTextAction(1);
    EXPECT_EQ(play->buttonUseType(), 1);
    EXPECT_TRUE(play->isTextItem());
    EXPECT_NEAR(play->frame().width(), play->textSource()->size().width(), 0.01);
    EXPECT_NEAR(play->frame().height(), play->textSource()->size().height(), 0.5);
    EXPECT_EQ(dialog.tabView()->currentIndex(), 1);
    EXPECT_TRUE(dialog.zoomSlider().zoomControlView()->isHidden());

    dialog.useImageOrTextAction(0);
    EXPECT_EQ(play->buttonUseType(), 0);
    EXPECT_EQ(play->frame(), QRectF(300, 200, 80, 70));
    EXPECT_EQ(dialog.zoomSlider().zoomControlView()->parentWidget(),
              dialog.tempZoomContainerView());

    // A zoom step is remembered as the picture frame.
    dialog.zoomSlider().slider()->setValue(1250);
    EXPECT_EQ(play->frame().size(), QSizeF(100, 87.5));
    EXPECT_EQ(play->titleOldFrame(), play->frame());
}

// Clicks on the dialog's radios, and the picture size they leave.
TEST_F(ButtonDialogTest, PictureSizeSurvivesTextRoundTripsClickedOnTheRadios)
{
    enum Step { Text, Picture, Bigger, Undo, ZoomStep };
    struct Case {
        const char* name;
        QList<Step> steps;
        QSizeF size;
    };
    const QList<Case> cases = {
        {"text then picture", {Text, Picture}, {80, 70}},
        {"text chosen twice", {Text, Text, Picture}, {80, 70}},
        {"undo of a text change after the switch back", {Text, Bigger, Picture, Undo}, {80, 70}},
        {"first zoom step after the switch back", {Text, Picture, ZoomStep}, {100, 87.5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto picture80x70 = std::make_shared<disctest::PictureButton>();
        picture80x70->picture = disctest::solid(80, 70, Qt::red);
        auto play = item(11, QRectF(300, 200, 80, 70));
        play->setButtonResource(picture80x70);
        openPage({play});
        ButtonEditWindowController& dialog = open(play);
        dialog.window()->show();
        dialog.undoStack().clear();
        for (Step step : c.steps) {
            switch (step) {
                case Text:
                    QTest::mouseClick(dialog.textRadio(), Qt::LeftButton);
                    EXPECT_EQ(play->buttonUseType(), 1);
                    break;
                case Picture:
                    QTest::mouseClick(dialog.pictureRadio(), Qt::LeftButton);
                    EXPECT_EQ(play->buttonUseType(), 0);
                    break;
                case Bigger:
                    dialog.textStylePanel().sizeSlider()->setValue(90);
                    break;
                case Undo:
                    ASSERT_GT(dialog.undoStack().count(), 0);
                    dialog.undoStack().undo();
                    break;
                case ZoomStep:
                    dialog.zoomSlider().slider()->setValue(1250);
                    break;
            }
        }
        EXPECT_NEAR(play->frame().width(), c.size.width(), 0.01);
        EXPECT_NEAR(play->frame().height(), c.size.height(), 0.01);
        dialog.window()->hide();
    }
}

TEST_F(ButtonDialogTest, AddedUserPicturesFollowTheTemplatesOfTheirKind)
{
    auto next = item(13, QRectF(700, 40, 80, 40));
    next->setButtonResource(libraryButton("-next"));
    openPage({next});
    ButtonEditWindowController& dialog = open(next);
    const qsizetype templates = tileNames().size();

    dialog.addLocalImageFromPath(picture("one.png", Qt::red));
    const auto first = next->buttonResource();
    dialog.addLocalImageFromPath(picture("two.png", Qt::blue));
    const auto second = next->buttonResource();
    ASSERT_NE(first, second);
    EXPECT_EQ(disc().customButtonImageResourceArray(), (DVDResource::ButtonList{first, second}));
    EXPECT_EQ(std::dynamic_pointer_cast<CustomButtonImageResource>(second)->type(), 3);

    const auto tiles =
        dialog.buttonTabLeView()->findChildren<SingleButtonView*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(tiles.size(), templates + 2);
    EXPECT_EQ(tiles[templates]->btnSource(), first);
    EXPECT_EQ(tiles[templates + 1]->btnSource(), second);
    int chosen = 0;
    for (SingleButtonView* tile : tiles) {
        chosen += tile->isChosen() ? 1 : 0;
    }
    EXPECT_EQ(chosen, 1);
    EXPECT_TRUE(tiles.last()->isChosen());

    // A file that does not decode is refused: nothing enters the project.
    const QString bad = dir->path() + "/broken.png";
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x89PNG but not really");
    file.close();
    dialog.addLocalImageFromPath(bad);
    EXPECT_EQ(next->buttonResource(), second);
    EXPECT_EQ(disc().customButtonImageResourceArray().size(), 2);
}

TEST_F(ButtonDialogTest, ClosingMarksTheDocumentEdited)
{
    auto play = item(11, QRectF(40, 40, 80, 40));
    openPage({play});
    ButtonEditWindowController& dialog = open(play);
    main().calls.clear();
    dialog.window()->show();
    dialog.window()->close();
    EXPECT_EQ(main().count("setDocumentEdited:YES"), 1);
}

}  // namespace
