#include "app/pages/FilterTime.h"

#include <cmath>

namespace vadero {

int FilterSeconds(int position) {
    return static_cast<int>(std::nearbyint(static_cast<float>(position) * 3.75F));
}

QString FilterText(int position) {
    const int seconds = FilterSeconds(position);
    return seconds == 0 ? QStringLiteral("Off") : QStringLiteral("%1 s").arg(seconds);
}

}  // namespace vadero
