#include "app/MainWindowLink.h"

namespace {

TMainWindowLink* GLink = nullptr;

} // namespace

TMainWindowLink* MainWindowLink() {
    return GLink;
}

void SetMainWindowLink(TMainWindowLink* Link) {
    GLink = Link;
}
