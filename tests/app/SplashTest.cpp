#include "ProgramFixture.h"

#include "app/ui/SplashU.h"

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <gtest/gtest.h>

namespace {

// The colour of one pixel of the splash picture as ImageMagick decodes it.
QColor pictureColourByImageMagick(int x, int y) {
    QByteArray out;
    const int rc = runProgram(imageMagickConvert(),
                              {QStringLiteral(VORLEX_SOURCE_DIR "/app/ui/resources/splash-car.jpg"), "-crop",
                               QString("1x1+%1+%2").arg(x).arg(y), "-depth", "8", "rgb:-"},
                              &out);
    if (rc != 0 || out.size() != 3) return {};
    return QColor(quint8(out[0]), quint8(out[1]), quint8(out[2]));
}

bool near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

TEST(Splash, HasNoBorderAndHoldsThePictureTheNamesAndTheBevel) {
    TSplash splash;
    EXPECT_EQ(splash.size(), QSize(632, 453));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.Panel1->geometry(), QRect(0, 0, 632, 453));
    EXPECT_EQ(splash.Image1->geometry(), QRect(2, 2, 628, 449));
    ASSERT_FALSE(splash.Image1->pixmap().isNull()) << "the picture comes from the program's resources";
    EXPECT_EQ(splash.Image1->pixmap().size(), QSize(628, 449));
    EXPECT_EQ(splash.Label1->text(), "บริษัท Qorvane จำกัด");
    EXPECT_EQ(splash.Label1->geometry(), QRect(164, 373, 304, 41));
    EXPECT_EQ(splash.Label1->font().pixelSize(), 24);
    EXPECT_EQ(splash.Label1->depth(), 12);
    EXPECT_EQ(splash.Label1->colour(), QColor(Qt::red));
    EXPECT_EQ(splash.Label2->text(), "VORLEX");
    EXPECT_EQ(splash.Label2->geometry(), QRect(273, 413, 86, 30));
    EXPECT_EQ(splash.Label2->font().pixelSize(), 16);
    EXPECT_TRUE(splash.Label2->font().bold());
    EXPECT_TRUE(splash.Label2->font().italic());
    EXPECT_EQ(splash.Label2->colour(), QColor(Qt::red));
    EXPECT_EQ(splash.Bevel1->geometry(), QRect(238, 445, 156, 2));
}

TEST(Splash, PaintsThePictureStretchedAndTheRedNamesOverIt) {
    TSplash splash;
    const QImage painted = splash.grab().toImage();
    ASSERT_EQ(painted.size(), QSize(632, 453));
    for (const QPoint at : {QPoint(100, 60), QPoint(300, 200), QPoint(450, 300), QPoint(40, 420)}) {
        const QColor expected = pictureColourByImageMagick(at.x(), at.y());
        ASSERT_TRUE(expected.isValid());
        EXPECT_TRUE(near(painted.pixelColor(at + QPoint(2, 2)), expected, 6))
            << at.x() << "," << at.y() << " " << painted.pixelColor(at + QPoint(2, 2)).name().toStdString()
            << " vs " << expected.name().toStdString();
    }
    const auto redPixels = [&](const QRect& area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (near(painted.pixelColor(x, y), Qt::red, 30)) ++count;
        return count;
    };
    EXPECT_GT(redPixels(QRect(164, 373, 304, 41)), 200) << "the company's name";
    EXPECT_GT(redPixels(QRect(273, 413, 86, 30)), 50) << "the product's name";
    EXPECT_EQ(redPixels(QRect(0, 0, 632, 370)), 0) << "the picture has no bright red of its own";
}

TEST_F(ProgramTest, TheSplashIsShownAndPaintedAndGoneBeforeTheMainWindow) {
    setSetting(settings::GarageNameValue, "Garage");
    struct SplashWatch : QObject {
        QPointer<QWidget> splash;
        int shown = 0, painted = 0;
        bool eventFilter(QObject* watched, QEvent* event) override {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (!widget || !qobject_cast<TSplash*>(widget->window())) return false;
            splash = widget->window();
            if (event->type() == QEvent::Show && widget->isWindow()) ++shown;
            if (event->type() == QEvent::Paint && widget == splash->findChild<QLabel*>("Image1")) ++painted;
            return false;
        }
    } watch;
    qApp->installEventFilter(&watch);
    Program program(noSplashWait());
    ASSERT_TRUE(program.start());
    qApp->removeEventFilter(&watch);
    EXPECT_EQ(watch.shown, 1);
    EXPECT_GE(watch.painted, 1);
    EXPECT_TRUE(watch.splash.isNull()) << "destroyed once its time is up";
}
