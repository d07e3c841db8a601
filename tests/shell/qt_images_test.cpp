#include "shell/qt_images.h"

#include <QImage>
#include <gtest/gtest.h>

namespace shell {
namespace {

TEST(ToolbarImages, FourteenDistinctPicturesKeyedInIndexOrder)
{
    const QStringList keys = {"New", "Open", "Save", "Camera", "Print", "Cut", "Copy", "Paste",
                              "Bold", "Italic", "Underline", "Align Left", "Center", "Align Right"};
    const auto& images = ToolbarImages();
    ASSERT_EQ(images.size(), size_t(keys.size()));
    QImage blank(16, 16, QImage::Format_ARGB32_Premultiplied);
    blank.fill(Qt::transparent);
    QList<QImage> pictures = {blank};
    for (qsizetype i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(images[i].first, keys[i]);
        const QImage picture = images[i].second.pixmap(16, 16).toImage();
        EXPECT_EQ(picture.size(), QSize(16, 16)) << keys[i].toStdString();
        EXPECT_FALSE(pictures.contains(picture)) << keys[i].toStdString() << " is blank or a copy";
        pictures.append(picture);
    }
    EXPECT_FALSE(ToolbarImage("Camera").isNull());
    EXPECT_TRUE(ToolbarImage("Launch").isNull());
}

TEST(SplashPicture, IsTheSameOpaque800By600PictureEveryTime)
{
    const QImage splash = SplashPicture().toImage();
    EXPECT_EQ(splash.size(), QSize(800, 600));
    EXPECT_FALSE(splash.hasAlphaChannel());
    EXPECT_EQ(SplashPicture().toImage(), splash);
}

}  // namespace
}  // namespace shell
