// Checks a photograph of the screen against expectations a demonstration
// wrote while it ran. One expectation a line, screen coordinates, colours as
// six hex digits (RRGGBB):
//   pixel NAME X Y COLOUR           the pixel is that colour
//   notpixel NAME X Y COLOUR        the pixel is any other colour
//   ink NAME L T W H MIN COLOUR...  at least MIN pixels of the rectangle are
//                                   none of the listed colours (text drawn
//                                   on a known background)
//   differ NAME X1 Y1 X2 Y2         the two pixels differ
// Prints one line per failed expectation and exits 1 when any failed, 2
// when the files cannot be read.
// Usage: skin_shot_check SHOT.png EXPECTATIONS
#include <QImage>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string Hex(QRgb C) {
    char Text[8];
    std::snprintf(Text, sizeof(Text), "%06X", unsigned(C & 0xFFFFFF));
    return Text;
}

unsigned Colour(const std::string& Text) {
    return unsigned(std::stoul(Text, nullptr, 16)) & 0xFFFFFF;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: skin_shot_check SHOT.png EXPECTATIONS\n");
        return 2;
    }
    QImage Shot(QString::fromLocal8Bit(argv[1]));
    std::ifstream In(argv[2]);
    if (Shot.isNull() || !In) {
        std::fprintf(stderr, "skin_shot_check: cannot read %s or %s\n", argv[1], argv[2]);
        return 2;
    }
    Shot = Shot.convertToFormat(QImage::Format_RGB32);
    auto At = [&](int X, int Y) -> unsigned {
        if (X < 0 || Y < 0 || X >= Shot.width() || Y >= Shot.height())
            return 0x1000000; // off the screen: matches no colour
        return Shot.pixel(X, Y) & 0xFFFFFF;
    };
    int Failed = 0, Checked = 0;
    std::string Line;
    while (std::getline(In, Line)) {
        std::istringstream L(Line);
        std::string Kind, Name;
        if (!(L >> Kind >> Name))
            continue;
        ++Checked;
        bool Ok = true;
        std::string Detail;
        if (Kind == "pixel" || Kind == "notpixel") {
            int X, Y;
            std::string Want;
            L >> X >> Y >> Want;
            const unsigned Got = At(X, Y);
            Ok = (Got == Colour(Want)) == (Kind == "pixel");
            Detail = "(" + std::to_string(X) + ", " + std::to_string(Y) + ") is " + Hex(Got) +
                     (Kind == "pixel" ? ", expected " : ", expected anything but ") + Want;
        } else if (Kind == "ink") {
            int X, Y, W, H, Min;
            L >> X >> Y >> W >> H >> Min;
            std::set<unsigned> Background;
            for (std::string C; L >> C;)
                Background.insert(Colour(C));
            int Ink = 0;
            for (int J = Y; J < Y + H; ++J)
                for (int I = X; I < X + W; ++I)
                    Ink += Background.count(At(I, J)) == 0;
            Ok = Ink >= Min;
            Detail = std::to_string(Ink) + " ink pixels, expected at least " + std::to_string(Min);
        } else if (Kind == "differ") {
            int X1, Y1, X2, Y2;
            L >> X1 >> Y1 >> X2 >> Y2;
            Ok = At(X1, Y1) != At(X2, Y2);
            Detail = "both " + Hex(At(X1, Y1));
        } else {
            Ok = false;
            Detail = "unknown expectation " + Kind;
        }
        if (!Ok) {
            ++Failed;
            std::printf("FAIL: %s: %s\n", Name.c_str(), Detail.c_str());
        }
    }
    if (Checked == 0) {
        std::printf("FAIL: no expectations in %s\n", argv[2]);
        return 1;
    }
    return Failed ? 1 : 0;
}
