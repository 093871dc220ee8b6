#include "videoedit/VideoEditSubtitleTab.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/AlertService.h"
#include "common/CommonFunctionThreads.h"
#include "common/PropertyNotifier.h"
#include "common/ViewExtention.h"
#include "media/SubtitleEncodings.h"
#include "media/SubtitleFileOpener.h"
#include "model/DVDFileSource.h"
#include "model/MediaData.h"
#include "videoedit/SubtitleFontComboBox.h"
#include "videoedit/VideoEditWindowController.h"

namespace {

const QString kSubtitleTab = QStringLiteral("subtitle");

QIcon colourSwatch(const QColor& colour)
{
    QPixmap swatch(28, 14);
    swatch.fill(Qt::transparent);
    QPainter painter(&swatch);
    painter.setPen(QColor(150, 150, 150));
    painter.setBrush(colour.isValid() ? colour : QColor(Qt::white));
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    return QIcon(swatch);
}

bool fontExists(const QString& family, int size)
{
    return size > 0 && !family.isEmpty() && QFontDatabase::families().contains(family);
}

}  // namespace

const QStringList& VideoEditSubtitleTab::subtitleFileTypes()
{
    static const QStringList types{QStringLiteral("srt"), QStringLiteral("ass"),
                                   QStringLiteral("smi"), QStringLiteral("sami")};
    return types;
}

VideoEditSubtitleTab::VideoEditSubtitleTab(VideoEditWindowController* sheet, QWidget* parent)
    : QWidget(parent), m_sheet(sheet)
{
    m_subtitlePaths.append({loadActionPath(), tr("Load Subtitle")});
    buildPage();
    bindControls();
}

VideoEditSubtitleTab::~VideoEditSubtitleTab() = default;

// --- The page ---

void VideoEditSubtitleTab::buildPage()
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);

    auto* fileRow = new QHBoxLayout;
    m_subtitlePathButton = new QComboBox(this);
    m_subtitlePathButton->setMinimumWidth(220);
    m_subtitlePathButton->setToolTip(tr("Subtitle file"));
    m_encodingButton = new QComboBox(this);
    m_encodingButton->setToolTip(tr("Text encoding of the subtitle file"));
    for (const SubtitleEncodings::Encoding& row : SubtitleEncodings::subtitleeEncodings()) {
        m_encodingButton->addItem(row.name, QVariant::fromValue(row.encoding));
    }
    m_problemLabel = new QLabel(this);
    m_problemLabel->setStyleSheet(QStringLiteral("color: #ff9a7a;"));
    m_problemLabel->setWordWrap(true);
    fileRow->addWidget(new QLabel(tr("Subtitle"), this));
    fileRow->addWidget(m_subtitlePathButton);
    fileRow->addWidget(new QLabel(tr("Encoding"), this));
    fileRow->addWidget(m_encodingButton);
    fileRow->addWidget(m_problemLabel, 1);
    column->addLayout(fileRow);

    auto* lookRow = new QHBoxLayout;
    m_fontMenu = new SubtitleFontComboBox(this);
    m_fontMenu->setToolTip(tr("Font"));
    m_fontSizeField = new QSpinBox(this);
    m_fontSizeField->setRange(1, 400);
    m_fontSizeField->setKeyboardTracking(false);
    m_fontSizeField->setToolTip(tr("Font size"));
    ViewExtention::useApplicationWindowText(m_fontSizeField);
    m_colorButton = new QToolButton(this);
    m_colorButton->setToolTip(tr("Colour"));
    m_positionButton = new QComboBox(this);
    m_positionButton->addItems({tr("Bottom"), tr("Middle"), tr("Top")});
    m_positionButton->setToolTip(tr("Position"));
    lookRow->addWidget(new QLabel(tr("Font"), this));
    lookRow->addWidget(m_fontMenu, 1);
    lookRow->addWidget(m_fontSizeField);
    lookRow->addWidget(m_colorButton);
    lookRow->addSpacing(12);
    lookRow->addWidget(new QLabel(tr("Position"), this));
    lookRow->addWidget(m_positionButton);
    column->addLayout(lookRow);

    m_colorPanel = new QColorDialog(this);
    m_colorPanel->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
    m_colorPanel->setWindowTitle(tr("Subtitle Colour"));

    connect(m_subtitlePathButton, &QComboBox::activated, this, [this](int index) {
        setSubtitlePath(m_subtitlePathButton->itemData(index).toString());
    });
    connect(m_encodingButton, &QComboBox::activated, this, [this](int index) {
        setSubtitleEncoding(m_encodingButton->itemData(index).value<quint64>());
        subtitleChooseEncoding();
    });
    connect(m_fontMenu, &QComboBox::activated, this,
            [this](int index) { setSubtitleFontName(m_fontMenu->itemText(index)); });
    connect(m_fontSizeField, &QSpinBox::valueChanged, this,
            &VideoEditSubtitleTab::setSubtitleFontSize);
    connect(m_positionButton, &QComboBox::activated, this,
            &VideoEditSubtitleTab::setSubtitlePosition);
    connect(m_colorButton, &QToolButton::clicked, this, [this] {
        m_colorPanel->setCurrentColor(subtitleColor());
        m_colorPanel->show();
        m_colorPanel->raise();
    });
    connect(m_colorPanel, &QColorDialog::currentColorChanged, this,
            &VideoEditSubtitleTab::colorPanelColorDidChangeNotification);
    // The panel belongs to this page: it goes when the sheet closes.
    connect(m_sheet, &QDialog::finished, m_colorPanel, &QWidget::hide);
}

void VideoEditSubtitleTab::bind(const QString& key, QObject* control, std::function<void()> refresh)
{
    m_sheet->keys().observeKey(key, control, [control, refresh] {
        const QSignalBlocker blocker(control);
        refresh();
    });
    refresh();
}

void VideoEditSubtitleTab::bindControls()
{
    const auto refreshPath = [this] { refreshPathButton(); };
    bind(QStringLiteral("subtitlePath"), m_subtitlePathButton, refreshPath);
    bind(QStringLiteral("subtitlePaths"), m_subtitlePathButton, refreshPath);
    bind(QStringLiteral("subtitlePath"), m_problemLabel, [this] {
        m_problemLabel->setText(m_subtitleProblem);
        m_problemLabel->setToolTip(m_subtitleProblem);
    });
    bind(QStringLiteral("subtitleEncoding"), m_encodingButton, [this] {
        m_encodingButton->setCurrentIndex(
            std::max(0, m_encodingButton->findData(QVariant::fromValue(subtitleEncoding()))));
    });
    bind(QStringLiteral("subtitleFontName"), m_fontMenu,
         [this] { m_fontMenu->setCurrentIndex(m_fontMenu->findText(subtitleFontName())); });
    bind(QStringLiteral("subtitleFontSize"), m_fontSizeField,
         [this] { m_fontSizeField->setValue(subtitleFontSize()); });
    bind(QStringLiteral("subtitleColor"), m_colorButton,
         [this] { m_colorButton->setIcon(colourSwatch(subtitleColor())); });
    bind(QStringLiteral("subtitlePosition"), m_positionButton,
         [this] { m_positionButton->setCurrentIndex(std::clamp(subtitlePosition(), 0, 2)); });
}

void VideoEditSubtitleTab::refreshPathButton()
{
    m_subtitlePathButton->clear();
    for (const SubtitlePathEntry& entry : m_subtitlePaths) {
        m_subtitlePathButton->addItem(entry.title, entry.object);
        m_subtitlePathButton->setItemData(m_subtitlePathButton->count() - 1, entry.object,
                                          Qt::ToolTipRole);
    }
    const QString path = subtitlePath();
    int shown = path.isEmpty() ? 0 : m_subtitlePathButton->findData(path);
    if (shown < 0) {
        // A file the clip brought along (a project's copy): shown under the
        // name it was chosen with, though it is not in the list.
        m_subtitlePathButton->addItem(shownSubtitleName(path), path);
        shown = m_subtitlePathButton->count() - 1;
    }
    m_subtitlePathButton->setCurrentIndex(shown);
}

QString VideoEditSubtitleTab::shownSubtitleName(const QString& path) const
{
    const auto clip = m_sheet->media();
    const auto source = clip ? clip->subtitleFileSource() : nullptr;
    const QFileInfo file(path);
    if (!source || source->path() != path || source->originName().isEmpty()) {
        return file.fileName();
    }
    return file.suffix().isEmpty() ? source->originName()
                                   : source->originName() + QLatin1Char('.') + file.suffix();
}

void VideoEditSubtitleTab::announce(const QString& key)
{
    CommonFunctionThreads::flushObject(&m_sheet->keys(), key);
}

void VideoEditSubtitleTab::flushSubtitleAttribute()
{
    for (const char* key : {"subtitleFont", "subtitleFontSize", "subtitleFontName", "subtitleColor",
                            "subtitlePosition", "subtitlePath", "subtitleEncoding"}) {
        announce(QString::fromLatin1(key));
    }
}

void VideoEditSubtitleTab::updateForMedia()
{
    m_subtitleProblem.clear();
    flushSubtitleAttribute();
}

// --- The file ---

QString VideoEditSubtitleTab::subtitlePath() const
{
    const VCMovie::Ptr item = m_sheet->vcMovie();
    return item ? item->subtitlePath() : QString();
}

void VideoEditSubtitleTab::setSubtitlePath(const QString& path)
{
    if (path == loadActionPath()) {
        subtitleChooseFile();
    } else if (!path.isEmpty()) {
        openSubtitlePath(path);
    }
    flushSubtitleAttribute();
}

void VideoEditSubtitleTab::addSubtitlePathToList(const QString& path)
{
    m_subtitlePaths.append({path, QFileInfo(path).fileName()});
    announce(QStringLiteral("subtitlePaths"));
}

void VideoEditSubtitleTab::subtitleChooseFile()
{
    if (m_fileDialog) {
        m_fileDialog->raise();
        return;
    }
    auto* chooser = new QFileDialog(window(), tr("Load Subtitle"));
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    chooser->setWindowModality(Qt::WindowModal);
    chooser->setOption(QFileDialog::DontUseNativeDialog);
    chooser->setFileMode(QFileDialog::ExistingFile);
    QStringList patterns;
    for (const QString& type : subtitleFileTypes()) {
        patterns << QStringLiteral("*.") + type << QStringLiteral("*.") + type.toUpper();
    }
    chooser->setNameFilter(tr("Subtitles (%1)").arg(patterns.join(QLatin1Char(' '))));
    if (const VCMovie::Ptr item = m_sheet->vcMovie(); item && !item->subtitlePath().isEmpty()) {
        chooser->setDirectory(QFileInfo(item->subtitlePath()).absolutePath());
    }
    connect(chooser, &QDialog::finished, this, &VideoEditSubtitleTab::fileChooserFinished);
    m_fileDialog = chooser;
    chooser->open();
}

void VideoEditSubtitleTab::fileChooserFinished(int result)
{
    const QStringList chosen =
        m_fileDialog && result == QDialog::Accepted ? m_fileDialog->selectedFiles() : QStringList();
    m_fileDialog = nullptr;
    if (chosen.isEmpty() || !m_sheet->vcMovie()) {
        announce(QStringLiteral("subtitlePath"));  // the pop-up shows the clip's file again
        return;
    }
    openSubtitlePath(chosen.first());
    addSubtitlePathToList(chosen.first());
    flushSubtitleAttribute();
}

void VideoEditSubtitleTab::openSubtitlePath(const QString& path)
{
    const VCMovie::Ptr item = m_sheet->vcMovie();
    if (!item) {
        return;
    }
    const SubtitleFileOpener::Result opened = SubtitleFileOpener::openSubtitlePath(*item, path);
    m_subtitleProblem = opened.problem;
    m_sheet->flushPlayerImage();
    if (opened.hasSubtitle) {
        alertDamagedLines(path, opened.damagedLines);
    }
}

void VideoEditSubtitleTab::alertDamagedLines(const QString& path, const QList<int>& lines)
{
    if (lines.isEmpty()) {
        return;
    }
    constexpr int kNamedLines = 10;
    QStringList numbers;
    for (int line : lines.mid(0, kNamedLines)) {
        numbers << QString::number(line);
    }
    if (lines.size() > kNamedLines) {
        numbers << QStringLiteral("…");
    }
    const QString name = QFileInfo(path).fileName();
    AlertContent alert;
    alert.message =
        lines.size() == 1
            ? tr("Line %1 of the subtitle file \"%2\" is damaged.").arg(lines.first()).arg(name)
            : tr("Lines %1 of the subtitle file \"%2\" are damaged.")
                  .arg(numbers.join(QStringLiteral(", ")), name);
    alert.informativeText =
        tr("The file is read as UTF-8; what could not be read shows as \"\uFFFD\". Correct "
           "the file, or choose its encoding if it is not UTF-8.");
    AlertService::current()->beginAlertSheet(alert, window());
}

// --- The encoding ---

quint64 VideoEditSubtitleTab::subtitleEncoding() const
{
    const VCMovie::Ptr item = m_sheet->vcMovie();
    return item ? item->subtitleEncoding() : SubtitleEncodings::kAutomatic;
}

void VideoEditSubtitleTab::setSubtitleEncoding(quint64 encoding)
{
    if (const VCMovie::Ptr item = m_sheet->vcMovie()) {
        item->setSubtitleEncoding(encoding);
    }
}

void VideoEditSubtitleTab::subtitleChooseEncoding()
{
    const QString path = subtitlePath();
    if (!path.isEmpty()) {
        openSubtitlePath(path);
    }
    flushSubtitleAttribute();
}

// --- The look ---

QFont VideoEditSubtitleTab::subtitleFont() const
{
    const IMovie::Ptr movie = m_sheet->movie();
    return movie ? movie->subtitleFont() : QFont();
}

void VideoEditSubtitleTab::setSubtitleFont(const QFont& font)
{
    const IMovie::Ptr movie = m_sheet->movie();
    if (!movie) {
        return;
    }
    movie->setSubtitleFont(font);
    m_sheet->flushPlayerImage();
    announce(QStringLiteral("subtitleFont"));
    announce(QStringLiteral("subtitleFontName"));
    announce(QStringLiteral("subtitleFontSize"));
}

QString VideoEditSubtitleTab::subtitleFontName() const
{
    // The family the font resolves to: the default font names a generic one.
    return QFontInfo(subtitleFont()).family();
}

void VideoEditSubtitleTab::setSubtitleFontName(const QString& name)
{
    const int size = subtitleFontSize();
    if (fontExists(name, size)) {
        setSubtitleFont(QFont(name, size));
    } else {
        announce(QStringLiteral("subtitleFontName"));
    }
}

int VideoEditSubtitleTab::subtitleFontSize() const
{
    return static_cast<int>(subtitleFont().pointSizeF());
}

void VideoEditSubtitleTab::setSubtitleFontSize(int size)
{
    const QString name = subtitleFontName();
    if (fontExists(name, size)) {
        setSubtitleFont(QFont(name, size));
    } else {
        announce(QStringLiteral("subtitleFontSize"));
    }
}

QColor VideoEditSubtitleTab::subtitleColor() const
{
    const IMovie::Ptr movie = m_sheet->movie();
    return movie ? movie->subtitleColor() : QColor(Qt::white);
}

void VideoEditSubtitleTab::setSubtitleColor(const QColor& color)
{
    const IMovie::Ptr movie = m_sheet->movie();
    if (!movie || !color.isValid()) {
        return;
    }
    movie->setSubtitleColor(color);
    m_sheet->flushPlayerImage();
    announce(QStringLiteral("subtitleColor"));
}

int VideoEditSubtitleTab::subtitlePosition() const
{
    const IMovie::Ptr movie = m_sheet->movie();
    return movie ? movie->subtitlePosition() : 0;
}

void VideoEditSubtitleTab::setSubtitlePosition(int position)
{
    const IMovie::Ptr movie = m_sheet->movie();
    if (!movie) {
        return;
    }
    movie->setSubtitlePosition(position);
    m_sheet->flushPlayerImage();
    announce(QStringLiteral("subtitlePosition"));
}

QStringList VideoEditSubtitleTab::availableFonts()
{
    return QFontDatabase::families();
}

void VideoEditSubtitleTab::colorPanelColorDidChangeNotification(const QColor& color)
{
    if (m_sheet->currentEditTypeIsString(kSubtitleTab)) {
        setSubtitleColor(color);
    }
}
