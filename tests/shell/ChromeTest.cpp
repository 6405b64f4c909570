// The main window's frame in each theme: pictures, menu bar and the skin
// change's hiding and showing.
#include "platform/ThemeIcons.h"
#include "platform/Themes.h"
#include "shell/Settings.h"
#include "shell/TfrmMain.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QMenuBar>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

QImage IconImage(const QIcon& icon) { return icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32); }

// Counts the window's show and hide events.
class ShowCounter : public QObject {
public:
    int shows = 0;
    int hides = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show) ++shows;
        if (event->type() == QEvent::Hide) ++hides;
        return false;
    }
};

} // namespace

class ChromeTest : public QObject {
    Q_OBJECT

private slots:
    void everyGlyphDiffersBetweenThemes()
    {
        const ChromeGlyph glyphs[] = {ChromeGlyph::Add,   ChromeGlyph::Remove, ChromeGlyph::Clear,
                                      ChromeGlyph::Edit,  ChromeGlyph::Settings, ChromeGlyph::Start,
                                      ChromeGlyph::Exit,  ChromeGlyph::Play,   ChromeGlyph::Pause,
                                      ChromeGlyph::Stop,  ChromeGlyph::Snapshot};
        for (ChromeGlyph glyph : glyphs) {
            const QImage first = IconImage(ThemeIcon(glyph, ThemeAt(0)));
            int drawn = 0;
            for (int y = 0; y < first.height(); ++y)
                for (int x = 0; x < first.width(); ++x) drawn += qAlpha(first.pixel(x, y)) > 0;
            QVERIFY2(drawn > 40, qPrintable(QString::number(int(glyph))));
            for (int theme = 1; theme < kThemeCount; ++theme)
                QVERIFY2(IconImage(ThemeIcon(glyph, ThemeAt(theme))) != first,
                         qPrintable(QString("%1 in %2").arg(int(glyph)).arg(theme)));
        }
    }

    void picturesAndMenuBarFollowTheSkin()
    {
        TestEnvironment env;
        TfrmMain window;
        window.show();
        for (int theme : {1, 4, 6, 0}) {
            window.actSkins[size_t(theme)]->trigger();
            QCOMPARE(IconImage(window.btnAdd->icon()), IconImage(ThemeIcon(ChromeGlyph::Add, ThemeAt(theme))));
            QCOMPARE(IconImage(window.imgbtnSnap->icon()),
                     IconImage(ThemeIcon(ChromeGlyph::Snapshot, ThemeAt(theme))));
            // The menu titles are white on the theme's band.
            const QImage bar = window.grab(window.menuBar()->geometry()).toImage();
            int white = 0;
            for (int x = 0; x < 160; ++x)
                for (int y = 0; y < bar.height(); ++y) white += bar.pixelColor(x, y).lightness() > 245;
            QVERIFY2(white > 20, qPrintable(QString::number(theme)));
            const QColor band = bar.pixelColor(bar.width() - 5, bar.height() / 2);
            QVERIFY2(std::abs(band.hue() - ThemeAt(theme).accent.hue()) <= 3 || ThemeAt(theme).accent.hue() < 0,
                     qPrintable(band.name()));
        }
    }

    void choosingASkinHidesAndShowsOnce()
    {
        TestEnvironment env;
        TfrmMain window;
        window.show();
        ShowCounter counter;
        window.installEventFilter(&counter);
        window.actSkins[1]->trigger();
        QCOMPARE(counter.hides, 1);
        QCOMPARE(counter.shows, 1);
        QCOMPARE(ConverterSettings(env.converterIni()).SkinIndex(), 1);
        // The entry already chosen: nothing hides, nothing is written.
        QFile::remove(env.converterIni());
        window.actSkins[1]->trigger();
        QCOMPARE(counter.hides, 1);
        QCOMPARE(counter.shows, 1);
        QVERIFY(!QFile::exists(env.converterIni()));
        QVERIFY(window.actSkins[1]->isChecked());
        SetCurrentThemeIndex(0);
    }
};

QTEST_MAIN(ChromeTest)
#include "ChromeTest.moc"
