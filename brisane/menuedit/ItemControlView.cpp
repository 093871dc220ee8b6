#include "menuedit/ItemControlView.h"

#include <QDebug>
#include <QDialog>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>

#include "common/widgets/CommonFunctionThreads.h"
#include "menuedit/MenuEditCanvasView.h"
#include "menuedit/MenuEditViewController.h"
#include "menuedit/core/ItemControlLayout.h"
#include "model/DVDPage.h"
#include "model/DVDPageItem.h"
#include "shell/core/IButtonEditWindowController.h"
#include "shell/core/IDocumentHost.h"
#include "shell/core/ITitleTextEditWindowController.h"

namespace {

bool isTitleType(qint64 type)
{
    return type == 1 || type == 4;
}

bool isButtonType(qint64 type)
{
    return type == 11 || type == 12 || type == 13;
}

}  // namespace

ItemControlView::ItemControlView(MenuEditViewController* controller, QWidget* parent)
    : QWidget(parent),
      controller_(controller),
      controlEditBtn_(new QPushButton(this)),
      controlMenuBtn_(new QPushButton(tr("Go to Sub-menu"), this))
{
    controlEditBtn_->setObjectName(QStringLiteral("controlEditBtn"));
    controlMenuBtn_->setObjectName(QStringLiteral("controlMenuBtn"));
    controlEditBtn_->setText(controlEditTitle());
    keys_.observeKey(QStringLiteral("controlEditTitle"), controlEditBtn_,
                     [this] { controlEditBtn_->setText(controlEditTitle()); });
    connect(controlEditBtn_, &QPushButton::clicked, this, [this] { editButtonAction(); });
    connect(controlMenuBtn_, &QPushButton::clicked, this, [this] { gotoSubmenuAction(); });
    flushButtonFrameInView();
}

std::shared_ptr<DVDPageItem> ItemControlView::currentItem() const
{
    return controller_ ? controller_->currentItem() : nullptr;
}

std::shared_ptr<DVDPage> ItemControlView::currentPage() const
{
    return controller_ ? controller_->currentMenu() : nullptr;
}

QString ItemControlView::controlEditTitle() const
{
    const auto item = currentItem();
    return ItemControlLayout::controlEditTitle(item ? item->type() : 0);
}

bool ItemControlView::controlGotoSubMenuEnable() const
{
    return ItemControlLayout::controlGotoSubMenuEnable(currentItem().get());
}

void ItemControlView::flushControlViewButtonEnable()
{
    CommonFunctionThreads::flushObject(&keys_, QStringLiteral("controlEditTitle"));
    CommonFunctionThreads::flushObject(&keys_, QStringLiteral("controlGotoSubMenuEnable"));
    flushButtonFrameInView();
}

void ItemControlView::flushButtonFrameInView()
{
    controlMenuBtn_->setVisible(controlGotoSubMenuEnable());
    layoutButtons();
    update();
}

void ItemControlView::layoutButtons()
{
    const bool offered = controlGotoSubMenuEnable();
    const QSizeF units = ItemControlLayout::barSize(offered);
    const double sx = width() > 0 ? width() / units.width() : 1.0;
    const double sy = height() > 0 ? height() / units.height() : 1.0;
    // Bar units are y up; the buttons are centred vertically, so only x and
    // the sizes need scaling.
    auto place = [sx, sy, units](const QRectF& frame) {
        const double top = units.height() - frame.y() - frame.height();
        return QRectF(frame.x() * sx, top * sy, frame.width() * sx, frame.height() * sy)
            .toAlignedRect();
    };
    controlEditBtn_->setGeometry(place(ItemControlLayout::editButtonFrame(offered)));
    controlMenuBtn_->setGeometry(place(ItemControlLayout::gotoButtonFrame()));
}

void ItemControlView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutButtons();
}

void ItemControlView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.fillPath(path, QColor::fromRgbF(0.08f, 0.08f, 0.08f, 0.85f));
    painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, 0.35f), 1));
    painter.drawPath(path);
}

void ItemControlView::editButtonAction()
{
    const auto item = currentItem();
    if (!item || !controller_) {
        return;
    }
    const qint64 type = item->type();
    if (isTitleType(type)) {
        ITitleTextEditWindowController* dialog = controller_->titleTextEditController();
        if (!dialog) {
            return;
        }
        dialog->updateWndSettingWhenEditTitleMedia();
        resetWndFrame();
        runModal(dialog->window());
    } else if (type == 2) {
        ITitleTextEditWindowController* dialog = controller_->titleTextEditController();
        if (!dialog) {
            return;
        }
        resetStaticTextWndFrame();
        dialog->showStaticTextEditWindow();
    } else if (isButtonType(type)) {
        IButtonEditWindowController* dialog = controller_->buttonEditController();
        if (!dialog) {
            return;
        }
        dialog->updateButtonAttributes();
        resetWndFrame();
        runModal(dialog->window());
    }
}

void ItemControlView::gotoSubmenuAction()
{
    const auto item = currentItem();
    if (!item || !controller_) {
        return;
    }
    controller_->updateMenuPage(item->subPage());
    flushControlViewButtonEnable();
}

void ItemControlView::resetWndFrame()
{
    const auto item = currentItem();
    if (!item || !controller_) {
        return;
    }
    QWidget* window = nullptr;
    if (isButtonType(item->type())) {
        if (IButtonEditWindowController* dialog = controller_->buttonEditController()) {
            window = dialog->window();
        }
    } else if (ITitleTextEditWindowController* dialog = controller_->titleTextEditController()) {
        window = dialog->window();
    }
    placeWindowBesideItem(window);
}

void ItemControlView::resetStaticTextWndFrame()
{
    if (!controller_) {
        return;
    }
    if (ITitleTextEditWindowController* dialog = controller_->titleTextEditController()) {
        placeWindowBesideItem(dialog->staticTextEditWindow());
    }
}

void ItemControlView::placeWindowBesideItem(QWidget* window)
{
    const auto item = currentItem();
    MenuEditCanvasView* canvas = controller_ ? controller_->canvasView() : nullptr;
    if (!window || !item || !canvas) {
        return;
    }
    const QRectF onCanvas = canvas->viewRectFromCanvas(item->frame());
    const QPointF topLeftOnScreen = canvas->mapToGlobal(onCanvas.topLeft());
    const double itemRight = topLeftOnScreen.x() + onCanvas.width();

    // Dialogs open on the main window's screen.
    QWidget* mainWindow = nullptr;
    if (IDocumentHost* main = controller_ ? controller_->documentHost() : nullptr) {
        mainWindow = main->window();
    }
    QScreen* screen = (mainWindow ? mainWindow : canvas->window())->screen();
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    if (!screen) {
        return;
    }
    const QRect area = screen->geometry();
    const QRect frame = window->frameGeometry();
    const float x = ItemControlLayout::dialogX(itemRight, area.x() + area.width(), frame.width());
    window->move(qRound(x), frame.y());
}

void ItemControlView::runModal(QWidget* window)
{
    if (auto* dialog = qobject_cast<QDialog*>(window)) {
        dialog->exec();
    }
}
