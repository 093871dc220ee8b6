#pragma once
// The user's settings that outlive a project: default choices (output
// folder, how many conversions run at once, the preferred output format) and
// the output-format tables shipped beside the program.
//
// Only "version" and "defaultFormat" are saved, to "user.config" in the
// settings folder (FileManagerExtention::applicationSupportPath unless
// another is given); every other
// setting starts at its default on each launch.
//
// The format tables are the property lists "FormatData" (group name ->
// {"ItemsArray": [{"Title", "ImageName"}]}) and "FormatInfo" (format name ->
// {"IsVideo", "PathExtention", setting name -> {"Default", "ValueArray":
// [{"Show", "Value"}]}}) in the folder "FormatTables" beside the program.
//
// Used on the main thread.

#include <QImage>
#include <QString>
#include <memory>

#include "platform/CodingBase.h"

class UserConfig : public CodingBase {
public:
    static inline const QString FileName = QStringLiteral("user.config");
    static inline const QString DefaultFormatName = QStringLiteral("MPEG-4 Movie(*.mp4)");

    // The user's folders: where "user.config" lives and the default output
    // folder of produced videos.
    struct Folders {
        QString applicationSupportPath;
        QString defaultOutputVideoPath;
    };
    // FileManagerExtention's folders (the output folder created when it can be).
    static Folders userFolders();

    // The defaults, the format tables, then what "user.config" holds, in the
    // user's folders.
    UserConfig();
    // The same over `folders`; the output folder is created when it can be.
    explicit UserConfig(const Folders& folders);

    // The one settings object of the program, made on first use.
    static std::shared_ptr<UserConfig> share();
    // The folder of the format tables: beside the program, else
    // the installed resource folder (ResourceLocator); a folder set with
    // setTablesFolder wins.
    static QString tablesFolder();
    static void setTablesFolder(const QString& folder);

    QString savePath() const;
    // Writes the settings file whole, creating its folder first. Answers
    // whether it was written (logged when not).
    bool save() const;
    // Reads the settings file into this object; a missing or unreadable file
    // leaves the values as they are and answers false.
    bool load();

    // The chosen output format, or the default one of DefaultFormatName.
    Value::Dictionary defaultFormatDic() const;
    void setDefaultFormatDic(const Value::Dictionary& format) { m_defaultFormat = format; }
    // "FormatName", "OutputPathExtention" and the shown default of every
    // setting of the format (the four video settings only for a video
    // format). Empty (logged) for a format the tables do not hold.
    Value::Dictionary getFormatDicWithdefaultFormat(const QString& formatName) const;
    // The encoder's values of defaultFormatDic: "OutputFormat", "OutputPath",
    // "OutputPathExtention", the value of each shown setting; "FrameRate" and
    // "VideoBitRate" are the numbers leading their shown texts.
    Value::Dictionary getFormatValueDicWithdefaultFormatDic() const;
    // The "Value" of the first choice of the setting whose "Show" is `shown`;
    // null when there is none.
    Value getValueWithString(const QString& shown, const QString& key,
                             const QString& formatName) const;
    // Whether the title is an item of "CommonAudio", "CommonVideo" or
    // "Apple Software"; of "CommonAudio" alone.
    bool isACommonItem(const QString& title) const;
    bool isACommonMusicItem(const QString& title) const;
    // The picture of the first item with the title in any group; null when
    // there is none.
    QImage getDefualtFormatImage(const QString& title) const;

    // --- Properties ---
    QString version() const { return m_version; }
    void setVersion(const QString& version) { m_version = version; }
    Value::Array recentUsedFormat() const { return m_recentUsedFormat; }
    void setRecentUsedFormat(const Value::Array& formats) { m_recentUsedFormat = formats; }
    Value::Array recordSources() const { return m_recordSources; }
    void setRecordSources(const Value::Array& sources) { m_recordSources = sources; }
    bool autoFilter() const { return m_autoFilter; }
    void setAutoFilter(bool on) { m_autoFilter = on; }
    qint32 defaultFilterSeconds() const { return m_defaultFilterSeconds; }
    void setDefaultFilterSeconds(qint32 seconds) { m_defaultFilterSeconds = seconds; }
    QString defaultOutputVideoPath() const { return m_defaultOutputVideoPath; }
    void setDefaultOutputVideoPath(const QString& path) { m_defaultOutputVideoPath = path; }
    QString defaultScreenshotPath() const { return m_defaultScreenshotPath; }
    void setDefaultScreenshotPath(const QString& path) { m_defaultScreenshotPath = path; }
    bool showScreenshot() const { return m_showScreenshot; }
    void setShowScreenshot(bool on) { m_showScreenshot = on; }
    bool showOutputedFile() const { return m_showOutputedFile; }
    void setShowOutputedFile(bool on) { m_showOutputedFile = on; }
    // How many conversions may run at once.
    qint64 maxConvertCount() const { return m_maxConvertCount; }
    void setMaxConvertCount(qint64 count) { m_maxConvertCount = count; }
    // The "FormatData" table.
    Value::Dictionary formatList() const { return m_formatList; }
    void setFormatList(const Value::Dictionary& table) { m_formatList = table; }
    // The "FormatInfo" table.
    Value::Dictionary formatData() const { return m_formatData; }
    void setFormatData(const Value::Dictionary& table) { m_formatData = table; }
    // Empty when no format was chosen.
    Value::Dictionary defaultFormat() const { return m_defaultFormat; }
    void setDefaultFormat(const Value::Dictionary& format) { m_defaultFormat = format; }

    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

private:
    bool isItemOfGroups(const QString& title, const QStringList& groups) const;

    QString m_applicationSupportPath;
    QString m_version = QStringLiteral("1");
    Value::Array m_recentUsedFormat;
    Value::Array m_recordSources;
    bool m_autoFilter = true;
    qint32 m_defaultFilterSeconds = 10;
    QString m_defaultOutputVideoPath;
    QString m_defaultScreenshotPath;
    bool m_showScreenshot = true;
    bool m_showOutputedFile = true;
    qint64 m_maxConvertCount = 1;
    Value::Dictionary m_formatList;
    Value::Dictionary m_formatData;
    Value::Dictionary m_defaultFormat;
};
