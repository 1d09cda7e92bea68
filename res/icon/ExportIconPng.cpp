// Writes one image of an icon file as a PNG that keeps its transparency, so
// the desktop's icon theme shows the same artwork as the program's window:
//
//   velkast-icon-png ICON.ico SIZE OUT.png
//
// Of the images that are SIZE pixels square it takes the deepest one.

#include "res/icon/IconFile.h"

#include <QImage>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

int Fail(const std::string& message)
{
    std::cerr << "velkast-icon-png: " << message << '\n';
    return EXIT_FAILURE;
}

const velkast::icon::IconImage* DeepestOfSize(const std::vector<velkast::icon::IconImage>& images, int size)
{
    const velkast::icon::IconImage* best = nullptr;
    for (const auto& image : images) {
        if (image.width == size && image.height == size && (!best || image.bitCount > best->bitCount))
            best = &image;
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return Fail("usage: velkast-icon-png ICON.ico SIZE OUT.png");

    std::ifstream in(argv[1], std::ios::binary);
    if (!in)
        return Fail(std::string("cannot open ") + argv[1]);
    const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

    std::string error;
    const auto images = velkast::icon::ParseIconFile(data, &error);
    if (!images)
        return Fail(std::string(argv[1]) + ": " + error);

    const int size = std::atoi(argv[2]);
    const auto* image = DeepestOfSize(*images, size);
    if (!image)
        return Fail(std::string(argv[1]) + " has no " + argv[2] + "-pixel image");

    QImage png(image->width, image->height, QImage::Format_ARGB32);
    for (int y = 0; y < image->height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(png.scanLine(y));
        for (int x = 0; x < image->width; ++x)
            line[x] = image->pixels[static_cast<std::size_t>(y * image->width + x)];
    }
    if (!png.save(QString::fromLocal8Bit(argv[3]), "PNG"))
        return Fail(std::string("cannot write ") + argv[3]);
    return EXIT_SUCCESS;
}
