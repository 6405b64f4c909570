#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <cstdlib>
#include <gtest/gtest.h>

// The engine delivers its events through the Qt event loop, so every media
// test program runs inside a QCoreApplication.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("VARNEL_CLIPS_DIR")) setenv("VARNEL_CLIPS_DIR", VARNEL_MEDIA_CLIPS_DIR, 1);
    const QString clips = qEnvironmentVariable("VARNEL_CLIPS_DIR");
    if (!QFile::exists(clips + "/flv1_mp3.flv"))
        QProcess::execute("bash", {VARNEL_MEDIA_MAKE_CLIPS, clips});
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
