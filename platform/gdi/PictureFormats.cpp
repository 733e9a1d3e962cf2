// Which graphic class reads a file, by its extension.
#include "platform/core/Format.h"
#include "platform/core/Strings.h"
#include "platform/gdi/GifImage.h"
#include "platform/gdi/Graphics.h"
#include "platform/gdi/Icons.h"
#include "platform/gdi/JpegImage.h"
#include "platform/gdi/PngImage.h"

std::unique_ptr<TGraphic> CreateGraphicForExtension(const std::string& Extension) {
    const std::string Ext = LowerCase(Extension);
    const std::string Bare =
        Extension.empty() || Extension[0] != '.' ? Extension : Extension.substr(1);
    if (Ext == ".bmp")
        return std::make_unique<TBitmap>();
    if (Ext == ".jpg" || Ext == ".jpeg" || Ext == ".jpe")
        return std::make_unique<TJPEGImage>();
    if (Ext == ".ico")
        return std::make_unique<TIcon>();
    if (Ext == ".png")
        return std::make_unique<TPngImage>();
    if (Ext == ".gif")
        return std::make_unique<TGIFImage>();
    if (Ext == ".emf" || Ext == ".wmf")
        throw EInvalidGraphic(Format("Metafile pictures are not supported (.%s)", {Bare}));
    throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", {Bare}));
}
