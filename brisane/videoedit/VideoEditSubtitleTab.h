#pragma once
// The video edit sheet's subtitle page: a subtitle file for the clip, the
// text encoding it is read in, and the font, size, colour and position the
// movie draws it with.
//
// The file pop-up lists "Load Subtitle" first, then every file chosen with
// it, in the order chosen (a file chosen twice is listed twice); the list
// lives as long as the page, across clips. A clip whose file is not listed
// (one a project brought along) shows it as an extra entry, under the name
// the file was chosen with. Choosing "Load Subtitle" opens a
// file chooser for "srt", "ass", "smi" and "sami" files as a sheet; choosing
// a listed file opens it (SubtitleFileOpener). When the clip ends up without
// subtitles, the reason shows beside the pop-up. A UTF-8 file with damaged
// bytes is shown all the same, and an alert sheet names its damaged lines.
//
// Choosing an encoding stores it on the clip's media item and opens the
// current file again in it. A font name or size is taken only when the
// system has such a font. The colour comes from the page's colour panel,
// and only while the subtitle page is the sheet's current page.
//
// Values are read from the open clip every time (nothing is cached), and the
// controls are bound by key to the sheet's announcements ("subtitlePath",
// "subtitleEncoding", "subtitleFont", "subtitleFontName", "subtitleFontSize",
// "subtitleColor", "subtitlePosition", "subtitlePaths"); refreshing them
// writes nothing back. Without an open clip every setter does nothing.
//
// Main thread only.

#include <QColor>
#include <QFileDialog>
#include <QFont>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class QColorDialog;
class QComboBox;
class QLabel;
class QSpinBox;
class QToolButton;
class SubtitleFontComboBox;
class VideoEditWindowController;

class VideoEditSubtitleTab : public QWidget {
    Q_OBJECT
public:
    // The pop-up's first entry, which opens the file chooser.
    static QString loadActionPath() { return QStringLiteral("load-action/Load Subtitle"); }
    static const QStringList& subtitleFileTypes();

    struct SubtitlePathEntry {
        QString object;  // the path, or loadActionPath()
        QString title;   // what the pop-up shows
    };

    // `sheet` owns the page's clip and announcements; it must outlive the page.
    VideoEditSubtitleTab(VideoEditWindowController* sheet, QWidget* parent);
    ~VideoEditSubtitleTab() override;

    // --- The file ---
    QString subtitlePath() const;
    // loadActionPath() opens the chooser; any other path is opened.
    void setSubtitlePath(const QString& path);
    const QList<SubtitlePathEntry>& subtitlePaths() const { return m_subtitlePaths; }
    void addSubtitlePathToList(const QString& path);
    // The file chooser, as a window-modal sheet; returns at once.
    void subtitleChooseFile();
    // The chooser while it is open; null otherwise.
    QFileDialog* subtitleFileDialog() const { return m_fileDialog; }
    void openSubtitlePath(const QString& path);
    // Why the clip shows no subtitles after the last opening; empty when it
    // does or nothing was opened.
    QString subtitleProblem() const { return m_subtitleProblem; }

    // --- The encoding ---
    quint64 subtitleEncoding() const;
    void setSubtitleEncoding(quint64 encoding);
    // Opens the clip's current file again in the stored encoding.
    void subtitleChooseEncoding();

    // --- The look ---
    QFont subtitleFont() const;
    void setSubtitleFont(const QFont& font);
    QString subtitleFontName() const;
    void setSubtitleFontName(const QString& name);
    int subtitleFontSize() const;
    void setSubtitleFontSize(int size);
    QColor subtitleColor() const;
    void setSubtitleColor(const QColor& color);
    // 0 bottom, 1 middle, 2 top.
    int subtitlePosition() const;
    void setSubtitlePosition(int position);
    static QStringList availableFonts();

    // The colour panel's colour changed: taken while this page is current.
    void colorPanelColorDidChangeNotification(const QColor& color);
    QColorDialog* colorPanel() const { return m_colorPanel; }

    // Announces every subtitle key.
    void flushSubtitleAttribute();
    // The sheet opened on a clip: forgets the last reason, shows the clip.
    void updateForMedia();

    // --- The controls ---
    QComboBox* subtitlePathButton() const { return m_subtitlePathButton; }
    QComboBox* subtitleEncodingButton() const { return m_encodingButton; }
    SubtitleFontComboBox* subtitleFontMenu() const { return m_fontMenu; }
    QSpinBox* subtitleFontSizeField() const { return m_fontSizeField; }
    QToolButton* subtitleColorButton() const { return m_colorButton; }
    QComboBox* subtitlePositionButton() const { return m_positionButton; }
    QLabel* subtitleProblemLabel() const { return m_problemLabel; }

private:
    void buildPage();
    void bindControls();
    void bind(const QString& key, QObject* control, std::function<void()> refresh);
    void announce(const QString& key);
    void refreshPathButton();
    // What the pop-up shows for a file that is not in the list.
    QString shownSubtitleName(const QString& path) const;
    void fileChooserFinished(int result);
    void alertDamagedLines(const QString& path, const QList<int>& lines);

    VideoEditWindowController* m_sheet;  // not owned
    QList<SubtitlePathEntry> m_subtitlePaths;
    QString m_subtitleProblem;
    QPointer<QFileDialog> m_fileDialog;
    QColorDialog* m_colorPanel = nullptr;

    QComboBox* m_subtitlePathButton = nullptr;
    QLabel* m_problemLabel = nullptr;
    QComboBox* m_encodingButton = nullptr;
    SubtitleFontComboBox* m_fontMenu = nullptr;
    QSpinBox* m_fontSizeField = nullptr;
    QToolButton* m_colorButton = nullptr;
    QComboBox* m_positionButton = nullptr;
};
