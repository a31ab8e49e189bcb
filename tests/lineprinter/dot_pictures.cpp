#include "dot_pictures.h"

#include <sstream>
#include <stdexcept>

std::vector<std::string> DotRows(const std::vector<uint8_t>& Dots, int Width)
{
    if (Width <= 0 || Dots.size() % static_cast<size_t>(Width) != 0)
        throw std::invalid_argument("dot array does not split into rows");
    std::vector<std::string> rows;
    for (size_t start = 0; start < Dots.size(); start += static_cast<size_t>(Width)) {
        std::string row;
        for (int x = 0; x < Width; ++x)
            row += Dots[start + static_cast<size_t>(x)] ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> ImageRows(const TNbMonoImage& Image, int X, int Y, int W, int H)
{
    std::vector<std::string> rows;
    for (int y = Y; y < Y + H; ++y) {
        std::string row;
        for (int x = X; x < X + W; ++x)
            row += Image.GetDot(x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> ScaledPattern(const std::string& Pattern, int Width, int Left, int ScaleX, int ScaleY)
{
    std::istringstream in(Pattern);
    std::vector<std::string> design;
    for (std::string row; in >> row;)
        design.push_back(row);
    if (design.size() != 5)
        throw std::invalid_argument("pattern needs five rows: " + Pattern);

    std::vector<std::string> rows(static_cast<size_t>(6 * ScaleY), std::string(static_cast<size_t>(Width), '.'));
    for (int r = 0; r < 5; ++r)
        for (int j = 0; j < 3; ++j)
            if (design[static_cast<size_t>(r)].at(static_cast<size_t>(j)) == '#')
                for (int y = r * ScaleY; y < (r + 1) * ScaleY; ++y)
                    for (int x = Left + j * ScaleX; x < Left + (j + 1) * ScaleX; ++x)
                        if (x >= 0 && x < Width)
                            rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = '#';
    return rows;
}

int InkCount(const TNbMonoImage& Image)
{
    int n = 0;
    for (uint8_t d : Image.Dots)
        n += d != 0;
    return n;
}
