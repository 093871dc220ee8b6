// The item dialogs opened from the menu editor's item bar, as the user opens
// them: the edit button runs the dialog modally; a timer grabs the open
// dialog and closes it. The pictures are written as "title-dialog.png",
// "static-text-window.png" and "button-dialog.png" when
// BRISANE_TEST_ARTIFACTS names a folder.

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "DialogTestFixture.h"
#include "dialogs/TextStringField.h"

namespace {

using dialogtest::DialogTest;

class DialogScreenshotTest : public DialogTest {
protected:
    // Presses the item bar's edit button for `edited`; grabs the modal window
    // that opens, then closes it. Answers the picture (null when no window
    // opened).
    QImage openFromItemBar(const std::shared_ptr<DVDPageItem>& edited)
    {
        select({edited});
        menutest::processEvents();
        QImage shot;
        QTimer poll;
        poll.setInterval(20);
        int waited = 0;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal && ++waited < 200) {
                return;
            }
            poll.stop();
            if (modal) {
                QTest::qWait(50);
                shot = modal->grab().toImage();
                modal->close();
            }
        });
        poll.start();
        QTest::mouseClick(bar().controlEditBtn(), Qt::LeftButton);
        poll.stop();
        return shot;
    }
};

TEST_F(DialogScreenshotTest, EachItemDialogOpensFromTheItemBar)
{
    auto title = item(1, QRectF(60, 250, 200, 150));
    title->setTitleUseType(1);
    auto text = textItem(QRectF(320, 380, 240, 60), "Welcome");
    text->setHasShadow(true);
    auto play = item(11, QRectF(700, 40, 80, 40));
    openPage({title, text, play});

    const QImage titleShot = openFromItemBar(title);
    ASSERT_FALSE(titleShot.isNull());
    testsupport::writeArtifact(titleShot, "title-dialog.png");
    EXPECT_EQ(main().count("setDocumentEdited:YES"), 1);

    const QImage textShot = openFromItemBar(text);
    ASSERT_FALSE(textShot.isNull());
    testsupport::writeArtifact(textShot, "static-text-window.png");
    EXPECT_EQ(titleDialog().textStylePanel().textStringField()->text(), "Welcome");

    const QImage buttonShot = openFromItemBar(play);
    ASSERT_FALSE(buttonShot.isNull());
    testsupport::writeArtifact(buttonShot, "button-dialog.png");
    EXPECT_EQ(play->textSource()->textString(), "Play");
    EXPECT_EQ(main().count("setDocumentEdited:YES"), 3);
}

}  // namespace
