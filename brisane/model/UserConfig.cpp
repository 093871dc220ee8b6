#include "model/UserConfig.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

#include "common/CommonFunction.h"
#include "common/FileManagerExtention.h"
#include "common/NamedImage.h"
#include "common/ResourceLocator.h"
#include "platform/BoundedImage.h"
#include "platform/ClassRegistry.h"
#include "platform/PropertyList.h"

BRISANE_REGISTER_CLASS(UserConfig)

namespace {

const QString TablesFolderName = QStringLiteral("FormatTables");
const QStringList VideoSettings{"VideoCodec", "FrameRate", "Resolution", "VideoBitRate"};
const QStringList AudioSettings{"Codec", "SampleRate", "Channel", "BitRate"};

QMutex tablesFolderLock;

QString& tablesFolderOverride()
{
    static QString folder;
    return folder;
}

Value::Dictionary readTable(const QString& name)
{
    const QString path =
        UserConfig::tablesFolder() + QLatin1Char('/') + name + QStringLiteral(".plist");
    return PropertyList::readDictionary(path).value_or(Value::Dictionary());
}

// The first space-separated word of a shown text ("25 fps" -> "25").
QString firstWord(const QString& text)
{
    return text.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
}

QString stringOf(const Value::Dictionary& dictionary, const QString& key)
{
    return dictionary.value(key).toString().value_or(QString());
}

void insertIfSet(Value::Dictionary& dictionary, const QString& key, const Value& value)
{
    if (!value.isNull()) {
        dictionary.insert(key, value);
    }
}

}  // namespace

UserConfig::Folders UserConfig::userFolders()
{
    return {FileManagerExtention::applicationSupportPath(),
            FileManagerExtention::defaultOutputVideoPath()};
}

UserConfig::UserConfig() : UserConfig(userFolders()) {}

UserConfig::UserConfig(const Folders& folders)
    : m_applicationSupportPath(folders.applicationSupportPath)
{
    FileManagerExtention::createDirectoryAtPathIfCan(folders.defaultOutputVideoPath);
    m_defaultOutputVideoPath = folders.defaultOutputVideoPath;
    m_formatList = readTable(QStringLiteral("FormatData"));
    m_formatData = readTable(QStringLiteral("FormatInfo"));
    if (CommonFunction::OSIsSnowLeopard()) {
        Value::Dictionary video = m_formatList.value(QStringLiteral("Video")).dictionary();
        Value::Array items = video.value(QStringLiteral("ItemsArray")).array();
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (stringOf(items[i].dictionary(), QStringLiteral("Title")) ==
                QLatin1String("MPEG-2 Movie(*.mpg)")) {
                items.removeAt(i);
                break;
            }
        }
        video.insert(QStringLiteral("ItemsArray"), items);
        m_formatList.insert(QStringLiteral("Video"), video);
    }
    load();
}

std::shared_ptr<UserConfig> UserConfig::share()
{
    static const std::shared_ptr<UserConfig> shared = std::make_shared<UserConfig>();
    return shared;
}

QString UserConfig::tablesFolder()
{
    {
        QMutexLocker lock(&tablesFolderLock);
        if (!tablesFolderOverride().isEmpty()) {
            return tablesFolderOverride();
        }
    }
    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QString beside = executableFolder + QLatin1Char('/') + TablesFolderName;
    if (QFileInfo(beside).isDir()) {
        return beside;
    }
    return QDir(ResourceLocator::sharedResourceFolder(executableFolder)).filePath(TablesFolderName);
}

void UserConfig::setTablesFolder(const QString& folder)
{
    QMutexLocker lock(&tablesFolderLock);
    tablesFolderOverride() = folder;
}

QString UserConfig::savePath() const
{
    return m_applicationSupportPath + QLatin1Char('/') + FileName;
}

bool UserConfig::save() const
{
    const QString path = savePath();
    if (!FileManagerExtention::createDirectoryAtPathIfCan(QFileInfo(path).absolutePath())) {
        qWarning().noquote() << "settings not saved: no folder for" << path;
        return false;
    }
    return writeToFile(path, true);
}

bool UserConfig::load()
{
    return initWithContentsOfFile(savePath());
}

Value::Dictionary UserConfig::defaultFormatDic() const
{
    if (!m_defaultFormat.isEmpty()) {
        return m_defaultFormat;
    }
    return getFormatDicWithdefaultFormat(DefaultFormatName);
}

Value::Dictionary UserConfig::getFormatDicWithdefaultFormat(const QString& formatName) const
{
    const Value::Dictionary info = m_formatData.value(formatName).dictionary();
    if (info.isEmpty()) {
        qWarning().noquote() << "no output format named" << formatName;
        return {};
    }
    Value::Dictionary format;
    format.insert(QStringLiteral("FormatName"), formatName);
    insertIfSet(format, QStringLiteral("OutputPathExtention"),
                info.value(QStringLiteral("PathExtention")));
    QStringList settings = AudioSettings;
    if (info.value(QStringLiteral("IsVideo")).toBool().value_or(false)) {
        settings = VideoSettings + AudioSettings;
    }
    for (const QString& key : settings) {
        insertIfSet(format, key, info.value(key).dictionary().value(QStringLiteral("Default")));
    }
    return format;
}

Value::Dictionary UserConfig::getFormatValueDicWithdefaultFormatDic() const
{
    const Value::Dictionary format = defaultFormatDic();
    const QString name = stringOf(format, QStringLiteral("FormatName"));
    auto valueOf = [&](const QString& key) {
        const auto shown = format.value(key).toString();
        return shown ? getValueWithString(*shown, key, name) : Value();
    };
    Value::Dictionary values;
    insertIfSet(values, QStringLiteral("OutputFormat"), format.value(QStringLiteral("FormatName")));
    insertIfSet(values, QStringLiteral("OutputPath"), format.value(QStringLiteral("OutputPath")));
    insertIfSet(values, QStringLiteral("OutputPathExtention"),
                format.value(QStringLiteral("OutputPathExtention")));
    if (!isACommonMusicItem(name)) {
        insertIfSet(values, QStringLiteral("VideoCodec"), valueOf(QStringLiteral("VideoCodec")));
        const QString frameRate = stringOf(format, QStringLiteral("FrameRate"));
        values.insert(QStringLiteral("FrameRate"), firstWord(frameRate).toFloat());
        insertIfSet(values, QStringLiteral("Resolution"),
                    format.value(QStringLiteral("Resolution")));
        const QString bitRate = stringOf(format, QStringLiteral("VideoBitRate"));
        values.insert(QStringLiteral("VideoBitRate"), firstWord(bitRate).toLongLong());
    }
    for (const QString& key : AudioSettings) {
        insertIfSet(values, key, valueOf(key));
    }
    return values;
}

Value UserConfig::getValueWithString(const QString& shown, const QString& key,
                                     const QString& formatName) const
{
    if (shown.isNull()) {
        return {};
    }
    const Value::Dictionary setting =
        m_formatData.value(formatName).dictionary().value(key).dictionary();
    for (const Value& choice : setting.value(QStringLiteral("ValueArray")).array()) {
        if (stringOf(choice.dictionary(), QStringLiteral("Show")) == shown) {
            return choice.dictionary().value(QStringLiteral("Value"));
        }
    }
    return {};
}

bool UserConfig::isItemOfGroups(const QString& title, const QStringList& groups) const
{
    for (const QString& group : groups) {
        const Value::Dictionary entry = m_formatList.value(group).dictionary();
        for (const Value& item : entry.value(QStringLiteral("ItemsArray")).array()) {
            if (stringOf(item.dictionary(), QStringLiteral("Title")) == title) {
                return true;
            }
        }
    }
    return false;
}

bool UserConfig::isACommonItem(const QString& title) const
{
    return isItemOfGroups(title, {"CommonAudio", "CommonVideo", "Apple Software"});
}

bool UserConfig::isACommonMusicItem(const QString& title) const
{
    return isItemOfGroups(title, {"CommonAudio"});
}

QImage UserConfig::getDefualtFormatImage(const QString& title) const
{
    for (const Value& group : m_formatList) {
        for (const Value& item : group.dictionary().value(QStringLiteral("ItemsArray")).array()) {
            const Value::Dictionary entry = item.dictionary();
            if (stringOf(entry, QStringLiteral("Title")) != title) {
                continue;
            }
            const QString imageName = stringOf(entry, QStringLiteral("ImageName"));
            const QString path =
                tablesFolder() + QLatin1Char('/') + imageName + QStringLiteral(".png");
            if (QFileInfo(path).isFile()) {
                return BoundedImage::read(path);
            }
            return NamedImage::imageNamed(imageName);
        }
    }
    return {};
}

QStringList UserConfig::allCoderKeys() const
{
    return {"version", "defaultFormat"};
}

const PropertyTable& UserConfig::properties()
{
    using U = UserConfig;
    static const PropertyTable table =
        PropertyTable(CodingBase::properties())
            .add("version", &U::version, &U::setVersion)
            .add("recentUsedFormat", &U::recentUsedFormat, &U::setRecentUsedFormat)
            .add("recordSources", &U::recordSources, &U::setRecordSources)
            .add("autoFilter", &U::autoFilter, &U::setAutoFilter)
            .add("defaultFilterSeconds", &U::defaultFilterSeconds, &U::setDefaultFilterSeconds)
            .add("defaultOutputVideoPath", &U::defaultOutputVideoPath,
                 &U::setDefaultOutputVideoPath)
            .add("defaultScreenshotPath", &U::defaultScreenshotPath, &U::setDefaultScreenshotPath)
            .add("showScreenshot", &U::showScreenshot, &U::setShowScreenshot)
            .add("showOutputedFile", &U::showOutputedFile, &U::setShowOutputedFile)
            .add("maxConvertCount", &U::maxConvertCount, &U::setMaxConvertCount)
            .add("formatList", &U::formatList, &U::setFormatList)
            .add("formatData", &U::formatData, &U::setFormatData)
            .add("defaultFormat", &U::defaultFormat, &U::setDefaultFormat);
    return table;
}
