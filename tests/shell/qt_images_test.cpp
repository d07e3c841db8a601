#include "shell/qt_images.h"

#include <QImage>
#include <gtest/gtest.h>

namespace shell {
namespace {

TEST(ToolbarImages, FourteenDistinctPicturesKeyedInIndexOrderAndTheSplashPicture)
{
    QStringList keys;
    QImage blank(16, 16, QImage::Format_ARGB32_Premultiplied);
    blank.fill(Qt::transparent);
    QList<QImage> pictures = {blank};
    for (const auto& [key, icon] : ToolbarImages()) {
        keys += key;
        const QImage picture = icon.pixmap(16, 16).toImage();
        EXPECT_FALSE(pictures.contains(picture)) << key.toStdString() << " is blank or a copy";
        pictures += picture;
    }
    EXPECT_EQ(keys, QStringList({"New", "Open", "Save", "Camera", "Print", "Cut", "Copy", "Paste", "Bold", "Italic",
                                 "Underline", "Align Left", "Center", "Align Right"}));
    EXPECT_EQ(std::pair(ToolbarImage("Camera").isNull(), ToolbarImage("Launch").isNull()), std::pair(false, true));
    const QImage splash = SplashPicture().toImage();
    EXPECT_EQ(std::tuple(splash.size(), splash.hasAlphaChannel(), SplashPicture().toImage() == splash),
              std::tuple(QSize(800, 600), false, true));
}

}  // namespace
}  // namespace shell
