#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

class ConverterSettings;
class Dialogs;
class QWidget;

// The four files a snapshot may write, in the order they are written.
inline const QString kSnapshotFullBmp = QStringLiteral("Snapshot_full.bmp");
inline const QString kSnapshotSmallBmp = QStringLiteral("Snapshot_small.bmp");
inline const QString kSnapshotFullJpg = QStringLiteral("Snapshot_full.jpg");
inline const QString kSnapshotSmallJpg = QStringLiteral("Snapshot_small.jpg");

// The size of the preview panel, which is also the size of a small snapshot.
inline constexpr QSize kPreviewPanelSize(256, 183);

// The picture on screen stretched to the panel's size, aspect ratio not kept.
QImage SmallSnapshot(const QImage& full, QSize panelSize = kPreviewPanelSize);

// The snapshot folder, created when missing. A folder that cannot be created
// is replaced, after a warning, by the default folder, which is then stored.
QString UsableSnapshotFolder(ConverterSettings& settings, Dialogs& dialogs, QWidget* parent);

// Writes the full-size and the small picture as the snapshot settings ask:
// each of the four files only when both its size and its format are on, JPEG
// at the stored quality. Each file replaces the previous snapshot of that name
// only once it is written whole. Returns the folder written to, or nothing
// when a file could not be written; that error has then been shown and the
// files after it are not written.
std::optional<QString> SaveSnapshots(const QImage& full, const QImage& small, ConverterSettings& settings,
                                     Dialogs& dialogs, QWidget* parent);
// The same with the program's converter INI and dialogs.
std::optional<QString> SaveSnapshots(const QImage& full, const QImage& small, QWidget* parent = nullptr);
