// Test entry point: a QApplication on the offscreen platform, so that widget,
// picture and main-thread tests all run headless.
#include <QApplication>
#include <gtest/gtest.h>

#include <utility>

int main(int argc, char** argv)
{
    // Headless by default; Qt Multimedia's FFmpeg backend (the default one
    // crashes without its plug-ins); scratch files inside the build tree.
    const std::pair<const char*, const char*> defaults[] = {
        {"QT_QPA_PLATFORM", "offscreen"},
        {"QT_MEDIA_BACKEND", "ffmpeg"},
        {"BRISANE_TEST_TMP", BRISANE_TEST_TMP_DEFAULT},
    };
    for (const auto& [name, value] : defaults) {
        if (qEnvironmentVariableIsEmpty(name)) {
            qputenv(name, value);
        }
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
