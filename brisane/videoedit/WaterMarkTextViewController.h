#pragma once
// The popover of the video edit sheet's text watermark: a list of every
// font, a list of sizes ("15" to "200") and a colour well. A choice goes
// straight into the clip's media item and the sheet measures and redraws the
// text. It is a transient popup window: a press outside or Escape closes it.
// The colour well and the "Fonts…" button bring up the sheet's shared colour
// and font panels. Main thread.

#include <QColor>
#include <QStringList>
#include <QWidget>

#include "media/VCMovie.h"

class QComboBox;
class QToolButton;
class VideoEditWatermarkTab;

class WaterMarkTextViewController : public QWidget {
    Q_OBJECT
public:
    // The sizes offered, and the one selected at first.
    static const QStringList& sizeTitles();
    static QString defaultSizeTitle() { return QStringLiteral("30"); }

    // A popup window of the tab, which outlives it.
    explicit WaterMarkTextViewController(VideoEditWatermarkTab& owner);

    // The media item being edited; null while the sheet is closed.
    VCMovie::Ptr currentMovie() const;
    // Selects the item's font name and size and shows its colour; signals
    // blocked, so nothing is written back.
    void updateTextMediaAttributes();
    // The font of the selected name at the selected size becomes the item's
    // text font.
    void fontSelectAction();
    void sizeSelectAction();
    // The colour becomes the item's text colour.
    void colorChangedAction(const QColor& colour);
    // Shows the popup beside the right-hand side of `anchor`.
    void showRelativeTo(QWidget* anchor);

    QComboBox* fontButton() const { return m_fontButton; }
    QComboBox* sizeButton() const { return m_sizeButton; }
    QToolButton* textColorWell() const { return m_textColorWell; }
    QToolButton* fontsButton() const { return m_fontsButton; }
    QColor wellColor() const { return m_wellColor; }

private:
    void setWellColor(const QColor& colour);
    QFont selectedFont() const;

    VideoEditWatermarkTab& m_owner;
    QComboBox* m_fontButton = nullptr;
    QComboBox* m_sizeButton = nullptr;
    QToolButton* m_textColorWell = nullptr;
    QToolButton* m_fontsButton = nullptr;
    QColor m_wellColor = Qt::white;
};
