// User settings: the first-launch defaults, "user.config" round trips, and
// the format lookups over the tables shipped beside the program.

#include <QFileInfo>

#include "DataResourceTestFixture.h"
#include "model/UserConfig.h"

using namespace mediatest;

namespace {

class UserConfigTest : public MediaSideTest {};

TEST_F(UserConfigTest, FirstLaunchDefaults)
{
    UserConfig config(userFolders());
    EXPECT_EQ(config.version(), "1");
    EXPECT_EQ(config.maxConvertCount(), 1);
    EXPECT_TRUE(config.autoFilter());
    EXPECT_EQ(config.defaultFilterSeconds(), 10);
    EXPECT_TRUE(config.showScreenshot());
    EXPECT_TRUE(config.showOutputedFile());
    EXPECT_EQ(config.defaultOutputVideoPath(), services->videoFolder);
    EXPECT_TRUE(QFileInfo(services->videoFolder).isDir());
    EXPECT_TRUE(config.defaultFormat().isEmpty());
    EXPECT_EQ(config.savePath(), services->supportFolder + "/user.config");

    const Value::Dictionary format = config.defaultFormatDic();
    EXPECT_EQ(format.value("FormatName").toString(), "MPEG-4 Movie(*.mp4)");
    EXPECT_EQ(format.value("OutputPathExtention").toString(), "mp4");
    for (const char* key : {"VideoCodec", "FrameRate", "Resolution", "VideoBitRate", "Codec",
                            "SampleRate", "Channel", "BitRate"}) {
        EXPECT_TRUE(format.value(key).toString().has_value()) << key;
    }
    // The "Video" group keeps its MPEG-2 item on this system.
    bool mpeg2 = false;
    for (const Value& item :
         config.formatList().value("Video").dictionary().value("ItemsArray").array()) {
        mpeg2 |= item.dictionary().value("Title").toString() == QString("MPEG-2 Movie(*.mpg)");
    }
    EXPECT_TRUE(mpeg2);
}

TEST_F(UserConfigTest, SavedFormatComesBackButOtherSettingsStartAfresh)
{
    Value::Dictionary chosen;
    {
        UserConfig config(userFolders());
        chosen = config.getFormatDicWithdefaultFormat("AVI Movie(*.avi)");
        chosen.insert("OutputPath", "/videos/out");
        config.setDefaultFormatDic(chosen);
        config.setMaxConvertCount(4);
        config.setVersion("1");
        ASSERT_FALSE(QFileInfo::exists(services->supportFolder));
        ASSERT_TRUE(config.save());  // makes the settings folder
    }
    UserConfig again(userFolders());
    EXPECT_EQ(again.defaultFormat(), chosen);
    EXPECT_EQ(again.defaultFormatDic().value("OutputPath").toString(), "/videos/out");
    EXPECT_EQ(again.maxConvertCount(), 1);
    EXPECT_EQ(again.version(), "1");
}

TEST_F(UserConfigTest, UnwritableSettingsFolderIsReported)
{
    QFile blocker(services->supportFolder);
    QDir().mkpath(QFileInfo(services->supportFolder).absolutePath());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
    blocker.close();
    UserConfig config(userFolders());
    EXPECT_FALSE(config.save());
}

TEST_F(UserConfigTest, DamagedSettingsFileLeavesDefaults)
{
    QDir().mkpath(services->supportFolder);
    QFile file(services->supportFolder + "/user.config");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("garbage");
    file.close();
    UserConfig config(userFolders());
    EXPECT_EQ(config.version(), "1");
    EXPECT_TRUE(config.defaultFormat().isEmpty());
}

TEST_F(UserConfigTest, EncoderValuesOfTheShownTexts)
{
    UserConfig config(userFolders());
    Value::Dictionary format = config.getFormatDicWithdefaultFormat("MPEG-4 Movie(*.mp4)");
    format.insert("FrameRate", "29.97 fps");
    format.insert("VideoBitRate", "2500 kbps");
    format.insert("SampleRate", "44100 Hz");
    format.insert("Codec", "no such codec");
    config.setDefaultFormatDic(format);
    const Value::Dictionary values = config.getFormatValueDicWithdefaultFormatDic();
    EXPECT_EQ(values.value("OutputFormat").toString(), "MPEG-4 Movie(*.mp4)");
    EXPECT_EQ(values.value("OutputPathExtention").toString(), "mp4");
    EXPECT_EQ(values.value("VideoCodec").toString(), "h264");
    EXPECT_FLOAT_EQ(float(*values.value("FrameRate").toDouble()), 29.97f);
    EXPECT_EQ(values.value("VideoBitRate").toInt(), 2500);
    EXPECT_EQ(values.value("Resolution").toString(), "720x576");  // the shown text itself
    EXPECT_EQ(values.value("SampleRate").toInt(), 44100);
    EXPECT_FALSE(values.contains("Codec"));  // no choice shows that text
    EXPECT_FALSE(values.contains("OutputPath"));

    config.setDefaultFormatDic(config.getFormatDicWithdefaultFormat("MP3 Audio(*.mp3)"));
    const Value::Dictionary audio = config.getFormatValueDicWithdefaultFormatDic();
    EXPECT_FALSE(audio.contains("VideoCodec"));
    EXPECT_FALSE(audio.contains("FrameRate"));
    EXPECT_EQ(audio.value("Codec").toString(), "mp3");
    EXPECT_EQ(audio.value("BitRate").toInt(), 192);
}

TEST_F(UserConfigTest, LookupsAndMembership)
{
    UserConfig config(userFolders());
    EXPECT_EQ(config.getValueWithString("25 fps", "FrameRate", "MPEG-4 Movie(*.mp4)").toDouble(),
              25.0);
    EXPECT_TRUE(config.getValueWithString(QString(), "FrameRate", "MPEG-4 Movie(*.mp4)").isNull());
    EXPECT_TRUE(config.getValueWithString("7 fps", "FrameRate", "MPEG-4 Movie(*.mp4)").isNull());
    EXPECT_TRUE(config.getFormatDicWithdefaultFormat("No Such Format").isEmpty());
    const Value::Dictionary audio = config.getFormatDicWithdefaultFormat("WAV Audio(*.wav)");
    EXPECT_FALSE(audio.contains("VideoCodec"));
    EXPECT_EQ(audio.value("OutputPathExtention").toString(), "wav");

    EXPECT_TRUE(config.isACommonItem("MP3 Audio(*.mp3)"));
    EXPECT_TRUE(config.isACommonItem("MPEG-4 Movie(*.mp4)"));
    EXPECT_FALSE(config.isACommonItem("Matroska Movie(*.mkv)"));
    EXPECT_TRUE(config.isACommonMusicItem("MP3 Audio(*.mp3)"));
    EXPECT_FALSE(config.isACommonMusicItem("MPEG-4 Movie(*.mp4)"));
    EXPECT_FALSE(config.getDefualtFormatImage("MPEG-4 Movie(*.mp4)").isNull());
    EXPECT_TRUE(config.getDefualtFormatImage("No Such Format").isNull());

    // Every format the groups offer is described, with its extension.
    for (const Value& group : config.formatList()) {
        for (const Value& item : group.dictionary().value("ItemsArray").array()) {
            const QString title = *item.dictionary().value("Title").toString();
            EXPECT_FALSE(
                config.getFormatDicWithdefaultFormat(title).value("OutputPathExtention").isNull())
                << title.toStdString();
        }
    }
}

}  // namespace
