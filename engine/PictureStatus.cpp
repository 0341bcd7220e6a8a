#include "PictureStatus.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Deformation.h"

namespace vexlo {

QString FormatGeneral4(long double value, const QLocale& locale) {
    if (std::isnan(value)) {
        return QStringLiteral("NAN");
    }
    if (std::isinf(value)) {
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    }
    if (value == 0) {
        return QStringLiteral("0");
    }
    // Rounded to four significant digits: "d.ddde[+-]xx".
    char text[64];
    std::snprintf(text, sizeof text, "%.3Le", std::fabs(value));
    std::string digits{text[0], text[2], text[3], text[4]};
    const int exponent = std::atoi(text + 6);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    const QString point = locale.decimalPoint();
    QString result = value < 0 ? QStringLiteral("-") : QString();
    // Digits before the point: exponent + 1.
    if (exponent + 1 > 4 || exponent + 1 < -4) {
        result += QLatin1Char(digits[0]);
        if (digits.size() > 1) {
            result += point + QString::fromLatin1(digits.substr(1));
        }
        return result + QLatin1Char('E') + QString::number(exponent);
    }
    if (exponent < 0) {
        return result + QLatin1Char('0') + point + QString(-exponent - 1, QLatin1Char('0')) +
               QString::fromLatin1(digits);
    }
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) {
        return result + QString::fromLatin1(digits) +
               QString(static_cast<int>(whole - digits.size()), QLatin1Char('0'));
    }
    return result + QString::fromLatin1(digits.substr(0, whole)) + point +
           QString::fromLatin1(digits.substr(whole));
}

QString FormatGroupedInteger(std::uint64_t value, const QLocale& locale) {
    const QString digits = QString::number(value);
    const QString separator = locale.groupSeparator();
    QString result;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            result += separator;
        }
        result += digits[i];
    }
    return result;
}

QString PictureStatusLine(int width, int height, std::uint64_t bytes, int desktopWidth,
                          int desktopHeight, const QLocale& locale) {
    return QString::number(width) + QLatin1Char('x') + QString::number(height) +
           QStringLiteral(" | ") + FormatGroupedInteger(bytes, locale) +
           QStringLiteral("bytes | ") +
           FormatGeneral4(DeformationPercent(width, height, desktopWidth, desktopHeight), locale) +
           QStringLiteral("% deformation");
}

}  // namespace vexlo
