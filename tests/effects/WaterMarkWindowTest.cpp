// The watermark window on a generated clip: adding, placing, re-rendering,
// ordering and deleting items, OK and reopening, effects, pictures that
// cannot be read, and the main window's entry.
#include "effects/FrameEffects.h"
#include "effects/MainWindowWaterMark.h"
#include "effects/TfrmWaterMark.h"
#include "effects/WmGraphics.h"
#include "effects/WmLayerView.h"
#include "media/player/TFFPlayer.h"
#include "shell/SourceFileList.h"
#include "shell/TfrmMain.h"
#include "shell/TlvFilesRecord.h"
#include "support/TestEnvironment.h"
#include "support/TestSupport.h"
#include "tools/Tracker2.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// A window opened on a record, once the player has reported the file.
std::unique_ptr<TfrmWaterMark> OpenOn(TlvFilesRecord& record, Dialogs& dialogs)
{
    auto window = std::make_unique<TfrmWaterMark>(nullptr, record, dialogs);
    window->show();
    QElapsedTimer clock;
    clock.start();
    while (window->trcTextHoriz->maximum() == 100 && clock.elapsed() < 10000) QTest::qWait(20);
    return window;
}

struct Placed {
    QString text;
    QRectF location;
    int alpha;
};

std::vector<Placed> ItemsOf(const TfrmWaterMark& window)
{
    std::vector<Placed> items;
    for (int row = 0; row < window.EntryCount(); ++row) {
        const TWmItemRec* entry = window.Entry(row);
        items.push_back({window.lsbox->item(row)->text(), entry->Layer ? entry->Layer->Location() : QRectF(),
                         entry->Layer ? entry->Layer->MasterAlpha() : -1});
    }
    return items;
}

void AddTextItem(TfrmWaterMark& window, const QString& text, int left, int top, int alpha)
{
    window.btnAddTextClick();
    QVERIFY(window.edt1->isVisible());
    window.edt1->clear();
    QTest::keyClicks(window.edt1, text);
    window.trcTextHoriz->setValue(left);
    window.trcTextVert->setValue(top);
    window.trcTextTran->setValue(alpha);
}

QString SavePicture(const QTemporaryDir& dir, const QString& name, QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB888);
    image.fill(color);
    const QString path = dir.filePath(name);
    image.save(path);
    return path;
}

} // namespace

class WaterMarkWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheFileWithItsDefaults()
    {
        TestEnvironment env;
        TlvFilesRecord record;
        record.SourceFile = ClipPath("flv1_mp3.flv");
        auto window = OpenOn(record, env.dialogs);
        QCOMPARE(window->size(), QSize(786, 605));
        QCOMPARE(window->windowTitle(), QStringLiteral("Water Mark  ") + record.SourceFile);
        QCOMPARE(window->trcTextHoriz->maximum(), 320);
        QCOMPARE(window->trcTextVert->maximum(), 240);
        QCOMPARE(window->trcRange->Max(), 3);
        QCOMPARE(window->trcRange->PositionU(), 3);
        QVERIFY(!window->btnPlay->isEnabled());
        QVERIFY(window->btnPause->isEnabled());
        QCOMPARE(window->suiFontSizeCmb->currentText(), QStringLiteral("26"));
        QCOMPARE(window->suiColorBoxcmb->currentText(), QStringLiteral("clBlue"));
        QCOMPARE(window->suiColorBoxbackground->currentText(), QStringLiteral("clGreen"));
        QCOMPARE(window->trcTextTran->value(), 125);
        QVERIFY(window->rb1->isChecked());
        QVERIFY(!window->suiTabSheet3->isEnabled());
        window->btnHelpClick();
        QCOMPARE(env.openedPages.size(), 1);
        QVERIFY(env.openedPages[0].endsWith("watermark.html"));
        // Frames reach the view through the hook.
        QTRY_VERIFY_WITH_TIMEOUT(window->HasFrameBitmap(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(window->ImgView->FrameImage().size() == QSize(320, 240), 5000);
    }

    void itemsSurviveOkAndReopen()
    {
        TestEnvironment env;
        TlvFilesRecord record;
        record.SourceFile = ClipPath("flv1_mp3.flv");
        std::vector<Placed> before;
        {
            auto window = OpenOn(record, env.dialogs);
            AddTextItem(*window, "First", 10, 20, 200);
            AddTextItem(*window, "Second", 40, 60, 90);
            AddTextItem(*window, "Third", 80, 100, 255);
            QCOMPARE(window->EntryCount(), 3);

            // A bigger font keeps the top-left corner and re-applies the slider.
            window->lsbox->setCurrentRow(1);
            window->lsboxClick();
            const QRectF small = window->Entry(1)->Layer->Location();
            window->suiFontSizeCmb->setCurrentText("40");
            const QRectF big = window->Entry(1)->Layer->Location();
            QCOMPARE(big.topLeft(), small.topLeft());
            QVERIFY(big.width() > small.width());
            window->ckItalic->setChecked(true);
            QVERIFY(window->Entry(1)->Font.italic());
            QCOMPARE(window->Entry(1)->Layer->Location().topLeft(), small.topLeft());

            // "Second" up to the top, then "First" down to the bottom.
            window->btnUpClick();
            QCOMPARE(window->lsbox->item(0)->text(), QStringLiteral("Second"));
            QCOMPARE(window->lsbox->currentRow(), 0);
            window->btnUpClick(); // already first: nothing changes
            QCOMPARE(window->lsbox->item(0)->text(), QStringLiteral("Second"));
            window->lsbox->setCurrentRow(1);
            window->lsboxClick();
            window->btnDownClick();
            window->btnDownClick(); // already last
            QStringList order;
            for (int i = 0; i < 3; ++i) order << window->lsbox->item(i)->text();
            QCOMPARE(order, QStringList({"Second", "Third", "First"}));
            // The view stacks the layers in list order.
            for (int i = 0; i < 3; ++i) QCOMPARE(window->ImgView->LayerIndex(window->Entry(i)->Layer), i);

            // The time range of "Third".
            window->lsbox->setCurrentRow(1);
            window->lsboxClick();
            window->btnStartUp1Click();
            window->btnStartUpEndDownClick();
            QCOMPARE(window->edtStart->text(), QStringLiteral("0:00:01"));
            QCOMPARE(window->edtEnd->text(), QStringLiteral("0:00:02"));

            before = ItemsOf(*window);
            window->btnOkClick();
        }
        ASSERT_ITEMS(record, before);
        QCOMPARE(record.WaterMarks[1].StartTime, 1);
        QCOMPARE(record.WaterMarks[1].EndTime, 2);
        QCOMPARE(record.WaterMarks[0].Font.pointSize(), 40);
        QVERIFY(record.WaterMarks[0].Font.italic());
        QVERIFY(record.WaterMarks[0].BackOpaque);
        QCOMPARE(record.WaterMarks[2].TextLeft, 10);
        QCOMPARE(record.WaterMarks[2].TextTop, 20);
        QCOMPARE(record.WaterMarks[2].TextAlpha, 200);

        {
            auto window = OpenOn(record, env.dialogs);
            const std::vector<Placed> again = ItemsOf(*window);
            QCOMPARE(int(again.size()), 3);
            for (size_t i = 0; i < 3; ++i) {
                QCOMPARE(again[i].text, before[i].text);
                QCOMPARE(again[i].location, before[i].location);
                QCOMPARE(again[i].alpha, before[i].alpha);
            }
            QCOMPARE(window->lsbox->currentRow(), 2);

            // Delete entry 2 of three: entry 1 is highlighted.
            window->btnDeleteClick();
            QCOMPARE(window->EntryCount(), 2);
            QCOMPARE(window->lsbox->currentRow(), 1);
            QVERIFY(!window->ImgView->SelectedLayer());
            // Add one more, then delete entry 0 of three: entry 0 is highlighted.
            AddTextItem(*window, "Fourth", 5, 5, 50);
            window->lsbox->setCurrentRow(0);
            window->btnDeleteClick();
            QCOMPARE(window->EntryCount(), 2);
            QCOMPARE(window->lsbox->currentRow(), 0);
            QCOMPARE(window->lsbox->item(0)->text(), QStringLiteral("Third"));
            window->btnOkClick();
        }
        QCOMPARE(int(record.WaterMarks.size()), 2);
        QCOMPARE(record.WaterMarks[0].Text, QStringLiteral("Third"));
        QCOMPARE(record.WaterMarks[1].Text, QStringLiteral("Fourth"));
        QCOMPARE(record.WaterMarks[1].TextLeft, 5);
        QCOMPARE(record.WaterMarks[1].TextAlpha, 50);
    }

    void transparentBoxAndCancel()
    {
        TestEnvironment env;
        TlvFilesRecord record;
        record.SourceFile = ClipPath("flv1_mp3.flv");
        auto window = OpenOn(record, env.dialogs);
        AddTextItem(*window, "Clear", 30, 30, 255);
        window->rb2->setChecked(true);
        const QImage picture = window->Entry(0)->Layer->pixmap().toImage();
        QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);
        window->rb1->setChecked(true);
        QCOMPARE(qAlpha(window->Entry(0)->Layer->pixmap().toImage().pixel(0, 0)), 255);
        window->rb2->setChecked(true);
        window->btnOkClick();
        QCOMPARE(record.WaterMarks.size(), size_t(1));
        QVERIFY(!record.WaterMarks[0].BackOpaque);

        auto second = OpenOn(record, env.dialogs);
        second->btnDeleteClick();
        second->btnCancelClick();
        QCOMPARE(record.WaterMarks.size(), size_t(1)); // Cancel stores nothing
    }

    void picturesAddedOrRestoredMustLoad()
    {
        TestEnvironment env;
        QTemporaryDir dir;
        TlvFilesRecord record;
        record.SourceFile = ClipPath("flv1_mp3.flv");
        TWmRec blank;
        blank.Text = "   ";
        blank.TextLeft = 3;
        blank.TextWidth = 10;
        blank.TextHeight = 10;
        TWmRec missing;
        missing.Kind = TWmRec::kImage;
        missing.ImageFile = dir.filePath("gone.bmp");
        TWmRec kept;
        kept.Kind = TWmRec::kImage;
        kept.ImageFile = SavePicture(dir, "logo.png", {20, 10}, Qt::red);
        kept.ImageLeft = -4;
        kept.ImageTop = 7;
        kept.ImageWidth = 20;
        kept.ImageHeight = 10;
        kept.ImageAlpha = 77;
        record.WaterMarks = {blank, missing, kept};

        auto window = OpenOn(record, env.dialogs);
        QCOMPARE(window->EntryCount(), 2);
        QCOMPARE(window->lsbox->count(), 2);
        QVERIFY(env.dialogs.messages().join(' ').contains("gone.bmp"));
        QVERIFY2(!window->Entry(0)->Layer, "a blank text has no picture but keeps its entry");
        QCOMPARE(window->Entry(1)->Layer->Location(), QRectF(-4, 7, 20, 10));
        QCOMPARE(window->Entry(1)->Layer->MasterAlpha(), 77);

        // Adding: cancelled, unreadable, then a good picture.
        env.dialogs.ScriptFiles({});
        window->btnAddImageClick();
        QCOMPARE(window->EntryCount(), 2);
        QVERIFY(window->FFPlayer->Hook());
        const QString text = dir.filePath("not-a-picture.bmp");
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("text");
        file.close();
        env.dialogs.ScriptFiles({text});
        window->btnAddImageClick();
        QCOMPARE(window->EntryCount(), 2);
        QCOMPARE(window->lsbox->count(), 2);
        QVERIFY(window->FFPlayer->Hook());
        env.dialogs.ScriptFiles({SavePicture(dir, "mark.jpg", {16, 8}, Qt::white)});
        window->btnAddImageClick();
        QCOMPARE(window->EntryCount(), 3);
        QCOMPARE(window->Entry(2)->Layer->Location().size(), QSizeF(16, 8));
        QCOMPARE(window->Entry(2)->Layer->Tag, 1);
        QVERIFY2(!window->rb1->isEnabled(), "text controls are off for a picture");

        window->btnOkClick();
        QCOMPARE(record.WaterMarks.size(), size_t(3));
        QCOMPARE(record.WaterMarks[0].TextLeft, 3); // the blank item is stored as it was
        QCOMPARE(record.WaterMarks[1].ImageLeft, -4);
        QCOMPARE(record.WaterMarks[1].ImageAlpha, 77);
        QCOMPARE(record.WaterMarks[2].Kind, int(TWmRec::kImage));
        QCOMPARE(record.WaterMarks[2].ImageWidth, 16);
    }

    void effectValuesShowAndStore()
    {
        TestEnvironment env;
        TlvFilesRecord record;
        record.SourceFile = ClipPath("flv1_mp3.flv");
        record.Brightness = 300;
        record.Contrast = -40;
        record.Saturation = 10;
        record.Exposure = 99;
        record.ProcessText = true;
        auto window = OpenOn(record, env.dialogs);
        QCOMPARE(window->trcBrightness->value(), 300);
        QCOMPARE(window->spedtBrightness->value(), 300);
        QCOMPARE(window->spedtContrast->value(), -40);
        QCOMPARE(window->spedtExposure->value(), 99);
        QVERIFY(window->chkProcessText->isChecked());

        // While paused, a slider change shows the held frame adjusted.
        window->pauseClick();
        QTRY_VERIFY_WITH_TIMEOUT(window->HasFrameBitmap(), 5000);
        window->trcContrast->setValue(-100); // every byte 170, then the exposure of 99
        Bitmap24 expected = window->FrameBitmapCopy();
        ApplyColorAdjust(expected, 300, -100, 10);
        ApplyExposure(expected, 99.0f);
        const QImage still = window->ImgView->FrameImage().convertToFormat(QImage::Format_RGB888);
        QCOMPARE(expected.Pixel(100, 100), 0xE0E0E0u);
        QCOMPARE(still.pixel(100, 100) & 0xFFFFFF, 0xE0E0E0u);
        QCOMPARE(still.pixel(5, 200) & 0xFFFFFF, 0xE0E0E0u);
        window->btnResetClick();
        QCOMPARE(window->spedtSaturation->value(), 255);
        QVERIFY(!window->chkProcessText->isChecked());
        const Bitmap24 held = window->FrameBitmapCopy();
        const QImage reset = window->ImgView->FrameImage().convertToFormat(QImage::Format_RGB888);
        QCOMPARE(reset.pixel(100, 100) & 0xFFFFFF, ColorFromBgrValue(held.Pixel(100, 100)).rgb() & 0xFFFFFF);

        window->trcSaturation->setValue(0);
        window->btnOkClick();
        QCOMPARE(record.Brightness, 255);
        QCOMPARE(record.Contrast, 0);
        QCOMPARE(record.Saturation, 0);
        QCOMPARE(record.Exposure, 0);
        QVERIFY(!record.ProcessText);
    }

    void layersFollowTheirTimeRangeWhilePlaying()
    {
        TestEnvironment env;
        TlvFilesRecord record;
        record.SourceFile = ClipPath("flv1_mp3.flv");
        TWmRec early;
        early.Text = "Early";
        early.Font = MakeItemFont("DejaVu Sans", 12, 0);
        early.TextWidth = 40, early.TextHeight = 16;
        early.StartTime = 0, early.EndTime = 0;
        TWmRec late = early;
        late.Text = "Late";
        late.StartTime = 2, late.EndTime = 9;
        record.WaterMarks = {early, late};
        auto window = OpenOn(record, env.dialogs);
        QTRY_VERIFY_WITH_TIMEOUT(window->Entry(0)->Layer->isVisible() && !window->Entry(1)->Layer->isVisible(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!window->Entry(0)->Layer->isVisible() && window->Entry(1)->Layer->isVisible(), 8000);

        // At the end the player rewinds and pauses; play starts over with the items.
        QTRY_VERIFY_WITH_TIMEOUT(window->btnPlay->isEnabled(), 8000);
        QVERIFY(!window->btnPause->isEnabled());
        QVERIFY(!window->trcPreview->isEnabled());
        window->playClick();
        QVERIFY(window->btnPause->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(window->Entry(0)->Layer->isVisible() && !window->Entry(1)->Layer->isVisible(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(window->HasFrameBitmap(), 5000);
    }

    void previewShowsTheCropOutline()
    {
        TestEnvironment env;
        TlvFilesRecord record;
        record.SourceFile = ClipPath("flv1_mp3.flv");
        record.CropTop = 10, record.CropLeft = 20, record.CropBottom = 30, record.CropRight = 40;
        auto window = OpenOn(record, env.dialogs);
        QTRY_VERIFY_WITH_TIMEOUT(window->ImgView->FrameImage().size() == QSize(320, 240), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(window->ImgView->FrameImage().pixelColor(20, 100) == QColor(0, 128, 0), 5000);
        const QImage frame = window->ImgView->FrameImage();
        for (QPoint onPen : {QPoint(20, 10), QPoint(150, 9), QPoint(280, 120), QPoint(150, 210)})
            QCOMPARE(frame.pixelColor(onPen), QColor(0, 128, 0));
        // The held frame is the picture as decoded, without the outline.
        QVERIFY(ColorFromBgrValue(window->FrameBitmapCopy().Pixel(20, 100)) != QColor(0, 128, 0));
    }

    void opensFromTheMainWindow()
    {
        TestEnvironment env;
        TfrmMain main;
        main.show();
        auto* attachment = new MainWindowWaterMark(main, env.dialogs);
        QSignalSpy added(&main, &TfrmMain::filesAdded);
        env.dialogs.ScriptFiles({ClipPath("flv1_mp3.flv"), ClipPath("h264_aac.flv")});
        main.btnAddClick();
        QVERIFY(added.wait(20000));
        main.Files().SelectRow(1);
        main.PopupFileMenu(QPoint(0, 0)); // opening the menu enables its entries
        if (auto* menu = main.popFiles; menu->isVisible()) menu->hide();
        QVERIFY(main.popVideoEffect->isEnabled());
        main.popVideoEffect->trigger();
        TfrmWaterMark* first = attachment->Window();
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QVERIFY(first->isModal());
        QTRY_COMPARE_WITH_TIMEOUT(first->trcTextHoriz->maximum(), 640, 10000);
        AddTextItem(*first, "On row 1", 1, 2, 3);
        first->btnOkClick();
        QCOMPARE(main.Files().Record(1)->WaterMarks.size(), size_t(1));
        QVERIFY(main.Files().Record(0)->WaterMarks.empty());

        // A new window each time; the old one is gone.
        QPointer<TfrmWaterMark> old(first);
        main.actVideoEffect->setEnabled(true);
        main.actVideoEffect->trigger();
        QVERIFY(old.isNull());
        QVERIFY(attachment->Window());
        attachment->Window()->btnCancelClick();
    }

private:
    static void ASSERT_ITEMS(const TlvFilesRecord& record, const std::vector<Placed>& expected)
    {
        QCOMPARE(record.WaterMarks.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const TWmRec& item = record.WaterMarks[i];
            QCOMPARE(item.Text, expected[i].text);
            QCOMPARE(item.TextLeft, qRound(expected[i].location.left()));
            QCOMPARE(item.TextTop, qRound(expected[i].location.top()));
            QCOMPARE(item.TextWidth, qRound(expected[i].location.width()));
            QCOMPARE(item.TextHeight, qRound(expected[i].location.height()));
            QCOMPARE(item.TextAlpha, expected[i].alpha);
        }
    }
};

QTEST_MAIN(WaterMarkWindowTest)
#include "WaterMarkWindowTest.moc"
