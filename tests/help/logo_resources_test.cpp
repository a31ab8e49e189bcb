// The logo resources the main window and the help window load by name.
#include <QIcon>
#include <QImageReader>
#include <gtest/gtest.h>

TEST(LogoResources, IconOffersEverySizeTheWindowAsksFor)
{
    QImageReader reader(QStringLiteral(":/MIRVO_LOGO"));
    ASSERT_TRUE(reader.canRead()) << "icon resource missing or unreadable";
    const QIcon icon(QStringLiteral(":/MIRVO_LOGO"));
    const QList<QSize> sizes = icon.availableSizes();
    for (int s : {16, 24, 32, 48, 64, 128})
        EXPECT_TRUE(sizes.contains(QSize(s, s))) << s;
    const QImage at48 = icon.pixmap(48, 48).toImage();
    EXPECT_EQ(at48.size(), QSize(48, 48));
    EXPECT_EQ(qAlpha(at48.pixel(0, 0)), 0) << "rounded corners are transparent";
    EXPECT_EQ(at48.pixelColor(24, 4), QColor(0, 120, 215)) << "accent-blue tile";
}

TEST(LogoResources, PictureIsAPng)
{
    QImageReader reader(QStringLiteral(":/MIRVO_LOGO_PNG"));
    EXPECT_EQ(reader.format(), QByteArray("png"));
    const QImage img = reader.read();
    ASSERT_FALSE(img.isNull());
    EXPECT_GE(img.width(), 100) << "sharp when scaled into the 100 x 100 header box";
    EXPECT_EQ(img.width(), img.height());
}
