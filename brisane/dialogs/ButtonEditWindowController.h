#pragma once
// The button dialog: edits a navigation button of a menu page, the play
// button (type 11), the previous-page button (12) or the next-page button
// (13). A button shows a picture, chosen from the store's button templates of
// its kind or from pictures of that kind the user added to the project, or
// styled text edited with the text style panel. Picture buttons also get the
// zoom slider.
//
// The kind of a picture is read from its name: "-pre" previous (1), "-play"
// play (2), "-next" next (3), anything else 0 (the tiles then list every
// template and the user pictures of kind 0).
//
// Every control writes into the item at once; the text change is undoable
// like the other text attributes. Closing the window marks the document
// edited. The edited item is the menu editor's current item, read at each
// call. Built for the life of the menu editor. Main thread.

#include <QObject>
#include <QString>
#include <memory>

#include "dialogs/MenuEditorAccess.h"
#include "shell/core/IButtonEditWindowController.h"

class DVDLibraryButtonResource;
class DVDPageItem;
class ItemZoomSlider;
class QButtonGroup;
class QDialog;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QStackedWidget;
class QUndoStack;
class QWidget;
class TextStylePanel;

class ButtonEditWindowController : public QObject, public IButtonEditWindowController {
    Q_OBJECT
public:
    // A dialog of `editor` (which owns it and outlives it; may be null: no
    // item to edit), its window a child of `parent`.
    explicit ButtonEditWindowController(MenuEditViewController* editor, QWidget* parent = nullptr);
    ~ButtonEditWindowController() override;

    static QString nibName() { return QStringLiteral("ButtonEditWindowController"); }

    // The kind of a button picture by its name: 1 "-pre", 2 "-play",
    // 3 "-next", 0 otherwise (and for none).
    static int buttonType(const DVDLibraryButtonResource* resource);
    // The text a new button of that item type shows: "Play" for 11,
    // "Previous" for 12, "Next" otherwise.
    static QString defaultButtonText(qint64 type);

    // --- IButtonEditWindowController ---
    QWidget* window() override;
    void updateButtonAttributes() override;

    std::shared_ptr<DVDPageItem> currentMedia() const;

    // 0 picture, 1 text.
    int buttonUseType() const { return buttonUseType_; }
    bool isButtonType() const { return isButtonType_; }

    // Gives the current item a text of its own when it has none, in the
    // 30-point system font.
    void initDefaultButtonMediaTextSource();
    // Fills the tiles (after the caller cleared them): the templates of kind
    // `kind` (every template for 0), then the user pictures of that kind.
    void loadButtonVieWithType(int kind);
    void removeAllButtonViews();
    void layoutButtonView();
    void flushZoomControlViewSuperview();
    // The picture/text choice has set the use type (0 picture, 1 text).
    void useImageOrTextAction(int useType);
    void chooseButtonLocalImageAction();
    // The confirmed choice of the open panel: the picture becomes the
    // button's and joins the project's user pictures of its kind. A file that
    // does not read as a picture changes nothing.
    void addLocalImageFromPath(const QString& path);
    // Enables or disables every style control but the text field.
    void enableAllControls(bool on);
    void windowWillClose();

    // --- Parts ---
    TextStylePanel& textStylePanel() const { return *panel_; }
    ItemZoomSlider& zoomSlider() const { return *zoom_; }
    QUndoStack& undoStack() const { return *undoStack_; }
    QStackedWidget* tabView() const { return tabView_; }
    QRadioButton* pictureRadio() const { return pictureRadio_; }
    QRadioButton* textRadio() const { return textRadio_; }
    QWidget* buttonTabLeView() const { return buttonTabLeView_; }
    QWidget* tempZoomContainerView() const { return tempZoomContainerView_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadView(QWidget* parent);
    void awakeFromNib();
    void showUseType();

    MenuEditorAccess editor_;
    QUndoStack* undoStack_ = nullptr;
    TextStylePanel* panel_ = nullptr;
    ItemZoomSlider* zoom_ = nullptr;
    int buttonUseType_ = 0;
    bool isButtonType_ = false;

    QDialog* window_ = nullptr;
    QButtonGroup* useTypeGroup_ = nullptr;
    QRadioButton* pictureRadio_ = nullptr;
    QRadioButton* textRadio_ = nullptr;
    QStackedWidget* tabView_ = nullptr;
    QScrollArea* buttonScrollView_ = nullptr;
    QWidget* buttonTabLeView_ = nullptr;
    QPushButton* chooseLocalImageButton_ = nullptr;
    QWidget* tempZoomContainerView_ = nullptr;
};
