#pragma once
// The parts the video edit sheet and the chapter editor set up alike: the
// dark palette, the play button, the Delete action, opening as a sheet on the
// main window, and the play/pause toggle. Each sheet keeps its own widgets
// and connections; these only build and drive them.

class MoviePlayer;
class QAction;
class QDialog;
class QString;
class QToolButton;
class QWidget;

class EditSheet {
public:
    // Light text on the sheet's dark background.
    static void setDarkPalette(QWidget& sheet);
    // The play/pause button: flat, a 24 point icon.
    static QToolButton* makePlayPauseButton(QWidget* parent);
    // A button showing only its text.
    static QToolButton* makeTextButton(const QString& text, QWidget* parent);
    // A Delete action on the whole window, disabled until there is
    // something to delete; added to `sheet`, which owns it.
    static QAction* addDeleteAction(QDialog& sheet);
    // Opens `sheet` window modal over `mainWindow` (when there is one).
    static void showOnMainWindow(QDialog& sheet, QWidget* mainWindow);
    // Pauses a playing player and plays a paused one.
    static void playOrPause(MoviePlayer& player);
};
