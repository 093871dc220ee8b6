#include "videoedit/EditSheet.h"

#include <QAction>
#include <QDialog>
#include <QToolButton>

#include "media/MoviePlayer.h"

void EditSheet::setDarkPalette(QWidget& sheet)
{
    QPalette dark = sheet.palette();
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    sheet.setPalette(dark);
}

QToolButton* EditSheet::makePlayPauseButton(QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setIconSize(QSize(24, 24));
    return button;
}

QToolButton* EditSheet::makeTextButton(const QString& text, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

QAction* EditSheet::addDeleteAction(QDialog& sheet)
{
    auto* action = new QAction(QDialog::tr("Delete"), &sheet);
    action->setShortcut(QKeySequence::Delete);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setEnabled(false);
    sheet.addAction(action);
    return action;
}

void EditSheet::showOnMainWindow(QDialog& sheet, QWidget* mainWindow)
{
    if (mainWindow && mainWindow != sheet.parentWidget()) {
        sheet.setParent(mainWindow, sheet.windowFlags());
    }
    sheet.setWindowModality(Qt::WindowModal);
    sheet.open();
}

void EditSheet::playOrPause(MoviePlayer& player)
{
    if (player.isPlay()) {
        player.pause();
    } else {
        player.play();
    }
}
