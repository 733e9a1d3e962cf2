#include "platform/gdi/FontEngine.h"

#include "platform/core/Exceptions.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <mutex>
#include <tuple>

namespace {

// Qt's font objects are not safe to use from several threads at once, and
// glyph rendering is cheap next to the cost of contention, so one lock
// serialises every call into Qt.
std::recursive_mutex& EngineLock() {
    static std::recursive_mutex Lock;
    return Lock;
}

constexpr const char* FallbackFamily = "WenQuanYi Micro Hei";

QString CharString(char32_t C) {
    return QString::fromUcs4(&C, 1);
}

QFont MakeQFont(const std::string& Family, int PixelSize, const LOGFONT& Log) {
    QFont F;
    F.setFamilies({QString::fromStdString(Family), QString::fromLatin1(FallbackFamily)});
    F.setPixelSize(std::max(1, PixelSize));
    F.setBold(Log.lfWeight >= 600);
    F.setItalic(Log.lfItalic != 0);
    F.setKerning(false);
    F.setHintingPreference(QFont::PreferFullHinting);
    F.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    return F;
}

int CellHeight(const std::string& Family, int PixelSize, const LOGFONT& Log) {
    const QFontMetrics M(MakeQFont(Family, PixelSize, Log));
    return M.ascent() + M.descent();
}

// The height asked for, 0 meaning the default, within the drawable range.
int EngineHeight(LONG Requested) {
    if (Requested == 0)
        return -11;
    return int(std::clamp<LONG>(Requested, -MaxFontHeight, MaxFontHeight));
}

// The em size whose cell comes closest to Height, the larger on a tie. Cells
// grow with the em size, so the answer is the first size whose cell is too
// tall or the one before it; the first lies in 1 .. 2 * Height.
int EmSizeForCell(const std::string& Family, int Height, const LOGFONT& Log) {
    int Low = 1, High = 2 * Height;
    while (Low < High) {
        const int Mid = Low + (High - Low) / 2;
        if (CellHeight(Family, Mid, Log) > Height)
            High = Mid;
        else
            Low = Mid + 1;
    }
    if (Low == 1)
        return 1;
    const int Above = std::abs(CellHeight(Family, Low, Log) - Height);
    const int Below = std::abs(CellHeight(Family, Low - 1, Log) - Height);
    return Above <= Below ? Low : Low - 1;
}

} // namespace

struct TEngineFont::TImpl {
    QFont Font;
};

void RequireFontEngine() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw EInvalidOperation("Text cannot be measured or drawn before the Qt application "
                                "object has been created");
}

std::string ResolveFaceName(std::string_view Face) {
    static const std::pair<std::string_view, std::string_view> Map[] = {
        {"", "Liberation Sans"},
        {"Arial", "Liberation Sans"},
        {"Helvetica", "Liberation Sans"},
        {"MS Sans Serif", "Liberation Sans"},
        {"Microsoft Sans Serif", "Liberation Sans"},
        {"Tahoma", "Liberation Sans"},
        {"Verdana", "Liberation Sans"},
        {"Segoe UI", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"宋体", FallbackFamily},
        {"SimSun", FallbackFamily},
        {"新宋体", FallbackFamily},
        {"黑体", FallbackFamily},
        {"微软雅黑", FallbackFamily},
        {"Microsoft YaHei", FallbackFamily},
    };
    for (const auto& [From, To] : Map)
        if (Face == From)
            return std::string(To);
    RequireFontEngine();
    std::lock_guard Guard(EngineLock());
    const QString Name = QString::fromUtf8(Face.data(), qsizetype(Face.size()));
    if (QFontDatabase::families().contains(Name, Qt::CaseInsensitive))
        return std::string(Face);
    return "Liberation Sans";
}

std::shared_ptr<TEngineFont> TEngineFont::Create(const LOGFONT& Log) {
    RequireFontEngine();
    const std::string Family = ResolveFaceName(Log.lfFaceName);
    std::lock_guard Guard(EngineLock());
    // Fonts are made and deleted often (a handle per canvas font change);
    // their metrics and glyphs are kept per face, height and style.
    static std::map<std::tuple<std::string, int, bool, bool>, std::shared_ptr<TEngineFont>> Cache;
    const auto Key =
        std::make_tuple(Family, EngineHeight(Log.lfHeight), Log.lfWeight >= 600, Log.lfItalic != 0);
    if (auto It = Cache.find(Key); It != Cache.end())
        return It->second;
    std::shared_ptr<TEngineFont> Made = Build(Family, Log);
    Cache.emplace(Key, Made);
    return Made;
}

std::shared_ptr<TEngineFont> TEngineFont::Build(const std::string& Family, const LOGFONT& Log) {
    const int Height = EngineHeight(Log.lfHeight);
    const int Em = Height > 0 ? EmSizeForCell(Family, Height, Log) : -Height;
    std::shared_ptr<TEngineFont> Result(new TEngineFont);
    Result->FImpl = std::make_unique<TImpl>();
    Result->FImpl->Font = MakeQFont(Family, Em, Log);
    Result->FFamily = Family;
    const QFontMetrics M(Result->FImpl->Font);
    TFontMetricsInfo& I = Result->FMetrics;
    I.Ascent = M.ascent();
    I.Descent = M.descent();
    I.Height = I.Ascent + I.Descent;
    I.EmSize = Em;
    I.ExternalLeading = std::max(0, M.leading());
    I.AveCharWidth = M.horizontalAdvance(QStringLiteral("x"));
    I.MaxCharWidth = M.maxWidth();
    I.UnderlinePos = std::max(1, M.underlinePos());
    I.StrikeOutPos = M.strikeOutPos();
    I.LineWidth = std::max(1, M.lineWidth());
    return Result;
}

TEngineFont::~TEngineFont() {
    std::lock_guard Guard(EngineLock());
    FImpl.reset();
}

int TEngineFont::Advance(char32_t C) {
    std::lock_guard Guard(EngineLock());
    auto It = FAdvances.find(C);
    if (It != FAdvances.end())
        return It->second;
    const int A = QFontMetrics(FImpl->Font).horizontalAdvance(CharString(C));
    FAdvances.emplace(C, A);
    return A;
}

const TGlyphMask& TEngineFont::Glyph(char32_t C) {
    std::lock_guard Guard(EngineLock());
    auto It = FGlyphs.find(C);
    if (It != FGlyphs.end())
        return *It->second;
    auto Mask = std::make_unique<TGlyphMask>();
    // Render with a margin of one em around the cell, then keep the inked part.
    const int Pad = FMetrics.EmSize + 2;
    const int Advance = QFontMetrics(FImpl->Font).horizontalAdvance(CharString(C));
    QImage Image(Advance + 2 * Pad, FMetrics.Height + 2 * Pad, QImage::Format_Alpha8);
    Image.fill(0);
    {
        QPainter P(&Image);
        P.setRenderHint(QPainter::TextAntialiasing, true);
        P.setFont(FImpl->Font);
        P.setPen(QColor(255, 255, 255, 255));
        P.drawText(QPoint(Pad, Pad + FMetrics.Ascent), CharString(C));
    }
    int X1 = Image.width(), Y1 = Image.height(), X2 = -1, Y2 = -1;
    for (int Y = 0; Y < Image.height(); ++Y) {
        const uchar* Row = Image.constScanLine(Y);
        for (int X = 0; X < Image.width(); ++X) {
            if (Row[X]) {
                X1 = std::min(X1, X);
                X2 = std::max(X2, X);
                Y1 = std::min(Y1, Y);
                Y2 = std::max(Y2, Y);
            }
        }
    }
    if (X2 >= 0) {
        Mask->Left = X1 - Pad;
        Mask->Top = Y1 - Pad;
        Mask->Width = X2 - X1 + 1;
        Mask->Height = Y2 - Y1 + 1;
        Mask->Coverage.resize(std::size_t(Mask->Width) * std::size_t(Mask->Height));
        for (int Y = 0; Y < Mask->Height; ++Y)
            std::copy_n(Image.constScanLine(Y1 + Y) + X1, Mask->Width,
                        Mask->Coverage.begin() + std::ptrdiff_t(Y) * Mask->Width);
    }
    const TGlyphMask& Ref = *Mask;
    FGlyphs.emplace(C, std::move(Mask));
    return Ref;
}
