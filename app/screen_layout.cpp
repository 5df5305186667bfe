#include "app/screen_layout.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace tavrin::layout {
namespace {

constexpr double kDesignDpi = 120.0;
// Gap between a moved caption and its field, in design pixels.
constexpr int kCaptionGap = 8;

QFont scaledFont(QFont font, int designHeight, bool bold) {
    font.setPixelSize(std::max(1, px(designHeight)));
    font.setBold(bold);
    font.setStretch(QFont::SemiCondensed);
    return font;
}

} // namespace

double factor() {
    static const double value = [] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double dpi = screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
        return dpi > 0.0 ? dpi / kDesignDpi : 0.8;
    }();
    return value;
}

int px(int designPixels) {
    return static_cast<int>(std::lround(designPixels * factor()));
}

QRect rect(int x, int y, int width, int height) {
    const int left = px(x);
    const int top = px(y);
    return {left, top, px(x + width) - left, px(y + height) - top};
}

void place(QWidget* widget, int x, int y, int width, int height) {
    widget->setGeometry(rect(x, y, width, height));
}

QFont sansFont(int designHeight, bool bold) {
    return scaledFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont), designHeight, bold);
}

QFont serifFont(int designHeight, bool bold) {
    QFont font(QStringLiteral("Serif"));
    font.setStyleHint(QFont::Serif);
    return scaledFont(font, designHeight, bold);
}

void placeCaption(QLabel* caption, int x, int y, const QWidget* field) {
    caption->adjustSize();
    int left = px(x);
    int top = px(y);
    int height = caption->height();
    if (field != nullptr) {
        const int limit = field->x() - px(kCaptionGap);
        if (left + caption->width() > limit) {
            left = std::max(0, limit - caption->width());
        }
        top = field->y();
        height = field->height();
    }
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    caption->setGeometry(left, top, caption->width(), height);
}

} // namespace tavrin::layout
