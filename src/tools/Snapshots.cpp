#include "tools/Snapshots.h"

#include "platform/Dialogs.h"
#include "platform/SystemFolders.h"
#include "shell/AppException.h"
#include "shell/GlobalObject.h"
#include "shell/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include <algorithm>

namespace {

// Writes through a temporary file so that a failed write leaves the previous
// snapshot of that name as it was. Returns the reason of a failure.
QString WritePicture(const QImage& picture, const QString& path, const char* format, int quality)
{
    if (picture.isNull()) return QStringLiteral("there is no picture");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    QImageWriter writer(&file, format);
    if (quality >= 0) writer.setQuality(quality);
    // BMP files are written 24 bits deep, the depth of the pictures themselves.
    const QImage image = picture.convertToFormat(QImage::Format_RGB888);
    if (!writer.write(image)) {
        file.cancelWriting();
        return writer.errorString();
    }
    if (!file.commit()) return file.errorString();
    return {};
}

} // namespace

QImage SmallSnapshot(const QImage& full, QSize panelSize)
{
    if (full.isNull()) return {};
    return full.scaled(panelSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QString UsableSnapshotFolder(ConverterSettings& settings, Dialogs& dialogs, QWidget* parent)
{
    const QString folder = settings.SnapOutPutDir();
    if (!folder.isEmpty() && (QFileInfo(folder).isDir() || QDir().mkpath(folder))) return folder;
    const QString fallback = DefaultOutputFolder();
    dialogs.Message(parent,
                    QStringLiteral("Cannot create output directory:") + folder +
                        QStringLiteral(".It will create default directory ") + fallback + QStringLiteral("!"),
                    QStringLiteral("Warning"), MessageIcon::Warning);
    QDir().mkpath(fallback);
    settings.SetSnapOutPutDir(fallback);
    return fallback;
}

std::optional<QString> SaveSnapshots(const QImage& full, const QImage& small, ConverterSettings& settings,
                                     Dialogs& dialogs, QWidget* parent)
{
    const QString folder = UsableSnapshotFolder(settings, dialogs, parent);
    const bool fullSize = settings.SnapFullSize();
    const bool smallSize = settings.SnapSmallSize();
    const bool bmp = settings.SnapBmp();
    const bool jpg = settings.SnapJpg();
    const int quality = std::clamp(settings.JpgCmp(), 1, 100);
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');

    const struct {
        bool wanted;
        const QImage& picture;
        const QString& name;
        const char* format;
        int quality;
    } files[] = {
        {fullSize && bmp, full, kSnapshotFullBmp, "BMP", -1},
        {smallSize && bmp, small, kSnapshotSmallBmp, "BMP", -1},
        {fullSize && jpg, full, kSnapshotFullJpg, "JPEG", quality},
        {smallSize && jpg, small, kSnapshotSmallJpg, "JPEG", quality},
    };
    for (const auto& file : files) {
        if (!file.wanted) continue;
        const QString path = prefix + file.name;
        const QString error = WritePicture(file.picture, path, file.format, file.quality);
        if (!error.isEmpty()) {
            ShowAppException(QStringLiteral("Cannot write the snapshot file ") + path + QStringLiteral(": ") + error,
                             false);
            return std::nullopt;
        }
    }
    return folder;
}

std::optional<QString> SaveSnapshots(const QImage& full, const QImage& small, QWidget* parent)
{
    ConverterSettings settings(GlobalObject() ? GlobalObject()->ConverterIniPath() : kConverterIniName);
    return SaveSnapshots(full, small, settings, AppDialogs(), parent);
}
