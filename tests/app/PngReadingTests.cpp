#include "PngBytes.h"
#include "formats/PngCodec.h"

#include <QByteArray>
#include <QImage>
#include <cstring>
#include <gtest/gtest.h>

namespace glyfora::app::testing {
namespace {

// Qt's PNG reader, which the editor's picture import and other tools' use, sees the pixels we
// stored, whether the picture was written as grey + alpha or as RGBA.
TEST(PngReading, QtReadsWrittenPicturesAsTheSameRgba) {
    document::Image grey = *document::MakeImage(61, 7, 0x00FFFFFF);
    document::Image colour = *document::MakeImage(5, 3, 0x80102030);
    for (std::int64_t i = 0; i < 61 * 7; ++i) {
        const auto level = static_cast<std::uint32_t>(i * 37 % 256);
        grey.Pixels[static_cast<std::size_t>(i)] = (level << 24) | (i % 3 ? 0xFFFFFFU : 0x7F7F7FU);
    }
    colour.At(4, 2) = 0x00FF0000; // colour under zero alpha must survive too
    for (const document::Image* picture : {&grey, &colour}) {
        const auto png = testsupport::PngBytes(*picture);
        ASSERT_TRUE(png);
        const QImage read = QImage::fromData(QByteArray(reinterpret_cast<const char*>(png->data()),
                                                        static_cast<qsizetype>(png->size())),
                                             "PNG")
                                .convertToFormat(QImage::Format_RGBA8888);
        ASSERT_EQ(read.width(), picture->Width);
        ASSERT_EQ(read.height(), picture->Height);
        for (int y = 0; y < read.height(); ++y) {
            const std::uint32_t* row = picture->Pixels.data() + y * picture->Width;
            EXPECT_EQ(std::memcmp(read.constScanLine(y), row, picture->Width * 4U), 0)
                << "row " << y;
        }
    }
}

} // namespace
} // namespace glyfora::app::testing
