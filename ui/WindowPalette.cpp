#include "ui/WindowPalette.h"

#include <memory>
#include <QStyle>
#include <QStyleFactory>

namespace orb {

QPalette windowPalette() {
    // Qt's own light palette, the same on every desktop; the Fusion style is always built in.
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
    return fusion->standardPalette();
}

} // namespace orb
