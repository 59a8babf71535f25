#pragma once
// The window boundary: core text is cp1252, Qt text is UTF-16.
#include <QColor>
#include <QString>
#include <string>

#include "platform/CodePage.h"
#include "platform/Colour.h"

inline QString toQ(const std::string& cp1252) {
    const std::u16string u = plat::cp1252ToUtf16(cp1252);
    return QString::fromUtf16(u.data(), qsizetype(u.size()));
}

inline std::string fromQ(const QString& s) {
    return plat::utf16ToCp1252(std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), size_t(s.size())));
}

inline QColor toQColor(plat::ColorRef c) { return QColor(plat::redOf(c), plat::greenOf(c), plat::blueOf(c)); }
inline plat::ColorRef fromQColor(const QColor& c) { return plat::rgb(c.red(), c.green(), c.blue()); }
